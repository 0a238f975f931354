// A request component for native tests of the program's own upload code: real HTTP to a
// loopback address (cpp-httplib), in place of WinHttp.
#pragma once

#include <memory>

#include "http/RequestComponent.h"

namespace lumatrel::host::testing {

// Only http://127.0.0.1:PORT/... addresses are reached; anything else fails like no network.
std::unique_ptr<RequestComponent> CreateLoopbackRequest();

// The bytes of a GET of the address, or empty.
Bytes FetchLoopback(const Text& url);

}  // namespace lumatrel::host::testing
