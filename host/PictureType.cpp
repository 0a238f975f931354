#include "host/PictureType.h"

#include <cstdint>

namespace lumatrel::host {
namespace {

bool Begins(std::string_view bytes, std::string_view signature) {
  return bytes.substr(0, signature.size()) == signature;
}

std::uint32_t ReadLittle32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// "BM" alone is two common letters; also require a known DIB header size so that a text file
// starting with "BM" is not taken for a bitmap.
bool LooksLikeBmp(std::string_view bytes) {
  if (bytes.size() < 26 || !Begins(bytes, "BM")) return false;
  switch (ReadLittle32(bytes, 14)) {
    case 12: case 40: case 52: case 56: case 64: case 108: case 124: return true;
    default: return false;
  }
}

}  // namespace

PictureType ProbePictureType(std::string_view bytes) {
  using namespace std::string_view_literals;
  if (Begins(bytes, "\x89PNG\r\n\x1a\n"sv)) return PictureType::Png;
  if (Begins(bytes, "\xff\xd8\xff"sv)) return PictureType::Jpeg;
  if (Begins(bytes, "GIF87a"sv) || Begins(bytes, "GIF89a"sv)) return PictureType::Gif;
  if (Begins(bytes, "II*\0"sv) || Begins(bytes, "MM\0*"sv)) return PictureType::Tiff;
  if (bytes.size() >= 12 && Begins(bytes, "RIFF"sv) && bytes.substr(8, 4) == "WEBP"sv) return PictureType::WebP;
  if (LooksLikeBmp(bytes)) return PictureType::Bmp;
  return PictureType::None;
}

std::string_view PictureTypeName(PictureType type) {
  switch (type) {
    case PictureType::Png: return "png";
    case PictureType::Jpeg: return "jpeg";
    case PictureType::Gif: return "gif";
    case PictureType::Tiff: return "tiff";
    case PictureType::Bmp: return "bmp";
    case PictureType::WebP: return "webp";
    case PictureType::None: break;
  }
  return "none";
}

}  // namespace lumatrel::host
