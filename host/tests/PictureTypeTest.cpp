#include "host/PictureType.h"

#include <gtest/gtest.h>

namespace lumatrel::host {
namespace {

using namespace std::string_view_literals;

std::string BmpHeader(unsigned dibSize) {
  std::string header = "BM" + std::string(24, '\0');
  header[14] = static_cast<char>(dibSize);
  return header;
}

TEST(PictureTypeTest, SignaturesDecide) {
  const std::pair<std::string, PictureType> cases[] = {
      {std::string("\x89PNG\r\n\x1a\n....", 12), PictureType::Png},
      {"\xff\xd8\xff\xe0....", PictureType::Jpeg},
      {"GIF87a..", PictureType::Gif},
      {"GIF89a..", PictureType::Gif},
      {std::string("II*\0....", 8), PictureType::Tiff},
      {std::string("MM\0*....", 8), PictureType::Tiff},
      {std::string("RIFF\x10\0\0\0WEBPVP8 ", 16), PictureType::WebP},
      {BmpHeader(40), PictureType::Bmp},
      {BmpHeader(124), PictureType::Bmp},
      {BmpHeader(12), PictureType::Bmp},
      // Near misses.
      {BmpHeader(41), PictureType::None},
      {"BM is how this text file begins, and it is long enough", PictureType::None},
      {std::string("RIFF\x10\0\0\0WAVEfmt ", 16), PictureType::None},
      {std::string("\x89PNG\r\n\x1a", 7), PictureType::None},
      {"\xff\xd8", PictureType::None},
      {"GIF88a..", PictureType::None},
      {"hello, this is a text file named .png\n", PictureType::None},
      {"", PictureType::None},
  };
  for (const auto& [bytes, type] : cases) EXPECT_EQ(ProbePictureType(bytes), type) << bytes;
}

TEST(PictureTypeTest, NamesForTheLog) {
  EXPECT_EQ(PictureTypeName(PictureType::Jpeg), "jpeg");
  EXPECT_EQ(PictureTypeName(PictureType::None), "none");
}

}  // namespace
}  // namespace lumatrel::host
