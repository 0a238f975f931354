// Pictures made by the tests themselves, with libvips or by hand, and their decoding.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumatrel::host::testing {

struct Colour {
  int red = 0, green = 0, blue = 0;
};

// A distinct colour for every seed below 2^24.
Colour SeedColour(unsigned seed);

// An image of one colour, encoded by libvips; suffix is a libvips save suffix with options,
// such as ".png" or ".jpg[Q=95]".
std::string SolidPicture(int width, int height, Colour colour, std::string_view suffix = ".png");

// A PNG of one colour written by hand (zlib only): cheap enough for thousands of uploads.
std::string SolidPng(int width, int height, Colour colour);

// A picture with a diagonal pattern (so it compresses like a photograph would not, but decodes
// the same every time).
std::string PatternPicture(int width, int height, std::string_view suffix);

// A PNG with an alpha channel, fully transparent.
std::string TransparentPng(int width, int height);

// A JPEG whose EXIF orientation tag says how to turn it upright (1 to 8).
std::string JpegWithOrientation(int width, int height, int orientation);

// An animated GIF whose frames are each of one colour: first, then second.
std::string AnimatedGif(int width, int height, Colour first, Colour second);

// A 24-bit uncompressed BMP of one colour, written by hand (libvips has no BMP writer).
std::string SolidBmp(int width, int height, Colour colour);

// A small valid PNG whose header claims width x height (its CRC corrected).
std::string PngClaiming(unsigned width, unsigned height);

struct Decoded {
  bool ok = false;
  int width = 0;
  int height = 0;
  int bands = 0;
  std::vector<double> average;  // per band, over the whole image
};

// Decodes every pixel, failing on errors and truncation.
Decoded DecodePicture(std::string_view bytes);

}  // namespace lumatrel::host::testing
