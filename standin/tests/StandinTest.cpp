// The stand-in service itself, spoken to over a plain socket so that every byte is ours.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <time.h>
#include <string>

#include "standin/StandinFiles.h"

namespace lumatrel::standin {
namespace {

// Milliseconds of the monotonic clock (no <chrono>: its unit suffixes do not convert to GBK).
long long NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

class Connection {
 public:
  Connection() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(Port()));
    connected_ = ::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Connection() { ::close(socket_); }
  bool connected() const { return connected_; }
  void Send(const std::string& data) { ASSERT_EQ(::send(socket_, data.data(), data.size(), 0), (ssize_t)data.size()); }
  // Everything until the service closes, or what came within timeoutMs of silence.
  std::string ReadAll(int timeoutMs = 5000) {
    std::string result;
    char buffer[4096];
    pollfd entry{socket_, POLLIN, 0};
    while (::poll(&entry, 1, timeoutMs) > 0) {
      const ssize_t got = ::recv(socket_, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      result.append(buffer, static_cast<std::size_t>(got));
    }
    return result;
  }

 private:
  int socket_;
  bool connected_ = false;
};

class StandinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Directory()) GTEST_SKIP() << "LUMATREL_STANDIN_DIR is not set";
    ASSERT_GT(Port(), 0) << "the stand-in service is not running";
    session = NewSession("standin");
  }
  std::string Exchange(const std::string& request, int timeoutMs = 5000) {
    Connection connection;
    EXPECT_TRUE(connection.connected());
    connection.Send(request);
    return connection.ReadAll(timeoutMs);
  }
  std::string session;
};

std::string Post(const std::string& path, const std::string& body, const std::string& extra = "") {
  return "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra +
         "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST_F(StandinTest, RecordsEachRequestExactly) {
  const std::string body("a\0b\r\n\xFF\xFE", 7);
  const std::string request = Post("/t/" + session + "/asyn/up.php?call=2", body, "X-Case: MiXeD\r\n");
  Exchange(request);
  Exchange(Post("/t/" + session + "/again", ""));
  EXPECT_EQ(RecordedRequest(session, 1), request);
  const std::optional<std::string> second = RecordedRequest(session, 2);
  ASSERT_TRUE(second);
  EXPECT_EQ(RequestLine(*second), "POST /t/" + session + "/again HTTP/1.1");
  EXPECT_EQ(HeaderValue(request, "x-case"), "MiXeD");
  EXPECT_EQ(Body(request), body);
}

TEST_F(StandinTest, DefaultRepliesAreTheServicesFormAndRefuseOnRequest) {
  const std::string form = "--b\r\nContent-Disposition: form-data; name=\"Filename\"\r\n\r\n";
  const std::string accepted = Exchange(Post("/t/" + session + "/u", form + "pic.png\r\n--b--"));
  EXPECT_EQ(accepted.substr(0, 15), "HTTP/1.1 200 OK");
  EXPECT_NE(accepted.find("\"url\":\"http:\\/\\/127.0.0.1:"), std::string::npos) << accepted;
  EXPECT_NE(accepted.find("\"msg\":\"\\u4e0a\\u4f20\\u6210\\u529f\""), std::string::npos) << accepted;
  const std::string refused = Exchange(Post("/t/" + session + "/u", form + "refuse.png\r\n--b--"));
  EXPECT_EQ(refused.find("\"url\""), std::string::npos) << refused;
  EXPECT_NE(refused.find("\"msg\":\"\\u56fe"), std::string::npos) << refused;
}

TEST_F(StandinTest, ScriptedRepliesNumberedFirst) {
  Reply general;
  general.status = 404;
  general.headers = {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2"};
  general.body = std::string("not\0here", 8);
  ASSERT_TRUE(ScriptReply(session, general));
  Reply first;
  first.body = "first";
  ASSERT_TRUE(ScriptReply(session, first, 1));
  const std::string one = Exchange(Post("/t/" + session + "/x", ""));
  const std::string two = Exchange(Post("/t/" + session + "/x", ""));
  EXPECT_EQ(one.substr(one.size() - 5), "first");
  EXPECT_EQ(two.substr(0, 22), "HTTP/1.1 404 Not Found");
  EXPECT_NE(two.find("\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n"), std::string::npos);
  EXPECT_EQ(two.substr(two.size() - 8), std::string("not\0here", 8));
}

TEST_F(StandinTest, ClosesHalfWayOrHoldsItsTongue) {
  Reply half;
  half.mode = "half";
  half.body = "0123456789";
  ASSERT_TRUE(ScriptReply(session, half, 1));
  const std::string cut = Exchange(Post("/t/" + session + "/x", ""));
  EXPECT_NE(cut.find("Content-Length: 10\r\n"), std::string::npos);
  EXPECT_EQ(cut.substr(cut.size() - 9), "\r\n\r\n01234");

  Reply silent;
  silent.mode = "silent";
  ASSERT_TRUE(ScriptReply(session, silent, 2));
  EXPECT_EQ(Exchange(Post("/t/" + session + "/x", ""), 300), "");
  EXPECT_TRUE(RecordedRequest(session, 2));  // recorded before it fell silent
}

TEST_F(StandinTest, DelaysAndContinues) {
  Reply late;
  late.delayMs = 300;
  late.body = "late";
  ASSERT_TRUE(ScriptReply(session, late));
  Connection connection;
  ASSERT_TRUE(connection.connected());
  connection.Send("POST /t/" + session + "/x HTTP/1.1\r\nExpect: 100-continue\r\nContent-Length: 3\r\n\r\n");
  EXPECT_EQ(connection.ReadAll(300), "HTTP/1.1 100 Continue\r\n\r\n");
  const long long start = NowMs();
  connection.Send("abc");
  const std::string reply = connection.ReadAll();
  EXPECT_GE(NowMs() - start, 300);
  EXPECT_EQ(reply.substr(reply.size() - 4), "late");
  EXPECT_EQ(Body(*RecordedRequest(session, 1)), "abc");
}

}  // namespace
}  // namespace lumatrel::standin
