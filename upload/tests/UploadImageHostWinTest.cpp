// The program's upload over the real WinHttp component to the project's own picture host: the
// links it gets are real and serve the picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "http/tests/win/MessagePump.h"
#include "upload/UploadImage.h"

namespace lumatrel {
namespace {

// A 6 x 4 RGB picture.
const Bytes kPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x04, 0x08, 0x02, 0x00, 0x00, 0x00, 0x22, 0x66, 0xD9, 0x14, 0x00, 0x00, 0x00, 0x3C, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x0D, 0xC8, 0x41, 0x01, 0x00, 0x30, 0x08, 0x03, 0xB1, 0xCA, 0x41, 0x04, 0x22, 0x90, 0xD3, 0xE7, 0x49, 0x41, 0x44, 0x45, 0x20, 0x6B, 0xCB, 0x33, 0x92, 0x28, 0x31, 0xC2, 0x62, 0xC5, 0x09, 0xA9, 0xA9, 0x66, 0x1A, 0x37, 0xDB, 0x5C, 0xFF, 0x32, 0x65, 0xC6, 0xD8, 0xAC, 0x39, 0xFF, 0x0A, 0x15, 0x26, 0x38, 0x6C, 0xB8, 0xF0, 0x00, 0xC4, 0x51, 0x1D, 0xD1, 0xBF, 0xA4, 0x58, 0x84, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

class UploadImageHostWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* dir = std::getenv("LUMATREL_HOST_DIR");
    if (dir == nullptr) GTEST_SKIP() << "LUMATREL_HOST_DIR is not set";
    std::ifstream portFile(std::string(dir) + "/port");
    int port = 0;
    portFile >> port;
    ASSERT_GT(port, 0) << "the picture host is not running";
    origin = "http://127.0.0.1:" + std::to_string(port);
    ASSERT_TRUE(ole.ok());
    client.Create();
    ASSERT_NE(client.request, nullptr);
  }
  bool Upload(const Bytes& picture, const Text& name) {
    const Text endpoint = origin + "/asyn/uploadpicCommon.php?call=2&uin=9b0e7c2a8d64f1035e9a7b2c6d08e4f1";
    return UploadImage(client, endpoint, picture, name, address, failure, path);
  }
  Bytes Fetch(const Text& url) {
    client.FetchText(url, {}, -1);
    return client.ResponseBody();
  }

  testing::OleThread ole;
  testing::MessagePumpHook pump;
  WebClient client;
  Text origin;
  Text address, failure, path;
};

TEST_F(UploadImageHostWinTest, APictureGetsLinksThatServeIt) {
  ASSERT_TRUE(Upload(kPng, "小图.png")) << failure;
  EXPECT_EQ(address.rfind(origin + "/p/", 0), 0u) << address;
  EXPECT_EQ(failure, "上传失败：");
  const Text first = address;

  for (const char* size : {"/2000.jpg", "/460.jpg"}) {
    const Bytes jpeg = Fetch(address + size);
    ASSERT_GE(jpeg.size(), 3u) << size;
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_EQ(jpeg[2], 0xFF);
  }

  ASSERT_TRUE(Upload(kPng, "again.png"));
  EXPECT_EQ(address, first) << "the same bytes keep their address";
}

TEST_F(UploadImageHostWinTest, ARefusalCarriesTheHostsReason) {
  const Text notAPicture = "just some text";
  EXPECT_FALSE(Upload(Bytes(notAPicture.begin(), notAPicture.end()), "fake.png"));
  EXPECT_EQ(address, "");
  EXPECT_EQ(failure.rfind("上传失败：", 0), 0u);
  EXPECT_GT(failure.size(), Text("上传失败：").size()) << "the reason is missing";
  EXPECT_EQ(path, "http://");
}

}  // namespace
}  // namespace lumatrel
