// Real HTTP against a lumatrel-host process on a free loopback port.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "HostProcess.h"
#include "ProgramForm.h"
#include "TestPictures.h"
#include "host/DurableFile.h"
#include "host/PictureId.h"
#include "host/Reply.h"

namespace lumatrel::host {
namespace {

namespace fs = std::filesystem;
using testing::DecodePicture;
using testing::HostClient;
using testing::PostUpload;
using testing::ProgramForm;

constexpr std::size_t kMaxBytes = 3'000'000;

// Every file under the data folder with a hash of its content, to show that a refusal changed nothing.
std::vector<std::pair<std::string, std::string>> Snapshot(const fs::path& root) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string name = fs::relative(entry.path(), root).string();
    files.emplace_back(name + (entry.is_directory() ? "/" : ""), entry.is_regular_file() ? PictureIdOf(ReadWholeFile(entry.path()).value_or("?")) : "");
  }
  std::sort(files.begin(), files.end());
  return files;
}

// One request written by hand in two pieces, then the whole reply until the host closes.
std::string RawExchange(int port, const std::string& first, const std::string& second,
                        const std::function<void()>& between) {
  const int socketFd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string reply;
  if (::connect(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    ::send(socketFd, first.data(), first.size(), MSG_NOSIGNAL);
    between();
    ::send(socketFd, second.data(), second.size(), MSG_NOSIGNAL);
    char buffer[4096];
    for (ssize_t got; (got = ::recv(socketFd, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(socketFd);
  return reply;
}

class HostHttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.Start(Data(), folder_.path() / "host.log", 0, {"--max-bytes", std::to_string(kMaxBytes)}));
  }
  fs::path Data() const { return folder_.path() / "data"; }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(host_.port()); }

  testing::TempFolder folder_;
  testing::HostProcess host_;
};

TEST_F(HostHttpTest, UploadGivesPermanentLinksToBothRenditions) {
  const std::string picture = testing::PatternPicture(2400, 1800, ".jpg");
  const std::string id = PictureIdOf(picture);
  auto client = HostClient(host_.port());
  const auto answer = PostUpload(client, ProgramForm("\xcd\xbc\xc6\xac.jpg", picture));
  ASSERT_EQ(answer.status, 200) << answer.body;
  EXPECT_EQ(answer.url, Base() + "/p/" + id);
  EXPECT_EQ(answer.path, "/p/" + id);
  EXPECT_EQ(answer.msg, u"");
  EXPECT_NE(answer.body.find("\"url\":\"http:\\/\\/127.0.0.1:"), std::string::npos) << answer.body;

  const std::pair<std::string, std::pair<int, int>> renditions[] = {
      {"/2000.jpg", {2000, 1500}}, {"/460.jpg", {460, 345}}, {"", {2000, 1500}}};
  for (const auto& [suffix, size] : renditions) {
    SCOPED_TRACE(suffix);
    auto reply = client.Get(answer.path + suffix);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    EXPECT_EQ(reply->get_header_value("Content-Type"), "image/jpeg");
    EXPECT_EQ(reply->get_header_value("Content-Length"), std::to_string(reply->body.size()));
    EXPECT_EQ(reply->get_header_value("Cache-Control"), "public, max-age=31536000, immutable");
    const std::string tag = reply->get_header_value("ETag");
    EXPECT_EQ(tag, "\"" + id + (suffix == "/460.jpg" ? "-460\"" : "-2000\""));
    const auto decoded = DecodePicture(reply->body);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.width, size.first);
    EXPECT_EQ(decoded.height, size.second);

    auto head = client.Head(answer.path + suffix);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 200);
    EXPECT_EQ(head->get_header_value("Content-Length"), std::to_string(reply->body.size()));
    EXPECT_EQ(head->get_header_value("ETag"), tag);
    EXPECT_TRUE(head->body.empty());

    auto cached = client.Get(answer.path + suffix, {{"If-None-Match", tag}});
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->status, 304);
    EXPECT_TRUE(cached->body.empty());
    EXPECT_EQ(cached->get_header_value("ETag"), tag);
    auto otherTag = client.Get(answer.path + suffix, {{"If-None-Match", "\"something-else\""}});
    ASSERT_TRUE(otherTag);
    EXPECT_EQ(otherTag->status, 200);
  }
}

