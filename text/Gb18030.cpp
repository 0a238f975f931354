// GB18030 over code page 936: the two-byte codes are what code page 936 says, except for the runs
// where GB18030 says otherwise (its user-defined areas and the characters it has since given real
// code points); four-byte codes of the BMP come from the range table, those of the other planes
// from the linear formula. The tables are built once, on first use.
#include "text/Gb18030.h"

#include <cstdint>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include "text/CodePagesIconv.h"
#endif

namespace lumatrel {
namespace {

struct FourByteRange {
  std::uint16_t firstIndex;
  std::uint16_t count;
  std::uint16_t firstCodePoint;
};

struct TwoByteRun {
  std::uint16_t firstCode;
  std::uint16_t count;
  std::uint32_t firstCodePoint;
};

#include "text/Gb18030Ranges.inc"

constexpr int kLeadCount = 0xFE - 0x81 + 1;
constexpr int kTrailCount = 0xFE - 0x40;  // 40-7E and 80-FE
constexpr std::uint32_t kBmpFourByteCodes = 39420;      // 81 30 81 30 to 84 31 A4 39
constexpr std::uint32_t kSupplementaryFirstIndex = 189000;  // 90 30 81 30, U+10000
constexpr char32_t kReplacement = 0xFFFD;

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }
bool IsDigit(unsigned char c) { return c >= 0x30 && c <= 0x39; }
int TrailIndex(unsigned char trail) { return trail < 0x7F ? trail - 0x40 : trail - 0x41; }
int TwoByteIndex(unsigned char lead, unsigned char trail) { return (lead - 0x81) * kTrailCount + TrailIndex(trail); }

std::uint32_t FourByteIndex(unsigned char b1, unsigned char b2, unsigned char b3, unsigned char b4) {
  return (((b1 - 0x81u) * 10 + (b2 - 0x30u)) * 126 + (b3 - 0x81u)) * 10 + (b4 - 0x30u);
}

std::uint32_t PackFourByte(std::uint32_t index) {
  const std::uint32_t b4 = 0x30 + index % 10;
  const std::uint32_t b3 = 0x81 + index / 10 % 126;
  const std::uint32_t b2 = 0x30 + index / 1260 % 10;
  const std::uint32_t b1 = 0x81 + index / 12600;
  return b1 << 24 | b2 << 16 | b3 << 8 | b4;
}

// The code point code page 936 gives a two-byte code, or 0 when it has none.
#ifdef _WIN32
class Cp936 {
 public:
  char32_t Decode(unsigned char lead, unsigned char trail) {
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    wchar_t units[2];
    return MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, pair, 2, units, 2) == 1 ? units[0] : 0;
  }
};
#else
class Cp936 {
 public:
  char32_t Decode(unsigned char lead, unsigned char trail) {
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    const auto le = converter_.Convert(std::string_view(pair, 2));
    if (!le || le->size() != 2) return 0;
    return static_cast<unsigned char>((*le)[0]) | static_cast<unsigned char>((*le)[1]) << 8;
  }

 private:
  Iconv converter_{"UTF-16LE", "CP936"};
};
#endif

struct Tables {
  std::vector<char32_t> twoByte;          // by TwoByteIndex; 0: no character
  std::vector<char16_t> fourByte;         // by four-byte index below kBmpFourByteCodes; 0: none
  std::vector<std::uint32_t> encodeBmp;   // by code point: a two-byte code, a packed four-byte code, or 0
  std::vector<std::pair<char32_t, std::uint16_t>> supplementaryTwoByte;  // the few such characters

  Tables() : twoByte(kLeadCount * kTrailCount), fourByte(kBmpFourByteCodes), encodeBmp(0x10000) {
    Cp936 cp936;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail != 0x7F) twoByte[TwoByteIndex(lead, trail)] = cp936.Decode(lead, trail);
      }
    }
    for (const TwoByteRun& run : kTwoByteRuns) {
      for (unsigned i = 0; i < run.count; ++i) {
        const unsigned code = run.firstCode + i;
        twoByte[TwoByteIndex(code >> 8, code & 0xFF)] = run.firstCodePoint + i;
      }
    }
    for (const FourByteRange& range : kFourByteRanges) {
      for (unsigned i = 0; i < range.count; ++i) fourByte[range.firstIndex + i] = range.firstCodePoint + i;
    }
    // The two-byte form wins where a character has both; the first two-byte code wins over later ones.
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        const char32_t cp = twoByte[TwoByteIndex(lead, trail)];
        const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
        if (cp >= 0x10000) {
          supplementaryTwoByte.emplace_back(cp, code);
        } else if (cp >= 0x80 && encodeBmp[cp] == 0) {
          encodeBmp[cp] = code;
        }
      }
    }
    for (std::uint32_t index = 0; index < kBmpFourByteCodes; ++index) {
      const char16_t cp = fourByte[index];
      if (cp != 0 && encodeBmp[cp] == 0) encodeBmp[cp] = PackFourByte(index);
    }
  }
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

