#include "host/PicturePath.h"

#include <gtest/gtest.h>

namespace lumatrel::host {
namespace {

constexpr std::string_view kId = "0123456789abcdef0123456789abcdef";

TEST(PicturePathTest, TheThreeAddressesOfAPicture) {
  const std::string base = PicturePathOf(kId);
  EXPECT_EQ(base, "/p/0123456789abcdef0123456789abcdef");
  const std::pair<std::string, Rendition> cases[] = {
      {base, Rendition::Large}, {base + "/2000.jpg", Rendition::Large}, {base + "/460.jpg", Rendition::Small}};
  for (const auto& [path, rendition] : cases) {
    const auto request = ParsePicturePath(path);
    ASSERT_TRUE(request) << path;
    EXPECT_EQ(request->id, kId);
    EXPECT_EQ(request->rendition, rendition);
  }
  EXPECT_EQ(RenditionFileName(Rendition::Large), "2000.jpg");
  EXPECT_EQ(RenditionFileName(Rendition::Small), "460.jpg");
  EXPECT_EQ(RenditionSize(Rendition::Large), 2000);
  EXPECT_EQ(RenditionSize(Rendition::Small), 460);
}

TEST(PicturePathTest, EverythingElseIsNoPicture) {
  const std::string base = PicturePathOf(kId);
  const std::string wrong[] = {
      "/p/../../etc/passwd",
      "/p/..%2f..%2fetc%2fpasswd",
      "/../p/" + std::string(kId),
      base + "/",
      base + "/original",
      base + "/2000.jpg/",
      base + "/2000.JPG",
      base + "/460.jpgx",
      base + "/../" + std::string(kId),
      base + "0",
      "/p/" + std::string(kId.substr(1)),
      "/p/0123456789ABCDEF0123456789ABCDEF",
      "/p/0123456789abcdeg0123456789abcdef",
      std::string("/p/0123456789abcdef\0" "123456789abcdef", 35),
      "/P/" + std::string(kId),
      "p/" + std::string(kId),
      "//p/" + std::string(kId),
      "/p/",
      "/",
      "",
  };
  for (const std::string& path : wrong) EXPECT_FALSE(ParsePicturePath(path)) << path;
  EXPECT_TRUE(IsPictureId(kId));
  EXPECT_FALSE(IsPictureId(""));
  EXPECT_FALSE(IsPictureId("../../etc/passwd"));
}

}  // namespace
}  // namespace lumatrel::host
