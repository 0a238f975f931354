// UploadImage over the real WinHttp component, against the stand-in picture service.
#include <gtest/gtest.h>

#include "http/tests/win/MessagePump.h"
#include "standin/StandinFiles.h"
#include "upload/UploadImage.h"

namespace lumatrel {
namespace {

namespace si = standin;

const std::string kPath = "/asyn/uploadpicCommon.php?call=2&uin=9b0e7c2a8d64f1035e9a7b2c6d08e4f1";

class UploadImageWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!si::Directory()) GTEST_SKIP() << "LUMATREL_STANDIN_DIR is not set";
    ASSERT_GT(si::Port(), 0) << "the stand-in service is not running";
    ASSERT_TRUE(ole.ok());
    client.Create();
    ASSERT_NE(client.request, nullptr);
    session = si::NewSession("upload");
    endpoint = si::SessionUrl(session) + kPath;
  }
  bool Upload(const Bytes& picture, const Text& name) {
    return UploadImage(client, endpoint, picture, name, address, failure, path);
  }

  testing::OleThread ole;
  testing::MessagePumpHook pump;
  WebClient client;
  std::string session;
  Text endpoint;
  Text address, failure, path;
};

TEST_F(UploadImageWinTest, TheServiceReceivesTheBodyByteForByte) {
  struct Case {
    Text name;
    Bytes picture;
  };
  const Case cases[] = {
      {"图片 一.png", {0x89, 'P', 'N', 'G', 0, 0, 0x1A, '\r', '\n', 0xFF, 0, 0x80}},
      {"空.gif", {}},
  };
  int number = 0;
  for (const Case& c : cases) {
    Upload(c.picture, c.name);
    const std::optional<std::string> raw = si::RecordedRequest(session, ++number);
    ASSERT_TRUE(raw);
    const std::string body = si::Body(*raw);
    EXPECT_EQ(body.size(), 398 + 2 * c.name.size() + c.picture.size());
    const std::string template_(UploadBodyTemplate());
    const std::size_t at = template_.find("#图片数据#");
    std::string expected =
        template_.substr(0, at) + std::string(c.picture.begin(), c.picture.end()) + template_.substr(at + 10);
    for (std::size_t p = expected.find("#文件名称#"); p != std::string::npos; p = expected.find("#文件名称#", p)) {
      expected.replace(p, 10, c.name);
      p += c.name.size();
    }
    EXPECT_EQ(body, expected) << c.name;
    EXPECT_NE(body.find("name=\"Filename\"\r\n\r\n" + c.name + "\r\n"), std::string::npos);
    EXPECT_NE(body.find("filename=\"" + c.name + "\"\r\n"), std::string::npos);
    EXPECT_EQ(si::RequestLine(*raw), "POST /t/" + session + kPath + " HTTP/1.1");
    EXPECT_EQ(si::HeaderValue(*raw, "Content-Type"),
              "multipart/form-data; boundary=----------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6");
    EXPECT_EQ(si::HeaderValue(*raw, "User-Agent"), "Shockwave Flash");
    EXPECT_EQ(si::HeaderValue(*raw, "Referer"), endpoint);
    EXPECT_FALSE(si::HasHeader(*raw, "Cookie"));
  }
}

TEST_F(UploadImageWinTest, SuccessGivesTheAddress) {
  EXPECT_TRUE(Upload({1, 2, 3}, "a.png"));
  const std::string host = "127.0.0.1:" + std::to_string(si::Port());
  EXPECT_EQ(address, "http://" + host + "/pic/" + session + "-1");
  EXPECT_EQ(failure, "上传失败：上传成功");
  EXPECT_EQ(path, "http://" + host + "/pic/" + session + "-1.jpg");
  EXPECT_EQ(address + "/2000.jpg", "http://" + host + "/pic/" + session + "-1/2000.jpg");
}

TEST_F(UploadImageWinTest, RefusalGivesTheServicesMessage) {
  si::Reply refusal;
  refusal.body = R"({"code":"-3","msg":"\u56fe\u7247\u592a\u5927","path":"p.host\/none"})";
  ASSERT_TRUE(si::ScriptReply(session, refusal));
  EXPECT_FALSE(Upload({1}, "big.png"));
  EXPECT_EQ(address, "");
  EXPECT_EQ(failure, "上传失败：图片太大");
  EXPECT_EQ(path, "http://p.host/none");
}

TEST_F(UploadImageWinTest, ErrorStatusBodyIsStillRead) {
  si::Reply error;
  error.status = 500;
  error.body = R"({"msg":"\u670d\u52a1\u5668\u5fd9"})";
  ASSERT_TRUE(si::ScriptReply(session, error));
  EXPECT_FALSE(Upload({1}, "a.png"));
  EXPECT_EQ(failure, "上传失败：服务器忙");
}

TEST_F(UploadImageWinTest, DeadPortFails) {
  EXPECT_FALSE(UploadImage(client, "http://127.0.0.1:1" + kPath, {1, 2}, "a.png", address, failure, path));
  EXPECT_EQ(address, "");
  EXPECT_EQ(failure, "上传失败：");
  EXPECT_EQ(path, "http://");
}

TEST_F(UploadImageWinTest, AbortDuringADelayedReplyThenTheNextUploadWorks) {
  si::Reply late;
  late.delayMs = 5000;
  ASSERT_TRUE(si::ScriptReply(session, late, 1));
  const ULONGLONG start = GetTickCount64();
  bool result = true;
  {
    bool aborted = false;
    testing::ThreadTimer stop(300, [&] {
      if (!aborted) {
        aborted = true;
        client.Abort();
      }
    });
    result = Upload({1, 2, 3}, "a.png");
  }
  EXPECT_FALSE(result);
  EXPECT_LT(GetTickCount64() - start, 2000u);
  EXPECT_EQ(failure, "上传失败：");
  EXPECT_EQ(path, "http://");
  EXPECT_TRUE(Upload({4, 5}, "b.png"));
  EXPECT_EQ(address, "http://127.0.0.1:" + std::to_string(si::Port()) + "/pic/" + session + "-2");
}

}  // namespace
}  // namespace lumatrel
