// The Windows HTTP request component (WinHttp.WinHttpRequest.5.1) as WebClient uses it: exactly
// the operations it calls, with texts in GBK. Every failed call is swallowed: it yields false,
// an empty text or empty bytes, never an exception.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <variant>

#include "text/Text.h"

namespace lumatrel {

// The three forms of Send: no body, a string body, a byte body (sent unchanged). Views, so that
// a large body is not copied on its way to the component.
using RequestBody = std::variant<std::monostate, std::string_view, std::span<const std::uint8_t>>;

class RequestComponent {
 public:
  virtual ~RequestComponent() = default;

  virtual bool Open(const Text& method, const Text& url, bool async) = 0;
  virtual bool SetRequestHeader(const Text& name, const Text& value) = 0;
  virtual bool SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                           std::int32_t receiveMs) = 0;
  virtual bool SetProxy(std::int32_t setting, const Text& server, const Text& bypassList) = 0;
  virtual bool Send(const RequestBody& body) = 0;
  // Returns when the reply is complete (true), after the given seconds or on Abort (false).
  // Window events keep flowing meanwhile, and the time is kept by our own clock, not by the
  // component.
  virtual bool WaitForResponse(std::int32_t seconds) = 0;
  // All header lines of the last reply, separated by "\r\n".
  virtual Text GetAllResponseHeaders() = 0;
  virtual Bytes ResponseBody() = 0;
  virtual Text ResponseText() = 0;
  // Cancels a request in progress and ends a pending wait; harmless at any other time.
  virtual void Abort() = 0;
};

// The platform's component: a new WinHttp.WinHttpRequest.5.1 instance on Windows; nothing in
// the native build or when the component cannot be created.
std::unique_ptr<RequestComponent> CreateRequestComponent();

}  // namespace lumatrel