TEST_F(HostHttpTest, TheSameBytesAlwaysGetTheSameAddress) {
  const std::string picture = testing::SolidPicture(40, 30, testing::Colour{1, 2, 3});
  auto client = HostClient(host_.port());
  const auto first = PostUpload(client, ProgramForm("a.png", picture));
  const auto again = PostUpload(client, ProgramForm("renamed.png", picture));
  const auto other = PostUpload(client, ProgramForm("a.png", testing::SolidPicture(40, 30, testing::Colour{1, 2, 4})));
  ASSERT_FALSE(first.url.empty()) << first.body;
  EXPECT_EQ(again.url, first.url);
  EXPECT_FALSE(other.url.empty());
  EXPECT_NE(other.url, first.url);
}

TEST_F(HostHttpTest, RefusalsSayWhyAndChangeNothingOnDisk) {
  auto client = HostClient(host_.port());
  ASSERT_EQ(PostUpload(client, ProgramForm("keep.png", testing::SolidPicture(8, 8, testing::Colour{9, 9, 9}))).status, 200);
  const auto before = Snapshot(Data());

  const std::string png = testing::PatternPicture(300, 200, ".png");
  const std::string target(testing::kUploadTarget);
  const std::string noPicture = ProgramForm("a.png", "x").replace(ProgramForm("a.png", "x").find("name=\"filename\""), 15, "name=\"notafile\"");
  const Limits limits{kMaxBytes, 100'000'000};
  struct Case {
    const char* what;
    std::string body;
    std::string target;
    Refusal refusal;
  };
  const Case cases[] = {
      {"text file named .png", ProgramForm("notes.png", "these are my notes, not a picture\r\n"), target, Refusal::NotAPicture},
      {"empty picture", ProgramForm("empty.png", ""), target, Refusal::NotAPicture},
      {"truncated png", ProgramForm("cut.png", png.substr(0, png.size() / 2)), target, Refusal::DamagedPicture},
      {"claims 100000 x 100000", ProgramForm("huge.png", testing::PngClaiming(100000, 100000)), target, Refusal::TooManyPixels},
      {"body over the limit", ProgramForm("big.png", png + std::string(kMaxBytes, 'x')), target, Refusal::BodyTooLarge},
      {"no filename part", noPicture, target, Refusal::MissingPicture},
      {"cut-off form", ProgramForm("a.png", png).substr(0, 600), target, Refusal::MalformedForm},
      {"unknown uin", ProgramForm("a.png", png), "/asyn/uploadpicCommon.php?call=2&uin=00000000000000000000000000000000", Refusal::UnknownAccount},
      {"no uin", ProgramForm("a.png", png), "/asyn/uploadpicCommon.php?call=2", Refusal::UnknownAccount},
      {"two uins", ProgramForm("a.png", png), target + "&uin=00000000000000000000000000000000", Refusal::UnknownAccount},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto fresh = HostClient(host_.port());
    const auto answer = PostUpload(fresh, c.body, c.target);
    EXPECT_EQ(answer.status, RefusalStatus(c.refusal)) << answer.body;
    EXPECT_EQ(answer.body.find("\"url\""), std::string::npos) << answer.body;
    EXPECT_EQ(answer.msg, RefusalMessage(c.refusal, limits)) << answer.body;
  }
  EXPECT_EQ(Snapshot(Data()), before);
}

