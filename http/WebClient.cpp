#include "http/WebClient.h"

#include <utility>

namespace lumatrel {

namespace {
constexpr std::string_view kScheme = "http://";
}

void WebClient::Create() {
  request.reset();
  request = CreateRequestComponent();
}

void WebClient::Abort() {
  if (request) request->Abort();
}

void WebClient::Release() {
  request.reset();
  cookieText.clear();
  cookieText.shrink_to_fit();
}

void WebClient::Open(const Text& method, const Text& address, bool async) {
  if (!request) return;
  Text target = address;
  if (!StartsWith(ToLower(address), kScheme)) target = Text(kScheme) + address;
  request->Open(method.empty() ? Text("GET") : method, target, async);
}

void WebClient::SetRequestHeader(const Text& name, const Text& value) {
  if (request) request->SetRequestHeader(name, value);
}

void WebClient::SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                            std::int32_t receiveMs) {
  if (!request) return;
  if (connectMs < 1) connectMs = resolveMs;
  if (sendMs < 1) sendMs = resolveMs;
  if (receiveMs < 1) receiveMs = resolveMs;
  request->SetTimeouts(resolveMs, connectMs, sendMs, receiveMs);
}

void WebClient::SetProxy(std::optional<std::int32_t> setting, const Text& server, const Text& bypassList) {
  if (request) request->SetProxy(setting.value_or(2), server, bypassList);
}

void WebClient::Send(const Text& bodyText, const Bytes& bodyBytes) {
  if (!request) return;
  if (!bodyBytes.empty()) {
    request->Send(RequestBody(std::span<const std::uint8_t>(bodyBytes)));
  } else if (!bodyText.empty()) {
    request->Send(RequestBody(std::string_view(bodyText)));
  } else {
    request->Send(RequestBody());
  }
}

bool WebClient::WaitForResponse(std::int32_t seconds) { return request && request->WaitForResponse(seconds); }

Bytes WebClient::ResponseBody() { return request ? request->ResponseBody() : Bytes(); }

Text WebClient::ResponseText() { return request ? request->ResponseText() : Text(); }

Text WebClient::CollectReplyCookies() {
  if (!request) return {};
  Text kept;
  for (const Text& line : Split(request->GetAllResponseHeaders(), "\r\n")) {
    if (StartsWith(line, "Set-Cookie:")) kept += line + "\r\n";
  }
  return Replace(Replace(kept, "Set-Cookie: "), "\r\n", "; ");
}

}  // namespace lumatrel