// One character decoded from the start of bytes. A character that does not decode gives
// kReplacement with valid false; its length is what a lenient reader skips: the whole code when it
// is well formed but has no character, else the lead byte alone, so an ASCII byte after a broken
// lead is read again as itself.
struct Decoded {
  char32_t codePoint;
  std::size_t length;
  bool valid;
};

Decoded DecodeOne(const Tables& tables, std::string_view bytes, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
  const std::size_t left = bytes.size() - at;
  const unsigned char b1 = byte(0);
  if (b1 < 0x80) return {b1, 1, true};
  if (!IsLead(b1) || left < 2) return {kReplacement, 1, false};
  const unsigned char b2 = byte(1);
  if (IsTrail(b2)) {
    const char32_t cp = tables.twoByte[TwoByteIndex(b1, b2)];
    return cp != 0 ? Decoded{cp, 2, true} : Decoded{kReplacement, 2, false};
  }
  if (!IsDigit(b2) || left < 4 || !IsLead(byte(2)) || !IsDigit(byte(3))) return {kReplacement, 1, false};
  const std::uint32_t index = FourByteIndex(b1, b2, byte(2), byte(3));
  if (index < kBmpFourByteCodes) {
    const char16_t cp = tables.fourByte[index];
    return cp != 0 ? Decoded{cp, 4, true} : Decoded{kReplacement, 4, false};
  }
  if (index >= kSupplementaryFirstIndex && index - kSupplementaryFirstIndex <= 0x10FFFF - 0x10000) {
    return {0x10000 + (index - kSupplementaryFirstIndex), 4, true};
  }
  return {kReplacement, 4, false};
}

// Appends the GB18030 form of cp; false when it has none (a surrogate, or one of the few private
// use characters whose codes GB18030 has given to real characters).
bool EncodeOne(const Tables& tables, char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
    return true;
  }
  std::uint32_t code = 0;
  if (cp < 0x10000) {
    code = tables.encodeBmp[cp];
  } else if (cp <= 0x10FFFF) {
    for (const auto& [supplementary, twoByte] : tables.supplementaryTwoByte) {
      if (supplementary == cp) code = twoByte;
    }
    if (code == 0) code = PackFourByte(kSupplementaryFirstIndex + (cp - 0x10000));
  }
  if (code == 0) return false;
  if (code > 0xFFFF) {
    out += static_cast<char>(code >> 24);
    out += static_cast<char>(code >> 16 & 0xFF);
  }
  out += static_cast<char>(code >> 8 & 0xFF);
  out += static_cast<char>(code & 0xFF);
  return true;
}

template <class Unit>
void AppendCodePoint(std::basic_string<Unit>& out, char32_t cp) {
  if (sizeof(Unit) == 2 && cp >= 0x10000) {
    out += static_cast<Unit>(0xD800 + ((cp - 0x10000) >> 10));
    out += static_cast<Unit>(0xDC00 + ((cp - 0x10000) & 0x3FF));
  } else {
    out += static_cast<Unit>(cp);
  }
}

bool IsSurrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

// Reads the code point that begins at units[i] and moves i past it; a lone surrogate comes back as
// itself (callers refuse or replace it).
template <class Unit>
char32_t NextCodePoint(std::basic_string_view<Unit> units, std::size_t& i) {
  const char32_t first = static_cast<char32_t>(units[i++]);
  if (sizeof(Unit) == 2 && first >= 0xD800 && first <= 0xDBFF && i < units.size()) {
    const char32_t second = static_cast<char32_t>(units[i]);
    if (second >= 0xDC00 && second <= 0xDFFF) {
      ++i;
      return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    }
  }
  return first;
}

}  // namespace

std::optional<std::u16string> Gb18030ToUtf16(std::string_view bytes) {
  const Tables& tables = GetTables();
  std::u16string units;
  units.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const Decoded d = DecodeOne(tables, bytes, i);
    if (!d.valid) return std::nullopt;
    AppendCodePoint(units, d.codePoint);
    i += d.length;
  }
  return units;
}

std::optional<std::string> Utf16ToGb18030(std::u16string_view units) {
  const Tables& tables = GetTables();
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (std::size_t i = 0; i < units.size();) {
    const char32_t cp = NextCodePoint(units, i);
    if (IsSurrogate(cp) || !EncodeOne(tables, cp, bytes)) return std::nullopt;
  }
  return bytes;
}

std::wstring WideFromText(std::string_view text) {
  const Tables& tables = GetTables();
  std::wstring wide;
  wide.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Decoded d = DecodeOne(tables, text, i);
    AppendCodePoint(wide, d.codePoint);
    i += d.length;
  }
  return wide;
}

std::string TextFromWide(std::wstring_view wide) {
  const Tables& tables = GetTables();
  std::string text;
  text.reserve(wide.size() * 2);
  for (std::size_t i = 0; i < wide.size();) {
    const char32_t cp = NextCodePoint(wide, i);
    if (cp == 0) break;
    if (IsSurrogate(cp) || !EncodeOne(tables, cp, text)) text += '?';
  }
  return text;
}

}  // namespace lumatrel
