// The program's own upload exchange (UploadImage, FetchText, the reply's charset detection,
// unescaping and field search) against a real lumatrel-host, natively: what the user of the
// program sees for a success and for each refusal. Compiled as the program is, so the
// literals here are GBK.
#include <gtest/gtest.h>

#include "HostProcess.h"
#include "LoopbackRequest.h"
#include "TestPictures.h"
#include "upload/UploadImage.h"

namespace lumatrel::host {
namespace {

Bytes AsBytes(const std::string& data) { return Bytes(data.begin(), data.end()); }

testing::Decoded FetchAndDecode(const Text& url) {
  const Bytes bytes = testing::FetchLoopback(url);
  return testing::DecodePicture(std::string(bytes.begin(), bytes.end()));
}

class ProgramUploadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.Start(folder_.path() / "data", folder_.path() / "host.log"));
    client_.request = testing::CreateLoopbackRequest();
  }
  Text Base() const { return "http://127.0.0.1:" + std::to_string(host_.port()); }
  Text Endpoint() const { return Base() + "/asyn/uploadpicCommon.php?call=2&uin=9b0e7c2a8d64f1035e9a7b2c6d08e4f1"; }

  testing::TempFolder folder_;
  testing::HostProcess host_;
  WebClient client_;
};

TEST_F(ProgramUploadTest, APictureGivesLinksThatOpen) {
  Text address, failure, path;
  const std::string picture = testing::PatternPicture(1000, 800, ".png");
  ASSERT_TRUE(UploadImage(client_, Endpoint(), AsBytes(picture), "风景照片.png", address, failure, path));
  EXPECT_EQ(address.rfind(Base() + "/p/", 0), 0u) << address;
  EXPECT_EQ(address.size(), Base().size() + 3 + 32);
  EXPECT_EQ(failure, "上传失败：");
  EXPECT_EQ(path, "http:///p/" + address.substr(Base().size() + 3));

  const auto large = FetchAndDecode(address + "/2000.jpg");
  const auto small = FetchAndDecode(address + "/460.jpg");
  ASSERT_TRUE(large.ok && small.ok);
  EXPECT_EQ(large.width, 1000);
  EXPECT_EQ(large.height, 800);
  EXPECT_EQ(small.width, 460);
  EXPECT_EQ(small.height, 368);
}

TEST_F(ProgramUploadTest, RefusalsReachTheUserInChinese) {
  const std::string png = testing::PatternPicture(300, 200, ".png");
  const std::pair<std::string, Text> cases[] = {
      {"这是笔记，不是图片", "上传失败：不是支持的图片（PNG、BMP、JPEG、GIF、TIFF、WebP）"},
      {png.substr(0, png.size() / 2), "上传失败：图片已损坏或不完整"},
      {testing::PngClaiming(100000, 100000), "上传失败：图片尺寸太大，上限为 100000000 像素"},
  };
  for (const auto& [picture, expected] : cases) {
    Text address, failure, path;
    EXPECT_FALSE(UploadImage(client_, Endpoint(), AsBytes(picture), "笔记.png", address, failure, path));
    EXPECT_EQ(address, "");
    EXPECT_EQ(failure, expected);
    EXPECT_EQ(path, "http://");
  }
  Text address, failure, path;
  const Text stranger = Base() + "/asyn/uploadpicCommon.php?call=2&uin=ffffffffffffffffffffffffffffffff";
  EXPECT_FALSE(UploadImage(client_, stranger, AsBytes(png), "a.png", address, failure, path));
  EXPECT_EQ(failure, "上传失败：账号未被本图床接受");
}

}  // namespace
}  // namespace lumatrel::host
