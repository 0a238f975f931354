#include "text/Gb18030.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#ifndef _WIN32
#include "text/CodePagesIconv.h"
#endif

namespace lumatrel {
namespace {

#include "text/tests/Gb18030Digest.inc"

constexpr std::uint32_t kBmpFourByteCodes = 39420;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

std::string FourBytes(std::uint32_t index) {
  return {static_cast<char>(0x81 + index / 12600), static_cast<char>(0x30 + index / 1260 % 10),
          static_cast<char>(0x81 + index / 10 % 126), static_cast<char>(0x30 + index % 10)};
}

std::vector<std::string> TwoByteCodes() {
  std::vector<std::string> codes;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail != 0x7F) codes.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  return codes;
}

std::u16string Utf16Of(char32_t cp) {
  if (cp < 0x10000) return std::u16string(1, static_cast<char16_t>(cp));
  return {static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)), static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF))};
}

// The one code point bytes decode to, or kNone.
std::uint32_t DecodedCodePoint(const std::string& bytes) {
  const auto units = Gb18030ToUtf16(bytes);
  if (!units || units->empty() || units->size() > 2) return kNone;
  if (units->size() == 1) return (*units)[0];
  return 0x10000 + (((*units)[0] - 0xD800) << 10) + ((*units)[1] - 0xDC00);
}

struct Digest {
  std::uint64_t value = 0xCBF29CE484222325ull;
  void Add(std::uint8_t b) { value = (value ^ b) * 0x100000001B3ull; }
  void AddLittleEndian(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) Add(static_cast<std::uint8_t>(v >> (8 * i)));
  }
};

// The digests are those text/tools/gen_gb18030_tables.py takes of iconv's GB18030: each code
// point as four little-endian bytes (FFFFFFFF for no character) for every two-byte code and every
// four-byte code of the BMP in order, and for every BMP code point but the surrogates the length
// of its GB18030 form (0 for none) followed by the form. They let the Windows build, which has no
// iconv, check its codec end to end.
TEST(Gb18030, TwoByteCodesDecodeAsIconvDoes) {
  Digest digest;
  for (const std::string& code : TwoByteCodes()) digest.AddLittleEndian(DecodedCodePoint(code));
  EXPECT_EQ(digest.value, kTwoByteDecodeDigest);
}

TEST(Gb18030, FourByteCodesOfTheBmpDecodeAsIconvDoes) {
  Digest digest;
  for (std::uint32_t index = 0; index < kBmpFourByteCodes; ++index) digest.AddLittleEndian(DecodedCodePoint(FourBytes(index)));
  EXPECT_EQ(digest.value, kFourByteDecodeDigest);
}

TEST(Gb18030, BmpCodePointsEncodeAsIconvDoes) {
  Digest digest;
  for (char32_t cp = 0; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const std::string bytes = Utf16ToGb18030(Utf16Of(cp)).value_or("");
    digest.Add(static_cast<std::uint8_t>(bytes.size()));
    for (const char c : bytes) digest.Add(static_cast<std::uint8_t>(c));
  }
  EXPECT_EQ(digest.value, kBmpEncodeDigest);
}

struct KnownCase {
  char32_t codePoint;
  const char* bytes;
  const char* why;
};

