#include "text/CodePages.h"

#include <gtest/gtest.h>

namespace lumatrel {
namespace {

struct RoundTrip {
  unsigned codePage;
  const char* bytes;
  const char16_t* units;
};

TEST(CodePages, ConvertEachCodePageBothWays) {
  const RoundTrip cases[] = {
      {kCodePageGbk, "中文 abc", u"中文 abc"},
      {kCodePageGbk, "\xA1\xA4\xA1\xAA", u"\u00B7\u2014"},
      {kCodePageBig5, "\xA4\xA4\xA4\xE5", u"中文"},
      {kCodePageUtf8, "\xE4\xB8\xAD\xF0\x9F\x98\x80", u"中\U0001F600"},
  };
  for (const RoundTrip& c : cases) {
    EXPECT_EQ(MultiByteToUtf16(c.codePage, c.bytes), c.units) << c.codePage;
    EXPECT_EQ(Utf16ToMultiByte(c.codePage, c.units), c.bytes) << c.codePage;
  }
  EXPECT_EQ(MultiByteToUtf16(kCodePageGbk, ""), u"");
  EXPECT_EQ(Utf16ToMultiByte(kCodePageGbk, u""), "");
}

TEST(CodePages, InvalidInputIsReplacedNotRefused) {
  EXPECT_EQ(MultiByteToUtf16(kCodePageUtf8, "a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(MultiByteToUtf16(kCodePageGbk, "a\x81"), u"a?");
  EXPECT_EQ(MultiByteToUtf16(kCodePageBig5, "\xA4\xA4\xA4"), u"中?");
  // A character without a form in the code page becomes its default character.
  EXPECT_EQ(Utf16ToMultiByte(kCodePageGbk, u"a\uD55C" u"b"), "a?b");
  EXPECT_EQ(Utf16ToMultiByte(kCodePageBig5, u"a\uD55C" u"b"), "a?b");
  EXPECT_EQ(Utf16ToMultiByte(kCodePageUtf8, u"a\xD800" u"b"), "a\xEF\xBF\xBD" "b");
}

TEST(CodePages, Cp936IsNotGb18030) {
  // Code page 936 has the euro sign as the single byte 80, and lacks the characters GB18030 added
  // (U+1E3F is A8BC in GB18030, and code page 936 reads A8BC as private use U+E7C7).
  EXPECT_EQ(Utf16ToMultiByte(kCodePageGbk, u"\u20AC"), "\x80");
  EXPECT_EQ(MultiByteToUtf16(kCodePageGbk, "\x80"), u"\u20AC");
  EXPECT_EQ(Utf16ToMultiByte(kCodePageGbk, u"\u1E3F"), "?");
}

TEST(CodePages, UserDefinedAreasAreWhereTheTwoBuildsDiffer) {
#ifdef _WIN32
  // The system's tables have the user-defined areas, as private use characters, and read the
  // single byte FF as private use too.
  EXPECT_EQ(MultiByteToUtf16(kCodePageBig5, "\xFF"), u"\uF8F8");
  EXPECT_EQ(MultiByteToUtf16(kCodePageGbk, "\xA8\xBC\xAA\xA1"), u"\uE7C7\uE000");
#else
  // The C library's tables leave the user-defined areas and FF out, so they are replaced.
  EXPECT_EQ(MultiByteToUtf16(kCodePageBig5, "\xFF"), u"?");
  EXPECT_EQ(MultiByteToUtf16(kCodePageGbk, "\xAA\xA1"), u"?");
#endif
}

TEST(CodePages, UnknownCodePageGivesNothing) {
  EXPECT_EQ(MultiByteToUtf16(12345, "abc"), u"");
  EXPECT_EQ(Utf16ToMultiByte(12345, u"abc"), "");
}

}  // namespace
}  // namespace lumatrel
