#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "http/WebClient.h"
#include "http/tests/RecordingRequest.h"
#include "platform/Events.h"
#include "platform/Registry.h"

namespace lumatrel {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr const char* kMozilla = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)";
const std::string kReferer = "SetRequestHeader(Referer, http://h/p)";
const std::string kFormType = "SetRequestHeader(Content-Type, application/x-www-form-urlencoded)";
const std::string kAgent = std::string("SetRequestHeader(User-Agent, ") + kMozilla + ")";
const std::string kDefaultTimeouts = "SetTimeouts(10000, 10000, 120000, 60000)";

// A WebClient over a recording fake; the dispatch hook writes "(events)" into the same record.
class FetchTextTest : public ::testing::Test {
 protected:
  FetchTextTest() {
    auto fake = std::make_unique<RecordingRequest>();
    request = fake.get();
    client.request = std::move(fake);
    previousHook = SetDispatchHook([this] { request->calls.push_back("(events)"); });
  }
  ~FetchTextTest() override { SetDispatchHook(std::move(previousHook)); }

  WebClient client;
  RecordingRequest* request = nullptr;
  DispatchHook previousHook;
};

TEST_F(FetchTextTest, GetSetsAllThreeHeadersWaitsAndReadsTheBody) {
  request->responseBody = BytesFromText("{\"url\":\"x\"}");
  EXPECT_EQ(client.FetchText("http://h/p"), "{\"url\":\"x\"}");
  EXPECT_THAT(request->calls, ElementsAre("Open(GET, http://h/p, true)", kReferer, kFormType, kAgent, kDefaultTimeouts,
                                          "Send()", "WaitForResponse(120)", "ResponseBody()"));
}

TEST_F(FetchTextTest, BytesWinOverTextAndMakeItAPost) {
  const Bytes body{'a', 0, 'b', 0xFF};
  client.FetchText("http://h/p", "text body", 0, 0.0f, std::nullopt, false, body, "", nullptr, false, "my/type",
                   "agent");
  EXPECT_THAT(request->calls,
              ElementsAre("Open(POST, http://h/p, true)", kReferer, "SetRequestHeader(Content-Type, my/type)",
                          "SetRequestHeader(User-Agent, agent)", kDefaultTimeouts, "Send(bytes:4)",
                          "WaitForResponse(120)", "ResponseBody()"));
  EXPECT_EQ(request->sentBytes, body);
}

TEST_F(FetchTextTest, TextAloneIsPostedAsAString) {
  client.FetchText("http://h/p", "a=1&b=2");
  EXPECT_EQ(request->calls[0], "Open(POST, http://h/p, true)");
  EXPECT_EQ(request->calls[5], "Send(text:a=1&b=2)");
}

TEST_F(FetchTextTest, AddressIsTrimmedAndPrefixedOnlyForOpen) {
  struct Case {
    Text url;
    std::string open;
    std::string referer;
  };
  const Case cases[] = {
      {"  HTTP://Host/x　 ", "Open(GET, HTTP://Host/x, true)", "SetRequestHeader(Referer, HTTP://Host/x)"},
      {" host/上传 ", "Open(GET, http://host/上传, true)", "SetRequestHeader(Referer, host/上传)"},
      {"https://h/", "Open(GET, http://https://h/, true)", "SetRequestHeader(Referer, https://h/)"},
      {"\thttp://h/", "Open(GET, http://\thttp://h/, true)", "SetRequestHeader(Referer, \thttp://h/)"},
  };
  for (const Case& c : cases) {
    request->calls.clear();
    client.FetchText(c.url);
    EXPECT_EQ(request->calls[0], c.open) << c.url;
    EXPECT_EQ(request->calls[1], c.referer) << c.url;
  }
  request->calls.clear();
  client.FetchText("h/p", "", 0, 0.0f, std::nullopt, false, {}, "http://given/");
  EXPECT_EQ(request->calls[1], "SetRequestHeader(Referer, http://given/)");
}

TEST_F(FetchTextTest, CookieRules) {
  Text minusOne = "-1";
  client.FetchText("http://h/p", "", 0, 0.0f, std::nullopt, false, {}, "", &minusOne);
  EXPECT_EQ(request->calls[4], "SetRequestHeader(Cookie, )");
  EXPECT_EQ(request->calls[5], kDefaultTimeouts);

  request->calls.clear();
  client.cookieText = "a=1; path=/; ";
  Text empty;
  client.FetchText("http://h/p", "", 0, 0.0f, std::nullopt, false, {}, "", &empty);
  EXPECT_EQ(empty, "a=1; path=/; ");  // the stored cookie is copied out
  EXPECT_EQ(request->calls[4], "SetRequestHeader(Cookie, a=1; path=/; )");

  request->calls.clear();
  client.FetchText("http://h/p");  // omitted: the stored cookie still goes out
  EXPECT_EQ(request->calls[4], "SetRequestHeader(Cookie, a=1; path=/; )");

  request->calls.clear();
  Text own = "x=2";
  client.FetchText("http://h/p", "", 0, 0.0f, std::nullopt, false, {}, "", &own);
  EXPECT_EQ(own, "x=2");
  EXPECT_EQ(request->calls[4], "SetRequestHeader(Cookie, x=2)");

  request->calls.clear();
  client.cookieText.clear();
  client.FetchText("http://h/p");
  EXPECT_EQ(request->calls[4], kDefaultTimeouts);  // no cookie header at all
}

