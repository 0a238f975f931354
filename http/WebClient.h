// The program's one HTTP client: a reusable request component instance and a stored cookie text.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "http/RequestComponent.h"
#include "text/Text.h"

namespace lumatrel {

class WebClient {
 public:
  WebClient() = default;
  WebClient(const WebClient&) = delete;
  WebClient& operator=(const WebClient&) = delete;
  ~WebClient() { Release(); }

  // Creates the request instance (any earlier one is released first). When creation fails,
  // request stays empty and every exchange yields an empty reply.
  void Create();
  // Cancels the request in flight, if any; ends a pending wait.
  void Abort();
  // Releases the instance and frees the stored cookie text. Safe to repeat.
  void Release();

  // One complete exchange; the reply body as GBK text, empty when no reply could be read.
  // proxy: omitted leaves the instance's proxy alone, "-1" too; empty resets it to the default;
  // "IE" reads the current user's Internet Settings. cookie is in/out: when it is empty and
  // cookieText is not, it receives cookieText (nullptr stands for an omitted cookie).
  Text FetchText(const Text& url, const Text& bodyText = {}, std::int32_t replyCharset = 0, float timeoutSeconds = 0.0f,
                 const std::optional<Text>& proxy = std::nullopt, bool synchronous = false, const Bytes& bodyBytes = {},
                 const Text& referer = {}, Text* cookie = nullptr, bool keepReplyCookies = false,
                 const Text& contentType = {}, const Text& userAgent = {});

  // Thin wrappers on request with their defaults; with no instance they do nothing and yield
  // false or empty results.
  // An empty method means "GET"; "http://" goes in front of an address without it.
  void Open(const Text& method, const Text& address, bool async = false);
  void SetRequestHeader(const Text& name, const Text& value);
  // connect, send and receive below 1 take the resolve value.
  void SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs = 0, std::int32_t sendMs = 0,
                   std::int32_t receiveMs = 0);
  // An omitted setting means 2 (a named proxy).
  void SetProxy(std::optional<std::int32_t> setting, const Text& server, const Text& bypassList = {});
  // Bytes when there are any, else the text when it is not empty, else no body.
  void Send(const Text& bodyText, const Bytes& bodyBytes);
  bool WaitForResponse(std::int32_t seconds);
  Bytes ResponseBody();
  Text ResponseText();
  // The reply's Set-Cookie values joined as one cookie text, each followed by "; ".
  Text CollectReplyCookies();

  std::unique_ptr<RequestComponent> request;
  Text cookieText;
};

}  // namespace lumatrel
