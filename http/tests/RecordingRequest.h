// A request component for tests: records every call with its arguments, in order, and answers
// with what the test scripted.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "http/RequestComponent.h"

namespace lumatrel {

class RecordingRequest final : public RequestComponent {
 public:
  // Each call as "Name(arg, arg, ...)"; a byte body as "Send(bytes:N)" (the bytes in sentBytes),
  // a string body as "Send(text:...)".
  std::vector<std::string> calls;
  Bytes sentBytes;

  // Scripted answers.
  bool waitResult = true;
  Text responseHeaders;
  Bytes responseBody;
  Text responseText;
  // Runs after each call has been recorded (for example an Abort from "inside" the wait).
  std::function<void(const std::string& call)> onCall;

  bool Open(const Text& method, const Text& url, bool async) override;
  bool SetRequestHeader(const Text& name, const Text& value) override;
  bool SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                   std::int32_t receiveMs) override;
  bool SetProxy(std::int32_t setting, const Text& server, const Text& bypassList) override;
  bool Send(const RequestBody& body) override;
  bool WaitForResponse(std::int32_t seconds) override;
  Text GetAllResponseHeaders() override;
  Bytes ResponseBody() override;
  Text ResponseText() override;
  void Abort() override;

 private:
  void Record(std::string call);
};

}  // namespace lumatrel