TEST_F(FetchTextTest, TimeoutsAndTheWait) {
  struct Case {
    float seconds;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {0.0f, {kDefaultTimeouts, "Send()", "WaitForResponse(120)"}},
      {0.5f, {kDefaultTimeouts, "Send()", "WaitForResponse(120)"}},
      {0.9999f, {kDefaultTimeouts, "Send()", "WaitForResponse(120)"}},
      {1.0f, {"SetTimeouts(10000, 10000, 1000, 1000)", "Send()", "WaitForResponse(1)"}},
      {30.0f, {"SetTimeouts(10000, 10000, 30000, 30000)", "Send()", "WaitForResponse(30)"}},
      {2.7f, {"SetTimeouts(10000, 10000, 2700, 2700)", "Send()", "WaitForResponse(2)"}},
      {-1.0f, {"Send()", "WaitForResponse(120)"}},
      {-3.0f, {kDefaultTimeouts, "Send()", "WaitForResponse(120)"}},
      {1e12f, {"SetTimeouts(10000, 10000, 2147483647, 2147483647)", "Send()", "WaitForResponse(2147483647)"}},
  };
  for (const Case& c : cases) {
    request->calls.clear();
    client.FetchText("http://h/p", "", -1, c.seconds);
    std::vector<std::string> middle(request->calls.begin() + 4, request->calls.end() - 1);
    EXPECT_THAT(middle, ElementsAreArray(c.expected)) << c.seconds;
  }
}