TEST(Gb18030, KnownCharactersBothWays) {
  const KnownCase cases[] = {
      {U'A', "A", "ASCII"},
      {0x4E2D, "\xD6\xD0", "GBK 中"},
      {0x00B7, "\xA1\xA4", "code page 936's middle dot"},
      {0x2014, "\xA1\xAA", "code page 936's em dash"},
      {0x20AC, "\xA2\xE3", "the euro sign: GB18030's two-byte code, not code page 936's single 80"},
      {0x1E3F, "\xA8\xBC", "GB18030-2005 gave A8BC to this letter; code page 936 reads it as U+E7C7"},
      {0xE7C7, "\x81\x35\xF4\x37", "so the private use character moved to four bytes"},
      {0xFE10, "\xA6\xD9", "a vertical form; code page 936 reads A6D9 as private use U+E78D"},
      {0x2E81, "\xFE\x50", "a radical; code page 936 reads FE50 as private use U+E815"},
      {0xE000, "\xAA\xA1", "the first user-defined area"},
      {0x0080, "\x81\x30\x81\x30", "the first four-byte code"},
      {0xFFFF, "\x84\x31\xA4\x39", "the last four-byte code of the BMP"},
      {0x10000, "\x90\x30\x81\x30", "the first supplementary code point"},
      {0x1F600, "\x94\x39\xFC\x36", "an emoji, by the linear formula"},
      {0x10FFFF, "\xE3\x32\x9A\x35", "the last code point"},
      {0x20087, "\xFE\x51", "a supplementary character with a two-byte code"},
  };
  for (const KnownCase& c : cases) {
    EXPECT_EQ(Utf16ToGb18030(Utf16Of(c.codePoint)), std::string(c.bytes)) << c.why;
    EXPECT_EQ(DecodedCodePoint(c.bytes), c.codePoint) << c.why;
  }
  // The linear code of that supplementary character still decodes to it.
  EXPECT_EQ(DecodedCodePoint("\x95\x32\x90\x31"), 0x20087u);
}

TEST(Gb18030, StrictFormsRefuseWhatDoesNotConvertWhole) {
  const char* badBytes[] = {
      "\x80",              // a single byte in code page 936 (the euro sign), none in GB18030
      "\xFF",
      "a\x81",             // a lead byte at the end
      "\x81\x30", "\x81\x30\x81",  // truncated four-byte codes
      "\x81\x7F", "\x81\x20",      // not a second byte
      "\x81\x30\xFF\x30", "\x81\x30\x81\x7A",
      "\x84\x31\xA5\x30",  // past the BMP's four-byte codes, before the supplementary ones
      "\xE3\x32\x9A\x36",  // past U+10FFFF
      "\xFE\x39\xFE\x39",
      "\x82\x35\x90\x37",  // U+9FB4's old four-byte code: it has the two-byte FE59 now
  };
  for (const char* bytes : badBytes) EXPECT_FALSE(Gb18030ToUtf16(bytes)) << testing::PrintToString(std::string(bytes));
  EXPECT_EQ(Gb18030ToUtf16(""), std::u16string());
  EXPECT_EQ(Gb18030ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));

  EXPECT_FALSE(Utf16ToGb18030(u"\xD800"));
  EXPECT_FALSE(Utf16ToGb18030(u"a\xDC00"));
  EXPECT_FALSE(Utf16ToGb18030(u"\xD800" u"a"));
  // A private use character whose two-byte code GB18030 gave to a real character has no form.
  EXPECT_FALSE(Utf16ToGb18030(u"\xE78D"));
  EXPECT_EQ(Utf16ToGb18030(u""), std::string());
}

std::wstring WideOf(std::u32string_view codePoints) {
  std::wstring wide;
  for (const char32_t cp : codePoints) {
    if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
      wide += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
      wide += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      wide += static_cast<wchar_t>(cp);
    }
  }
  return wide;
}

TEST(Gb18030, EveryTwoByteCodeRoundTripsThroughWide) {
  std::string text;
  for (const std::string& code : TwoByteCodes()) text += code;
  EXPECT_EQ(TextFromWide(WideFromText(text)), text);
}

TEST(Gb18030, EveryFourByteCodeOfTheBmpWithACharacterRoundTrips) {
  int decoded = 0;
  for (std::uint32_t index = 0; index < kBmpFourByteCodes; ++index) {
    const std::string code = FourBytes(index);
    const auto units = Gb18030ToUtf16(code);
    if (!units) continue;
    ++decoded;
    EXPECT_EQ(Utf16ToGb18030(*units), code) << index;
  }
  EXPECT_EQ(decoded, 39420 - 18);  // the 18 codes of characters that now have two-byte codes
}

