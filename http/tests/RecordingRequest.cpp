#include "http/tests/RecordingRequest.h"

#include <utility>

namespace lumatrel {

void RecordingRequest::Record(std::string call) {
  calls.push_back(call);
  if (onCall) onCall(call);
}

bool RecordingRequest::Open(const Text& method, const Text& url, bool async) {
  Record("Open(" + method + ", " + url + ", " + (async ? "true" : "false") + ")");
  return true;
}

bool RecordingRequest::SetRequestHeader(const Text& name, const Text& value) {
  Record("SetRequestHeader(" + name + ", " + value + ")");
  return true;
}

bool RecordingRequest::SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                                   std::int32_t receiveMs) {
  Record("SetTimeouts(" + std::to_string(resolveMs) + ", " + std::to_string(connectMs) + ", " + std::to_string(sendMs) +
         ", " + std::to_string(receiveMs) + ")");
  return true;
}

bool RecordingRequest::SetProxy(std::int32_t setting, const Text& server, const Text& bypassList) {
  Record("SetProxy(" + std::to_string(setting) + ", " + server + ", " + bypassList + ")");
  return true;
}

bool RecordingRequest::Send(const RequestBody& body) {
  if (const auto* text = std::get_if<std::string_view>(&body)) {
    Record("Send(text:" + std::string(*text) + ")");
  } else if (const auto* bytes = std::get_if<std::span<const std::uint8_t>>(&body)) {
    sentBytes.assign(bytes->begin(), bytes->end());
    Record("Send(bytes:" + std::to_string(bytes->size()) + ")");
  } else {
    Record("Send()");
  }
  return true;
}

bool RecordingRequest::WaitForResponse(std::int32_t seconds) {
  Record("WaitForResponse(" + std::to_string(seconds) + ")");
  return waitResult;
}

Text RecordingRequest::GetAllResponseHeaders() {
  Record("GetAllResponseHeaders()");
  return responseHeaders;
}

Bytes RecordingRequest::ResponseBody() {
  Record("ResponseBody()");
  return responseBody;
}

Text RecordingRequest::ResponseText() {
  Record("ResponseText()");
  return responseText;
}

void RecordingRequest::Abort() { Record("Abort()"); }

}  // namespace lumatrel
