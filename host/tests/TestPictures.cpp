#include "TestPictures.h"

#include <vips/vips8>
#include <zlib.h>

#include "host/Renditions.h"

namespace lumatrel::host::testing {
namespace {

using vips::VImage;

std::string Encode(const VImage& image, std::string_view suffix) {
  void* data = nullptr;
  std::size_t length = 0;
  image.write_to_buffer(std::string(suffix).c_str(), &data, &length);
  std::string bytes(static_cast<const char*>(data), length);
  g_free(data);
  return bytes;
}

VImage Solid(int width, int height, Colour colour, int bands = 3) {
  std::vector<double> pixel{double(colour.red), double(colour.green), double(colour.blue), 255.0};
  pixel.resize(bands);
  VImage image = VImage::black(width, height).new_from_image(pixel).cast(VIPS_FORMAT_UCHAR);
  return image.copy(VImage::option()->set("interpretation", bands >= 3 ? VIPS_INTERPRETATION_sRGB : VIPS_INTERPRETATION_B_W));
}

void PutBigEndian32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xff);
}

void PutLittle(std::string& out, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

}  // namespace

Colour SeedColour(unsigned seed) {
  return Colour{int(seed & 0xff), int((seed >> 8) & 0xff), int((seed >> 16) & 0xff)};
}

std::string SolidPicture(int width, int height, Colour colour, std::string_view suffix) {
  StartPictureLibrary();
  return Encode(Solid(width, height, colour), suffix);
}

std::string SolidPng(int width, int height, Colour colour) {
  auto chunk = [](std::string& out, std::string_view type, const std::string& data) {
    std::string length(4, '\0');
    PutBigEndian32(length, 0, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type) + data;
    std::string crc(4, '\0');
    PutBigEndian32(crc, 0, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
    out += length + body + crc;
  };
  std::string header(13, '\0');
  PutBigEndian32(header, 0, static_cast<std::uint32_t>(width));
  PutBigEndian32(header, 4, static_cast<std::uint32_t>(height));
  header[8] = 8;  // bits per sample
  header[9] = 2;  // RGB
  std::string rows;
  for (int y = 0; y < height; ++y) {
    rows += '\0';  // no filter
    for (int x = 0; x < width; ++x) {
      rows += static_cast<char>(colour.red);
      rows += static_cast<char>(colour.green);
      rows += static_cast<char>(colour.blue);
    }
  }
  uLongf packedLength = compressBound(rows.size());
  std::string packed(packedLength, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &packedLength, reinterpret_cast<const Bytef*>(rows.data()), rows.size());
  packed.resize(packedLength);
  std::string png = "\x89PNG\r\n\x1a\n";
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", packed);
  chunk(png, "IEND", "");
  return png;
}

std::string PatternPicture(int width, int height, std::string_view suffix) {
  StartPictureLibrary();
  VImage xy = VImage::xyz(width, height);
  VImage x = xy.extract_band(0), y = xy.extract_band(1);
  VImage red = (x * 255.0 / width), green = (y * 255.0 / height), blue = ((x + y) % 256);
  VImage image = red.bandjoin(green).bandjoin(blue).cast(VIPS_FORMAT_UCHAR);
  if (suffix.find("bitdepth=16") != std::string_view::npos) {
    // The PNG writer wants 16-bit pixels for 16-bit files (given 8-bit ones it reads past them).
    image = (image * 257).cast(VIPS_FORMAT_USHORT);
    return Encode(image.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16)), suffix);
  }
  return Encode(image.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB)), suffix);
}

std::string TransparentPng(int width, int height) {
  StartPictureLibrary();
  VImage image = Solid(width, height, Colour{0, 0, 0}, 3).bandjoin_const({0.0}).cast(VIPS_FORMAT_UCHAR);
  return Encode(image.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB)), ".png");
}

std::string JpegWithOrientation(int width, int height, int orientation) {
  StartPictureLibrary();
  VImage image = Solid(width, height, Colour{200, 30, 30}).copy();
  image.set("orientation", orientation);
  return Encode(image, ".jpg");
}

std::string AnimatedGif(int width, int height, Colour first, Colour second) {
  StartPictureLibrary();
  VImage frames = Solid(width, height, first).join(Solid(width, height, second), VIPS_DIRECTION_VERTICAL).copy();
  frames.set("page-height", height);
  return Encode(frames, ".gif");
}

std::string SolidBmp(int width, int height, Colour colour) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
  std::string out = "BM";
  PutLittle(out, 54 + pixelBytes, 4);
  PutLittle(out, 0, 4);
  PutLittle(out, 54, 4);
  PutLittle(out, 40, 4);
  PutLittle(out, static_cast<std::uint32_t>(width), 4);
  PutLittle(out, static_cast<std::uint32_t>(height), 4);
  PutLittle(out, 1, 2);
  PutLittle(out, 24, 2);
  PutLittle(out, 0, 4);
  PutLittle(out, pixelBytes, 4);
  PutLittle(out, 2835, 4);
  PutLittle(out, 2835, 4);
  PutLittle(out, 0, 4);
  PutLittle(out, 0, 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      out += static_cast<char>(colour.blue);
      out += static_cast<char>(colour.green);
      out += static_cast<char>(colour.red);
    }
    out.append(static_cast<std::size_t>(rowBytes - width * 3), '\0');
  }
  return out;
}

std::string PngClaiming(unsigned width, unsigned height) {
  std::string png = SolidPicture(1, 1, Colour{1, 2, 3}, ".png");
  // Signature (8), IHDR length (4) and type (4), then width and height; the CRC covers type and data.
  PutBigEndian32(png, 16, width);
  PutBigEndian32(png, 20, height);
  const auto crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
  PutBigEndian32(png, 29, static_cast<std::uint32_t>(crc));
  return png;
}

Decoded DecodePicture(std::string_view bytes) {
  StartPictureLibrary();
  Decoded decoded;
  try {
    VImage image = VImage::new_from_buffer(bytes.data(), bytes.size(), "",
                                           VImage::option()->set("fail_on", VIPS_FAIL_ON_ERROR));
    decoded.width = image.width();
    decoded.height = image.height();
    decoded.bands = image.bands();
    VImage stats = image.stats();  // touches every pixel
    for (int band = 0; band < image.bands(); ++band) decoded.average.push_back(stats(4, band + 1)[0]);
    decoded.ok = true;
  } catch (const vips::VError&) {
    vips_error_clear();
    decoded = Decoded{};
  }
  return decoded;
}

}  // namespace lumatrel::host::testing
