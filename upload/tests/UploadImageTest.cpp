#include "upload/UploadImage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "http/tests/RecordingRequest.h"

namespace lumatrel {
namespace {

using ::testing::ElementsAre;

const std::string kDelimiter = "------------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6";
const std::string kEndpoint = "http://127.0.0.1:9/asyn/uploadpicCommon.php?call=2&uin=9b0e7c2a8d64f1035e9a7b2c6d08e4f1";

// The body as the service's form expects it, written out independently of the template.
Bytes ExpectedBody(const Text& name, const Bytes& picture) {
  const Text head = kDelimiter + "\r\nContent-Disposition: form-data; name=\"Filename\"\r\n\r\n" + name + "\r\n" +
                    kDelimiter + "\r\nContent-Disposition: form-data; name=\"filename\"; filename=\"" + name +
                    "\"\r\nContent-Type: application/octet-stream\r\n\r\n";
  const Text tail = "\r\n" + kDelimiter +
                    "\r\nContent-Disposition: form-data; name=\"Upload\"\r\n\r\nSubmit Query\r\n" + kDelimiter + "--";
  Bytes body(head.begin(), head.end());
  body.insert(body.end(), picture.begin(), picture.end());
  body.insert(body.end(), tail.begin(), tail.end());
  return body;
}

class UploadImageTest : public ::testing::Test {
 protected:
  UploadImageTest() {
    auto fake = std::make_unique<RecordingRequest>();
    request = fake.get();
    client.request = std::move(fake);
  }
  bool Upload(const Bytes& picture, const Text& name) {
    return UploadImage(client, kEndpoint, picture, name, address, failure, path);
  }
  WebClient client;
  RecordingRequest* request = nullptr;
  Text address = "old", failure = "old", path = "old";
};

TEST(UploadTemplate, IsFourHundredTwentyEightGbkBytes) {
  EXPECT_EQ(std::string_view("#文件名称#").size(), 10u);
  EXPECT_EQ(UploadBodyTemplate().size(), 428u);
  EXPECT_EQ(UploadBodyTemplate().substr(0, 44), kDelimiter + "\r\n");
  EXPECT_EQ(UploadBodyTemplate().substr(384), kDelimiter + "--");
}

TEST(UploadTemplate, EndpointIsBuiltIn) {
  const Text endpoint = UploadEndpoint();
  EXPECT_TRUE(StartsWith(endpoint, "http://"));
  EXPECT_EQ(Right(endpoint, 69), "/asyn/uploadpicCommon.php?call=2&uin=9b0e7c2a8d64f1035e9a7b2c6d08e4f1");
}

TEST_F(UploadImageTest, PostsTheFilledTemplateAsBytesWithTheFormHeaders) {
  const Bytes picture{0x89, 'P', 'N', 'G', 0, 0, 0x1A, '\r', '\n', 0xFF};
  Upload(picture, "图片 一.png");
  EXPECT_THAT(
      request->calls,
      ElementsAre("Open(POST, " + kEndpoint + ", true)", "SetRequestHeader(Referer, " + kEndpoint + ")",
                  "SetRequestHeader(Content-Type, multipart/form-data; "
                  "boundary=----------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6)",
                  "SetRequestHeader(User-Agent, Shockwave Flash)", "SetTimeouts(10000, 10000, 120000, 60000)",
                  "Send(bytes:" + std::to_string(398 + 2 * 11 + 10) + ")", "WaitForResponse(120)", "ResponseBody()"));
  EXPECT_EQ(request->sentBytes, ExpectedBody("图片 一.png", picture));
}

TEST_F(UploadImageTest, BodyLengthFollowsNameAndPicture) {
  struct Case {
    Text name;
    std::size_t pictureSize;
  };
  const Case cases[] = {{"", 0}, {"a.png", 0}, {"长名字.jpg", 3}, {"x", 100000}};
  for (const Case& c : cases) {
    const Bytes picture(c.pictureSize, 0);
    Upload(picture, c.name);
    EXPECT_EQ(request->sentBytes.size(), 398 + 2 * c.name.size() + c.pictureSize) << c.name;
    EXPECT_EQ(request->sentBytes, ExpectedBody(c.name, picture)) << c.name;
  }
}

TEST_F(UploadImageTest, PlaceholderTextInTheFileNameStaysAName) {
  const Bytes picture{1, 2, 3};
  Upload(picture, "#图片数据#.png");
  EXPECT_EQ(request->sentBytes, ExpectedBody("#图片数据#.png", picture));
}

TEST_F(UploadImageTest, ReadsTheReply) {
  struct Case {
    std::string reply;
    bool result;
    Text address, failure, path;
  };
  const Case cases[] = {
      {R"({"code":"0","url":"http:\/\/p.host\/abc","msg":"\u4e0a\u4f20\u6210\u529f","path":"p.host\/abc.jpg"})", true,
       "http://p.host/abc", "上传失败：上传成功", "http://p.host/abc.jpg"},
      {R"({"code":"-1","msg":"\u56fe\u7247\u592a\u5927","path":""})", false, "", "上传失败：图片太大", "http://"},
      {"", false, "", "上传失败：", "http://"},
      {R"({"url":"u","path":"HTTP://Mixed/Case"})", true, "u", "上传失败：", "HTTP://Mixed/Case"},
      {R"({"url":"u","path":"hTtP://x"})", true, "u", "上传失败：", "hTtP://x"},
      {R"({"url":"u","path":"https:\/\/x"})", true, "u", "上传失败：", "http://https://x"},
      {R"({"URL":"u","Msg":"m"})", true, "u", "上传失败：m", "http://"},
      {"<html>502 Bad Gateway</html>", false, "", "上传失败：", "http://"},
  };
  for (const Case& c : cases) {
    request->responseBody = BytesFromText(c.reply);
    EXPECT_EQ(Upload({1}, "a.png"), c.result) << c.reply;
    EXPECT_EQ(address, c.address) << c.reply;
    EXPECT_EQ(failure, c.failure) << c.reply;
    EXPECT_EQ(path, c.path) << c.reply;
  }
}

TEST(UploadImageWithoutComponent, FailsWithTheBareFailureText) {
  WebClient client;  // no request instance: every exchange is empty
  Text address = "old", failure, path;
  EXPECT_FALSE(UploadImage(client, {1, 2}, "a.png", address, failure, path));
  EXPECT_EQ(address, "");
  EXPECT_EQ(failure, "上传失败：");
  EXPECT_EQ(path, "http://");
}

}  // namespace
}  // namespace lumatrel