TEST(Gb18030, WideFromTextReplacesBrokenCodesAndKeepsTheAsciiAfterThem) {
  EXPECT_EQ(WideFromText("中文"), WideOf(U"中文"));
  EXPECT_EQ(WideFromText("a\x81"), WideOf(U"a\uFFFD"));
  EXPECT_EQ(WideFromText("\x81\"b"), WideOf(U"\uFFFD\"b"));
  EXPECT_EQ(WideFromText("\x80" "A"), WideOf(U"\uFFFDA"));
  EXPECT_EQ(WideFromText("\x81\x30" "9"), WideOf(U"\uFFFD09"));
  EXPECT_EQ(WideFromText("\x84\x31\xA5\x30" "x"), WideOf(U"\uFFFDx"));  // well formed, no character: one U+FFFD
  EXPECT_EQ(WideFromText("\x94\x39\xFC\x36"), WideOf(U"\U0001F600"));
}

TEST(Gb18030, TextFromWideGivesEveryCharacterAForm) {
  // A file name outside GBK (an emoji, Hangul) survives the trip to Text and back.
  const std::wstring name = WideOf(U"C:\\图\U0001F600\uD55C.png");
  const std::string text = TextFromWide(name);
  EXPECT_EQ(text, "C:\\图\x94\x39\xFC\x36\x83\x36\x84\x33.png");
  EXPECT_EQ(WideFromText(text), name);
  if (sizeof(wchar_t) == 2) {
    EXPECT_EQ(TextFromWide(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"a"), "?a");
  }
  EXPECT_EQ(TextFromWide(std::wstring(L"ab\0cd", 5)), "ab");  // a Text ends before a zero
  EXPECT_EQ(TextFromWide(std::wstring(1, static_cast<wchar_t>(0xE78D))), "?");
}

#ifndef _WIN32
// Natively the codec is checked against iconv code by code, so a difference names itself.
std::uint32_t IconvCodePoint(Iconv& toUtf32, const std::string& bytes) {
  const auto utf32 = toUtf32.Convert(bytes);
  if (!utf32 || utf32->size() != 4) return kNone;
  std::uint32_t cp = 0;
  for (int i = 3; i >= 0; --i) cp = cp << 8 | static_cast<unsigned char>((*utf32)[i]);
  return cp;
}

TEST(Gb18030AgainstIconv, DecodesEveryCodeOfTheTwoAndFourByteTables) {
  Iconv toUtf32("UTF-32LE", "GB18030");
  ASSERT_TRUE(toUtf32.IsOpen());
  int mismatches = 0;
  for (const std::string& code : TwoByteCodes()) {
    if (DecodedCodePoint(code) != IconvCodePoint(toUtf32, code) && ++mismatches <= 10) {
      ADD_FAILURE() << "two-byte code " << testing::PrintToString(code);
    }
  }
  for (std::uint32_t index = 0; index < kBmpFourByteCodes; ++index) {
    const std::string code = FourBytes(index);
    if (DecodedCodePoint(code) != IconvCodePoint(toUtf32, code) && ++mismatches <= 10) {
      ADD_FAILURE() << "four-byte index " << index;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Gb18030AgainstIconv, EncodesEveryBmpCodePoint) {
  Iconv fromUtf16("GB18030", "UTF-16LE");
  ASSERT_TRUE(fromUtf16.IsOpen());
  int mismatches = 0;
  for (char32_t cp = 0; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const char le[2] = {static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8)};
    if (Utf16ToGb18030(Utf16Of(cp)) != fromUtf16.Convert(std::string_view(le, 2)) && ++mismatches <= 10) {
      ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(cp);
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Gb18030AgainstIconv, SupplementaryPlanesFollowTheLinearFormula) {
  std::u16string all;
  std::string le;
  for (char32_t cp = 0x10000; cp <= 0x10FFFF; ++cp) {
    const std::u16string units = Utf16Of(cp);
    all += units;
    for (const char16_t unit : units) {
      le += static_cast<char>(unit & 0xFF);
      le += static_cast<char>(unit >> 8);
    }
  }
  Iconv fromUtf16("GB18030", "UTF-16LE");
  const auto expected = fromUtf16.Convert(le);
  ASSERT_TRUE(expected);
  const auto encoded = Utf16ToGb18030(all);
  ASSERT_TRUE(encoded);
  EXPECT_TRUE(*encoded == *expected);
  const auto decoded = Gb18030ToUtf16(*encoded);
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(*decoded == all);
}
#endif

}  // namespace
}  // namespace lumatrel
