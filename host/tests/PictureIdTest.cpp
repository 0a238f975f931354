#include "host/PictureId.h"

#include <gtest/gtest.h>

#include "host/PicturePath.h"

namespace lumatrel::host {
namespace {

TEST(PictureIdTest, IsTheStartOfTheSha256OfTheBytes) {
  EXPECT_EQ(PictureIdOf("abc"), "ba7816bf8f01cfea414140de5dae2223");
  EXPECT_EQ(PictureIdOf(""), "e3b0c44298fc1c149afbf4c8996fb924");
  EXPECT_EQ(PictureIdOf(std::string("a\0b", 3)), PictureIdOf(std::string("a\0b", 3)));
  EXPECT_NE(PictureIdOf(std::string("a\0b", 3)), PictureIdOf(std::string("a\0c", 3)));
  EXPECT_TRUE(IsPictureId(PictureIdOf("any bytes")));
}

}  // namespace
}  // namespace lumatrel::host
