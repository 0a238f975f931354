#include <cmath>
#include <cstdint>
#include <limits>

#include "http/WebClient.h"
#include "platform/Events.h"
#include "platform/Registry.h"
#include "text/DecodeReplyText.h"

namespace lumatrel {

namespace {

constexpr double kTolerance = 1e-7;
constexpr std::string_view kDefaultContentType = "application/x-www-form-urlencoded";
constexpr std::string_view kDefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)";
constexpr std::string_view kInternetSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Truncates toward zero; values beyond the 32-bit range are held at its ends rather than
// overflowing.
std::int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  const double truncated = std::trunc(value);
  if (truncated >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  if (truncated <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  return static_cast<std::int32_t>(truncated);
}

}  // namespace

Text WebClient::FetchText(const Text& url, const Text& bodyText, std::int32_t replyCharset, float timeoutSeconds,
                          const std::optional<Text>& proxy, bool synchronous, const Bytes& bodyBytes,
                          const Text& referer, Text* cookie, bool keepReplyCookies, const Text& contentType,
                          const Text& userAgent) {
  const Text method = (!bodyText.empty() || !bodyBytes.empty()) ? "POST" : "GET";
  const Text address = Trim(url);
  Open(method, address, !synchronous);

  SetRequestHeader("Referer", referer.empty() ? address : referer);
  SetRequestHeader("Content-Type", contentType.empty() ? Text(kDefaultContentType) : contentType);
  SetRequestHeader("User-Agent", userAgent.empty() ? Text(kDefaultUserAgent) : userAgent);

  Text cookieValue = cookie ? *cookie : Text();
  if (cookieValue.empty() && !cookieText.empty()) {
    cookieValue = cookieText;
    if (cookie) *cookie = cookieValue;
  }
  if (cookieValue == "-1") {
    SetRequestHeader("Cookie", "");
  } else if (!cookieValue.empty()) {
    SetRequestHeader("Cookie", cookieValue);
  }

  const double seconds = timeoutSeconds;
  const bool keepTimeouts = std::fabs(seconds + 1.0) <= kTolerance;
  const bool atLeastOneSecond = seconds - 1.0 >= -kTolerance;
  if (!keepTimeouts) {
    if (atLeastOneSecond) {
      const std::int32_t ms = TruncateToInt32(seconds * 1000.0);
      SetTimeouts(10000, 10000, ms, ms);
    } else {
      SetTimeouts(10000, 10000, 120000, 60000);
    }
  }

  if (proxy && *proxy != "-1") {
    Text server = *proxy;
    if (server == "IE") {
      server = RegistryReadText(RegistryRoot::CurrentUser, kInternetSettings, "ProxyServer").value_or(Text());
    }
    DispatchPendingEvents();
    if (!server.empty()) {
      SetProxy(2, server, {});
    } else {
      SetProxy(0, {}, {});
    }
  }

  Send(bodyText, bodyBytes);
  if (!synchronous) WaitForResponse(atLeastOneSecond ? TruncateToInt32(seconds) : 120);

  if (keepReplyCookies) cookieText = CollectReplyCookies();

  if (replyCharset == -2) return ResponseText();
  if (replyCharset == -1) return TextFromBytes(ResponseBody());
  std::int32_t detected = 0;
  Text decoded;
  return DecodeReplyText({}, replyCharset, detected, decoded, ResponseBody(), {});
}

}  // namespace lumatrel
