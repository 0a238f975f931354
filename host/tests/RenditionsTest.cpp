#include "host/Renditions.h"

#include <gtest/gtest.h>

#include "TestPictures.h"

namespace lumatrel::host {
namespace {

using testing::Colour;
using testing::DecodePicture;

constexpr std::uint64_t kMaxPixels = 100'000'000;

void ExpectSize(const std::string& jpeg, int width, int height) {
  ASSERT_EQ(jpeg.substr(0, 3), "\xff\xd8\xff");
  const auto decoded = DecodePicture(jpeg);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.width, width);
  EXPECT_EQ(decoded.height, height);
}

void ExpectColour(const std::string& jpeg, Colour colour) {
  const auto decoded = DecodePicture(jpeg);
  ASSERT_TRUE(decoded.ok);
  ASSERT_EQ(decoded.bands, 3);
  EXPECT_NEAR(decoded.average[0], colour.red, 4);
  EXPECT_NEAR(decoded.average[1], colour.green, 4);
  EXPECT_NEAR(decoded.average[2], colour.blue, 4);
}

TEST(RenditionsTest, EveryFormatFitsBothBoxesWithoutEverGrowing) {
  struct Case {
    std::string bytes;
    PictureType type;
    int largeWidth, largeHeight, smallWidth, smallHeight;
  };
  const Case cases[] = {
      {testing::PatternPicture(3000, 1500, ".png"), PictureType::Png, 2000, 1000, 460, 230},
      {testing::PatternPicture(2400, 3000, ".jpg"), PictureType::Jpeg, 1600, 2000, 368, 460},
      {testing::PatternPicture(300, 200, ".png"), PictureType::Png, 300, 200, 300, 200},
      {testing::PatternPicture(800, 600, ".gif"), PictureType::Gif, 800, 600, 460, 345},
      {testing::PatternPicture(800, 600, ".tif"), PictureType::Tiff, 800, 600, 460, 345},
      {testing::PatternPicture(800, 600, ".webp"), PictureType::WebP, 800, 600, 460, 345},
      {testing::SolidBmp(800, 600, Colour{10, 20, 30}), PictureType::Bmp, 800, 600, 460, 345},
      {testing::PatternPicture(2000, 2000, ".png[bitdepth=16]"), PictureType::Png, 2000, 2000, 460, 460},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(PictureTypeName(c.type));
    ASSERT_EQ(ProbePictureType(c.bytes), c.type);
    const Renditions renditions = MakeRenditions(c.bytes, c.type, kMaxPixels);
    ASSERT_EQ(renditions.outcome, DecodeOutcome::Made);
    ExpectSize(renditions.large, c.largeWidth, c.largeHeight);
    ExpectSize(renditions.small, c.smallWidth, c.smallHeight);
  }
}

TEST(RenditionsTest, ColoursSurviveAndAlphaIsFlattenedOnWhite) {
  const Colour colour{10, 120, 230};
  ExpectColour(MakeRenditions(testing::SolidBmp(50, 40, colour), PictureType::Bmp, kMaxPixels).large, colour);
  ExpectColour(MakeRenditions(testing::SolidPicture(50, 40, colour), PictureType::Png, kMaxPixels).small, colour);
  const Renditions transparent = MakeRenditions(testing::TransparentPng(64, 64), PictureType::Png, kMaxPixels);
  ASSERT_EQ(transparent.outcome, DecodeOutcome::Made);
  ExpectColour(transparent.large, Colour{255, 255, 255});
  ExpectColour(transparent.small, Colour{255, 255, 255});
}

TEST(RenditionsTest, OrientationIsAppliedAndTheFirstFrameTaken) {
  const Renditions turned = MakeRenditions(testing::JpegWithOrientation(300, 100, 6), PictureType::Jpeg, kMaxPixels);
  ASSERT_EQ(turned.outcome, DecodeOutcome::Made);
  ExpectSize(turned.large, 100, 300);
  ExpectSize(turned.small, 100, 300);

  const Colour red{220, 0, 0}, blue{0, 0, 220};
  const Renditions animated = MakeRenditions(testing::AnimatedGif(64, 48, red, blue), PictureType::Gif, kMaxPixels);
  ASSERT_EQ(animated.outcome, DecodeOutcome::Made);
  ExpectSize(animated.large, 64, 48);
  ExpectColour(animated.large, red);
}

TEST(RenditionsTest, BombsDamageAndDisguisesAreRefused) {
  const std::string png = testing::PatternPicture(400, 300, ".png");
  const std::string jpeg = testing::PatternPicture(400, 300, ".jpg");
  std::string corrupt = png;
  for (std::size_t i = corrupt.size() / 2; i < corrupt.size() / 2 + 64; ++i) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5a);
  struct Case {
    const char* what;
    std::string bytes;
    PictureType type;
    std::uint64_t maxPixels;
    DecodeOutcome outcome;
  };
  const Case cases[] = {
      {"claims 100000 x 100000", testing::PngClaiming(100000, 100000), PictureType::Png, kMaxPixels, DecodeOutcome::TooManyPixels},
      {"over a small limit", png, PictureType::Png, 400 * 300 - 1, DecodeOutcome::TooManyPixels},
      {"at the limit", png, PictureType::Png, 400 * 300, DecodeOutcome::Made},
      {"truncated png", png.substr(0, png.size() / 2), PictureType::Png, kMaxPixels, DecodeOutcome::Damaged},
      {"truncated jpeg", jpeg.substr(0, jpeg.size() / 2), PictureType::Jpeg, kMaxPixels, DecodeOutcome::Damaged},
      {"corrupt png", corrupt, PictureType::Png, kMaxPixels, DecodeOutcome::Damaged},
      {"header only", png.substr(0, 40), PictureType::Png, kMaxPixels, DecodeOutcome::Damaged},
      {"png said to be jpeg", png, PictureType::Jpeg, kMaxPixels, DecodeOutcome::NotAPicture},
      {"text", "just some text", PictureType::None, kMaxPixels, DecodeOutcome::NotAPicture},
  };
  for (const Case& c : cases) {
    const Renditions renditions = MakeRenditions(c.bytes, c.type, c.maxPixels);
    EXPECT_EQ(renditions.outcome, c.outcome) << c.what;
    if (c.outcome != DecodeOutcome::Made) {
      EXPECT_TRUE(renditions.large.empty() && renditions.small.empty()) << c.what;
    }
  }
}

}  // namespace
}  // namespace lumatrel::host
