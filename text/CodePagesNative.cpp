// The system's lenient code-page conversions, emulated over iconv: every sequence that does not
// convert becomes one replacement character, and the conversion goes on after it.
#include <cstdint>

#include "text/CodePages.h"
#include "text/CodePagesIconv.h"

namespace lumatrel {
namespace {

const char* IconvName(unsigned codePage) {
  switch (codePage) {
    case kCodePageUtf8: return "UTF-8";
    case kCodePageBig5: return "CP950";
    case kCodePageGbk: return "CP936";
    default: return nullptr;
  }
}

std::string BytesOfUnits(std::u16string_view units) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::u16string MultiByteToUtf16(unsigned codePage, std::string_view bytes) {
  const char* name = IconvName(codePage);
  if (name == nullptr) return {};
  Iconv converter("UTF-16LE", name);
  std::string le;
  std::size_t position = 0;
  while (position < bytes.size()) {
    position += converter.ConvertPrefix(bytes.substr(position), le);
    if (position >= bytes.size()) break;
    // UTF-8 gives U+FFFD per bad byte; the double-byte code pages give '?' for the lead byte and
    // the byte after it, as the system does.
    const bool utf8 = codePage == kCodePageUtf8;
    le += utf8 ? "\xFD\xFF" : std::string("?\0", 2);
    const bool lead = static_cast<unsigned char>(bytes[position]) >= 0x81;
    position += (!utf8 && lead && position + 1 < bytes.size()) ? 2 : 1;
  }
  std::u16string units(le.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(le[2 * i]) |
                                     static_cast<unsigned char>(le[2 * i + 1]) << 8);
  }
  return units;
}

std::string Utf16ToMultiByte(unsigned codePage, std::u16string_view units) {
  const char* name = IconvName(codePage);
  if (name == nullptr) return {};
  Iconv converter(name, "UTF-16LE");
  const std::string le = BytesOfUnits(units);
  std::string out;
  std::size_t position = 0;
  while (position < le.size()) {
    position += converter.ConvertPrefix(std::string_view(le).substr(position), out);
    if (position >= le.size()) break;
    // A character without a form in the code page (or a lone surrogate) becomes the default.
    out += codePage == kCodePageUtf8 ? "\xEF\xBF\xBD" : "?";
    const std::size_t unit = position / 2;
    const bool pair = IsHighSurrogate(units[unit]) && unit + 1 < units.size() && IsLowSurrogate(units[unit + 1]);
    position += pair ? 4 : 2;
  }
  return out;
}

}  // namespace lumatrel