TEST_F(FetchTextTest, ProxyStep) {
  const std::optional<Text> stored = RegistryReadText(
      RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", "ProxyServer");
  const std::string fromIe = stored && !stored->empty() ? "SetProxy(2, " + *stored + ", )" : "SetProxy(0, , )";
  struct Case {
    std::optional<Text> proxy;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {std::nullopt, {kDefaultTimeouts, "Send()"}},
      {Text("-1"), {kDefaultTimeouts, "Send()"}},
      {Text(""), {kDefaultTimeouts, "(events)", "SetProxy(0, , )", "Send()"}},
      {Text("IE"), {kDefaultTimeouts, "(events)", fromIe, "Send()"}},
      {Text("ie"), {kDefaultTimeouts, "(events)", "SetProxy(2, ie, )", "Send()"}},
      {Text("http=p:8080;https=q:8443"),
       {kDefaultTimeouts, "(events)", "SetProxy(2, http=p:8080;https=q:8443, )", "Send()"}},
  };
  for (const Case& c : cases) {
    request->calls.clear();
    client.FetchText("http://h/p", "", -1, 0.0f, c.proxy, true);
    std::vector<std::string> middle(request->calls.begin() + 4, request->calls.end() - 1);
    EXPECT_THAT(middle, ElementsAreArray(c.expected)) << c.proxy.value_or("(omitted)");
  }
}

#ifndef _WIN32
// The native registry is an in-memory one, so the current user's proxy can be set here.
TEST_F(FetchTextTest, ProxyFromInternetSettings) {
  const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  ASSERT_TRUE(RegistryWriteText(RegistryRoot::CurrentUser, key, "ProxyServer", "127.0.0.1:3128"));
  client.FetchText("http://h/p", "", -1, 0.0f, Text("IE"), true);
  EXPECT_EQ(request->calls[6], "SetProxy(2, 127.0.0.1:3128, )");
  ASSERT_TRUE(RegistryWriteText(RegistryRoot::CurrentUser, key, "ProxyServer", ""));
  request->calls.clear();
  client.FetchText("http://h/p", "", -1, 0.0f, Text("IE"), true);
  EXPECT_EQ(request->calls[6], "SetProxy(0, , )");
}
#endif

TEST_F(FetchTextTest, SynchronousOpensSynchronouslyAndDoesNotWait) {
  client.FetchText("http://h/p", "", -1, 0.0f, std::nullopt, true);
  EXPECT_THAT(request->calls, ElementsAre("Open(GET, http://h/p, false)", kReferer, kFormType, kAgent, kDefaultTimeouts,
                                          "Send()", "ResponseBody()"));
}

TEST_F(FetchTextTest, ReplyModes) {
  request->responseBody = {'a', 'b', 0, 'c', 'd'};
  request->responseText = "component text";
  EXPECT_EQ(client.FetchText("http://h/p", "", -1), "ab");
  EXPECT_EQ(request->calls.back(), "ResponseBody()");
  EXPECT_EQ(client.FetchText("http://h/p", "", -2), "component text");
  EXPECT_EQ(request->calls.back(), "ResponseText()");
  // Detection: UTF-8 without a mark becomes GBK.
  request->responseBody = BytesFromText("\xE4\xB8\x8A\xE4\xBC\xA0 ok");
  EXPECT_EQ(client.FetchText("http://h/p"), "上传 ok");
  request->responseBody.clear();
  EXPECT_EQ(client.FetchText("http://h/p"), "");
}

TEST_F(FetchTextTest, KeepingReplyCookies) {
  request->responseHeaders =
      "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nContent-Type: text/html\r\nSet-Cookie: b=2\r\n"
      "set-cookie: lower=3\r\nX-Set-Cookie: no=4\r\n\r\n";
  client.FetchText("http://h/p", "", -1, 0.0f, std::nullopt, false, {}, "", nullptr, true);
  EXPECT_EQ(client.cookieText, "a=1; path=/; b=2; ");
  EXPECT_THAT(std::vector<std::string>(request->calls.end() - 2, request->calls.end()),
              ElementsAre("GetAllResponseHeaders()", "ResponseBody()"));

  request->responseHeaders = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
  client.FetchText("http://h/p", "", -1, 0.0f, std::nullopt, false, {}, "", nullptr, true);
  EXPECT_EQ(client.cookieText, "");

  client.cookieText = "kept=1; ";
  request->calls.clear();
  client.FetchText("http://h/p");
  EXPECT_EQ(client.cookieText, "kept=1; ");
  EXPECT_THAT(request->calls, ::testing::Not(::testing::Contains("GetAllResponseHeaders()")));
}

TEST_F(FetchTextTest, AbortDuringTheWaitLeavesTheRestOfTheSteps) {
  request->onCall = [this](const std::string& call) {
    if (call.starts_with("WaitForResponse")) client.Abort();
  };
  client.FetchText("http://h/p", "", -1);
  EXPECT_THAT(std::vector<std::string>(request->calls.end() - 3, request->calls.end()),
              ElementsAre("WaitForResponse(120)", "Abort()", "ResponseBody()"));
}

TEST(WebClientTest, ThinWrappersFillInTheirDefaults) {
  WebClient client;
  auto fake = std::make_unique<RecordingRequest>();
  RecordingRequest* request = fake.get();
  client.request = std::move(fake);
  client.Open("", "x/y");
  client.Open("POST", "Http://x", true);
  client.SetTimeouts(5000);
  client.SetTimeouts(7, 0, -3, 9);
  client.SetProxy(std::nullopt, "p:1");
  client.SetProxy(0, "");
  client.Send("", {});
  client.Send("t", {});
  client.Send("t", {1, 2});
  EXPECT_THAT(request->calls,
              ElementsAre("Open(GET, http://x/y, false)", "Open(POST, Http://x, true)",
                          "SetTimeouts(5000, 5000, 5000, 5000)", "SetTimeouts(7, 7, 7, 9)", "SetProxy(2, p:1, )",
                          "SetProxy(0, , )", "Send()", "Send(text:t)", "Send(bytes:2)"));
}

TEST(WebClientTest, ReleaseEmptiesBothFieldsAndMayBeRepeated) {
  WebClient client;
  client.request = std::make_unique<RecordingRequest>();
  client.cookieText = "a=1; ";
  client.Release();
  EXPECT_EQ(client.request, nullptr);
  EXPECT_THAT(client.cookieText, IsEmpty());
  client.Release();
  client.Abort();  // nothing to abort: no effect
  EXPECT_EQ(client.FetchText("http://h/p"), "");
}

#ifndef _WIN32
TEST(WebClientTest, WithoutAComponentEveryExchangeIsEmpty) {
  WebClient client;
  client.Create();
  EXPECT_EQ(client.request, nullptr);
  Text cookie;
  EXPECT_EQ(client.FetchText("http://127.0.0.1:1/", "body", 0, 2.0f, Text("IE"), false, {1}, "", &cookie, true), "");
  EXPECT_EQ(client.CollectReplyCookies(), "");
  EXPECT_FALSE(client.WaitForResponse(1));
}
#endif

}  // namespace
}  // namespace lumatrel
