// The Windows converter: strict decoding into UTF-16, then the GB18030 codec, which refuses what
// it cannot encode. Wine has no code page 54936, so GB18030 is never asked of the system.
#include <windows.h>

#include <climits>
#include <string>

#include "text/CharsetConverter.h"
#include "text/Gb18030.h"

namespace lumatrel {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

void AppendUnit(std::u16string& units, char32_t cp) {
  if (cp >= 0x10000) {
    units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
    units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
  } else {
    units += static_cast<char16_t>(cp);
  }
}

// Refuses overlong forms, encoded surrogates, code points above U+10FFFF and truncated sequences.
std::optional<std::u16string> DecodeUtf8(std::span<const std::uint8_t> bytes) {
  std::u16string units;
  units.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::uint8_t b = bytes[i];
    std::size_t length = 1;
    char32_t cp = b;
    char32_t minimum = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
      cp = b & 0x1F;
      minimum = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      cp = b & 0x0F;
      minimum = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      cp = b & 0x07;
      minimum = 0x10000;
    } else if (b >= 0x80) {
      return std::nullopt;  // a continuation byte, C0, C1 or F5 to FF
    }
    if (bytes.size() - i < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return std::nullopt;
      cp = cp << 6 | (bytes[i + k] & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    AppendUnit(units, cp);
    i += length;
  }
  return units;
}

// Lone surrogates pass here; the GB18030 codec refuses them.
std::optional<std::u16string> DecodeUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    const std::uint8_t first = bytes[2 * i];
    const std::uint8_t second = bytes[2 * i + 1];
    units[i] = static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return units;
}

std::optional<std::u16string> DecodeBig5(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return std::u16string();
  if (bytes.size() > INT_MAX) return std::nullopt;
  const auto* data = reinterpret_cast<const char*>(bytes.data());
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(950, MB_ERR_INVALID_CHARS, data, size, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::u16string units(static_cast<std::size_t>(n), u'\0');
  if (MultiByteToWideChar(950, MB_ERR_INVALID_CHARS, data, size, reinterpret_cast<wchar_t*>(units.data()), n) != n) {
    return std::nullopt;
  }
  for (const char16_t unit : units) {
    if (unit >= 0xE000 && unit <= 0xF8FF) return std::nullopt;  // user-defined bytes, not Big5
  }
  return units;
}

}  // namespace

std::optional<Bytes> ConvertCharset(std::string_view from, std::string_view to, std::span<const std::uint8_t> input) {
  if (!SameName(to, "GB18030")) return std::nullopt;
  std::optional<std::u16string> units;
  if (SameName(from, "UTF-8")) {
    units = DecodeUtf8(input);
  } else if (SameName(from, "UTF-16LE")) {
    units = DecodeUtf16(input, false);
  } else if (SameName(from, "UTF-16BE")) {
    units = DecodeUtf16(input, true);
  } else if (SameName(from, "BIG5") || SameName(from, "BIG5-HKSCS")) {
    units = DecodeBig5(input);
  }
  if (!units) return std::nullopt;
  const auto encoded = Utf16ToGb18030(*units);
  if (!encoded) return std::nullopt;
  return Bytes(encoded->begin(), encoded->end());
}

}  // namespace lumatrel
