// The native build has no HTTP request component: WebClient.Create leaves request empty and
// every exchange yields an empty reply. Tests put a recording fake in its place.
#include "http/RequestComponent.h"

namespace lumatrel {

std::unique_ptr<RequestComponent> CreateRequestComponent() { return nullptr; }

}  // namespace lumatrel
