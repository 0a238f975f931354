// The real WinHttp.WinHttpRequest.5.1 component, driven by WebClient against the stand-in service.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "http/WebClient.h"
#include "http/tests/win/MessagePump.h"
#include "standin/StandinFiles.h"

namespace lumatrel {
namespace {

namespace si = standin;

class WinHttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!si::Directory()) GTEST_SKIP() << "LUMATREL_STANDIN_DIR is not set";
    ASSERT_GT(si::Port(), 0) << "the stand-in service is not running";
    ASSERT_TRUE(ole.ok());
    client.Create();
    ASSERT_NE(client.request, nullptr) << "WinHttp.WinHttpRequest.5.1 could not be created";
    session = si::NewSession("http");
    url = si::SessionUrl(session) + "/asyn/x.php?a=1";
  }

  Text Fetch(float timeoutSeconds = 0.0f) { return client.FetchText(url, "", 0, timeoutSeconds); }

  testing::OleThread ole;
  testing::MessagePumpHook pump;
  WebClient client;
  std::string session;
  Text url;
};

TEST_F(WinHttpTest, BytesGoOutUnchangedWithTheGivenHeaders) {
  const Bytes body{'-', 0, 1, 2, 0xFF, 0xFE, 0, '\r', '\n', 0x80, 'z'};
  client.FetchText(url, "ignored", 0, 0.0f, std::nullopt, false, body, "", nullptr, false,
                   "multipart/form-data; boundary=xyz", "Shockwave Flash");
  const std::optional<std::string> raw = si::RecordedRequest(session, 1);
  ASSERT_TRUE(raw);
  EXPECT_EQ(si::RequestLine(*raw), "POST /t/" + session + "/asyn/x.php?a=1 HTTP/1.1");
  EXPECT_EQ(si::Body(*raw), std::string(body.begin(), body.end()));
  EXPECT_EQ(si::HeaderValue(*raw, "Content-Type"), "multipart/form-data; boundary=xyz");
  EXPECT_EQ(si::HeaderValue(*raw, "User-Agent"), "Shockwave Flash");
  EXPECT_EQ(si::HeaderValue(*raw, "Referer"), url);
  EXPECT_EQ(si::HeaderValue(*raw, "Content-Length"), std::to_string(body.size()));
  EXPECT_FALSE(si::HasHeader(*raw, "Cookie"));
}