TEST_F(HostHttpTest, OnlyStrictPictureAddressesAreServed) {
  auto client = HostClient(host_.port());
  const auto answer = PostUpload(client, ProgramForm("a.png", testing::SolidPicture(8, 8, testing::Colour{7, 7, 7})));
  ASSERT_FALSE(answer.path.empty()) << answer.body;
  const std::string id = answer.path.substr(3);
  std::string upper = id;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  const std::string paths[] = {
      "/p/../../etc/passwd", "/p/%2e%2e/%2e%2e/etc/passwd", "/p/..%2f..%2fetc%2fpasswd", "/../../etc/passwd",
      "/p/" + id + "0", "/p/" + id.substr(1), "/p/" + upper, "/p/" + id + "/", "/p/" + id + "/original",
      "/p/" + id + "/1000.jpg", "/p/" + id + "/../" + id, "/p/ffffffffffffffffffffffffffffffff",
      "/p/" + id + "/460.jpg%00", "/asyn/uploadpicCommon.php", "/", "/p/", "/p/%0aforged-line",
  };
  for (const std::string& path : paths) {
    auto reply = client.Get(path);
    ASSERT_TRUE(reply) << path;
    EXPECT_EQ(reply->status, 404) << path;
    EXPECT_EQ(reply->get_header_value("Content-Type").find("image/"), std::string::npos) << path;
  }
  auto good = client.Get(answer.path + "/460.jpg");
  ASSERT_TRUE(good);
  EXPECT_EQ(good->status, 200);
  // One log line per request, and a path cannot start a line of its own.
  const std::string log = host_.Log();
  EXPECT_EQ(log.find("\nforged-line"), std::string::npos);
  EXPECT_NE(log.find("GET /p/?forged-line 404"), std::string::npos) << log;
}

TEST_F(HostHttpTest, ARestartServesEverythingStoredBefore) {
  const std::string picture = testing::PatternPicture(900, 600, ".png");
  std::string large, small, url;
  {
    auto client = HostClient(host_.port());
    const auto answer = PostUpload(client, ProgramForm("a.png", picture));
    ASSERT_EQ(answer.status, 200);
    url = answer.url;
    large = client.Get(answer.path + "/2000.jpg")->body;
    small = client.Get(answer.path + "/460.jpg")->body;
  }
  const int port = host_.port();
  EXPECT_EQ(host_.Stop(), 0);
  const std::string log = host_.Log();
  EXPECT_NE(log.find(" POST /asyn/uploadpicCommon.php 200 "), std::string::npos) << log;
  EXPECT_NE(log.find(" GET " + url.substr(url.find("/p/")) + "/460.jpg 200 "), std::string::npos) << log;

  ASSERT_TRUE(host_.Start(Data(), folder_.path() / "host2.log", port));
  auto client = HostClient(host_.port());
  const std::string path = url.substr(url.find("/p/"));
  EXPECT_EQ(client.Get(path + "/2000.jpg")->body, large);
  EXPECT_EQ(client.Get(path + "/460.jpg")->body, small);
  EXPECT_EQ(PostUpload(client, ProgramForm("b.png", picture)).url, url);
}

TEST_F(HostHttpTest, AStopFinishesTheUploadInFlightAndExitsZero) {
  const std::string body = ProgramForm("a.png", testing::PatternPicture(640, 480, ".png"));
  const std::string head = std::string("POST ") + std::string(testing::kUploadTarget) + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" +
                           "Content-Type: " + std::string(testing::kFormType) + "\r\nContent-Length: " +
                           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  const std::string reply = RawExchange(host_.port(), head + body.substr(0, body.size() / 2), body.substr(body.size() / 2), [&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(host_.pid(), SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  });
  EXPECT_EQ(reply.substr(0, 15), "HTTP/1.1 200 OK") << reply;
  EXPECT_NE(reply.find("\"url\":\"http:"), std::string::npos) << reply;
  EXPECT_EQ(host_.Stop(), 0);
}

TEST(HostCommandLineTest, HelpAndWrongFlags) {
  EXPECT_EQ(testing::RunProgram({LUMATREL_HOST_PROGRAM, "--help"}), 0);
  EXPECT_EQ(testing::RunProgram({LUMATREL_HOST_PROGRAM, "--no-such-flag"}), 2);
  EXPECT_EQ(testing::RunProgram({LUMATREL_HOST_PROGRAM, "--listen", "nowhere"}), 2);
}

}  // namespace
}  // namespace lumatrel::host