TEST_F(WinHttpTest, GetCarriesTheDefaultHeadersAndTheCookie) {
  Text cookie = "sid=42; lang=zh";
  client.FetchText("  " + url + " ", "", 0, 0.0f, std::nullopt, false, {}, "", &cookie);
  const std::optional<std::string> raw = si::RecordedRequest(session, 1);
  ASSERT_TRUE(raw);
  EXPECT_EQ(si::RequestLine(*raw), "GET /t/" + session + "/asyn/x.php?a=1 HTTP/1.1");
  EXPECT_EQ(si::HeaderValue(*raw, "Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(si::HeaderValue(*raw, "User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)");
  EXPECT_EQ(si::HeaderValue(*raw, "Referer"), url);
  EXPECT_EQ(si::HeaderValue(*raw, "Cookie"), "sid=42; lang=zh");
}

TEST_F(WinHttpTest, RepliesInEachCharsetBecomeGbk) {
  struct Case {
    std::string body;
    Text expected;
  };
  const Case cases[] = {
      {"{\"msg\":\"ok\"}", "{\"msg\":\"ok\"}"},
      {"\xE4\xB8\x8A\xE4\xBC\xA0", "上传"},                              // UTF-8, no mark
      {std::string("\xFF\xFE\x0A\x4E\x20\x4F", 6), "上传"},              // UTF-16LE with its mark
      {"\xC9\xCF\xB4\xAB ok", "上传 ok"},                                // GBK
      {"<html><head><meta charset=Big5></head>\xA4\xA4\xA4\xE5</html>",  // Big5 declared
       "<html><head><meta charset=Big5></head>中文</html>"},
  };
  int number = 0;
  for (const Case& c : cases) {
    si::Reply reply;
    reply.body = c.body;
    ASSERT_TRUE(si::ScriptReply(session, reply, ++number));
    EXPECT_EQ(Fetch(), c.expected) << number;
  }
}

TEST_F(WinHttpTest, ErrorStatusBodiesAreReturned) {
  si::Reply missing;
  missing.status = 404;
  missing.body = "no such page";
  ASSERT_TRUE(si::ScriptReply(session, missing, 1));
  si::Reply broken;
  broken.status = 500;
  broken.body = "\xE4\xB8\x8A oops";
  ASSERT_TRUE(si::ScriptReply(session, broken, 2));
  EXPECT_EQ(Fetch(), "no such page");
  EXPECT_EQ(Fetch(), "上 oops");
}

TEST_F(WinHttpTest, ReplyCookiesAreKept) {
  si::Reply reply;
  reply.headers = {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2"};
  reply.body = "ok";
  ASSERT_TRUE(si::ScriptReply(session, reply));
  EXPECT_EQ(client.FetchText(url, "", 0, 0.0f, std::nullopt, false, {}, "", nullptr, true), "ok");
  EXPECT_EQ(client.cookieText, "a=1; path=/; b=2; ");
  // The next exchange sends them back (WinHttp may add the cookies it keeps itself after them).
  client.FetchText(url);
  EXPECT_THAT(si::HeaderValue(*si::RecordedRequest(session, 2), "Cookie"), ::testing::StartsWith("a=1; path=/; b=2;"));
}

TEST_F(WinHttpTest, RawAndComponentDecodedModes) {
  si::Reply reply;
  reply.body = std::string("ab\0cd", 5);
  ASSERT_TRUE(si::ScriptReply(session, reply, 1));
  EXPECT_EQ(client.FetchText(url, "", -1), "ab");
  si::Reply text;
  text.contentType = "text/plain; charset=utf-8";
  text.body = "\xE4\xB8\x8A ok";
  ASSERT_TRUE(si::ScriptReply(session, text, 2));
  EXPECT_EQ(client.FetchText(url, "", -2), "上 ok");
}

TEST_F(WinHttpTest, SynchronousExchange) {
  si::Reply reply;
  reply.body = "sync";
  ASSERT_TRUE(si::ScriptReply(session, reply));
  EXPECT_EQ(client.FetchText(url, "", 0, 0.0f, std::nullopt, true), "sync");
}

TEST_F(WinHttpTest, DeadPortGivesAnEmptyReplyAtOnce) {
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(client.FetchText("127.0.0.1:1/asyn/x.php"), "");
  EXPECT_LT(GetTickCount64() - start, 10000u);
  // The instance is still good for the next exchange.
  si::Reply reply;
  reply.body = "after";
  ASSERT_TRUE(si::ScriptReply(session, reply));
  EXPECT_EQ(Fetch(), "after");
}

TEST_F(WinHttpTest, NeverAnsweringServiceEndsAfterTheTimeoutWhileTimersTick) {
  si::Reply silent;
  silent.mode = "silent";
  ASSERT_TRUE(si::ScriptReply(session, silent, 1));
  int ticks = 0;
  testing::ThreadTimer timer(20, [&ticks] { ++ticks; });
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(Fetch(2.0f), "");
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_GE(elapsed, 1900u);
  EXPECT_LT(elapsed, 3500u);
  EXPECT_GE(ticks, 40) << "the 20 ms timer stalled during the wait";
  si::Reply reply;
  reply.body = "next";
  ASSERT_TRUE(si::ScriptReply(session, reply, 2));
  EXPECT_EQ(Fetch(2.0f), "next");
}

TEST_F(WinHttpTest, DelayedReplyArrivesWhileTimersTick) {
  si::Reply late;
  late.delayMs = 1500;
  late.body = "late";
  ASSERT_TRUE(si::ScriptReply(session, late));
  int ticks = 0;
  testing::ThreadTimer timer(20, [&ticks] { ++ticks; });
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(Fetch(), "late");
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_GE(elapsed, 1400u);
  EXPECT_LT(elapsed, 4000u);
  EXPECT_GE(ticks, 30);
}

TEST_F(WinHttpTest, AbortFromATimerEndsTheWaitAndTheClientStaysUsable) {
  si::Reply late;
  late.delayMs = 5000;
  late.body = "too late";
  ASSERT_TRUE(si::ScriptReply(session, late, 1));
  si::Reply next;
  next.body = "next";
  ASSERT_TRUE(si::ScriptReply(session, next, 2));
  ULONGLONG abortedAt = 0;
  const ULONGLONG start = GetTickCount64();
  Text reply;
  {
    testing::ThreadTimer stop(300, [&] {
      if (!abortedAt) {
        abortedAt = GetTickCount64();
        client.Abort();
      }
    });
    reply = Fetch();
  }
  const ULONGLONG end = GetTickCount64();
  EXPECT_EQ(reply, "");
  ASSERT_NE(abortedAt, 0u);
  EXPECT_LT(end - abortedAt, 500u) << "the wait went on after the abort";
  EXPECT_LT(end - start, 2000u);
  EXPECT_EQ(Fetch(), "next");
}

TEST_F(WinHttpTest, ConnectionClosedHalfWayEndsTheExchange) {
  si::Reply half;
  half.mode = "half";
  half.body = "0123456789";
  ASSERT_TRUE(si::ScriptReply(session, half, 1));
  const ULONGLONG start = GetTickCount64();
  const Text reply = Fetch(5.0f);
  EXPECT_LT(GetTickCount64() - start, 5500u);
  EXPECT_THAT(std::string("01234"), ::testing::StartsWith(reply));  // nothing, or what arrived
}

}  // namespace
}  // namespace lumatrel
