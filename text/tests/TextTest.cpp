#include "text/Text.h"

#include <gtest/gtest.h>

namespace lumatrel {
namespace {

// "中" is D6 D0 and "文" is CE C4 in GBK; "\xB0\x41" is a character whose second byte is 'A'.
TEST(SourceCharset, LiteralsAreGbkBytes) {
  EXPECT_EQ(Text("#文件名称#").size(), 10u);
  EXPECT_EQ(Text("┊*┊"), "\xA9\xAE\x2A\xA9\xAE");
  EXPECT_EQ(Text("中文"), "\xD6\xD0\xCE\xC4");
}

struct FindCase {
  const char* text;
  const char* needle;
  int start;
  bool caseSensitive;
  int expected;
};

TEST(Find, FollowsTheStartAndCharacterRules) {
  const FindCase cases[] = {
      {"abcabc", "bc", 1, true, 2},
      {"abcabc", "bc", 3, true, 5},
      {"abcabc", "bc", -5, true, 2},    // below 1 counts as 1
      {"abc", "c", 4, true, -1},        // start beyond the text
      {"abc", "", 3, true, 1},          // empty needle: found at 1 whenever bytes remain
      {"abc", "", 4, true, -1},
      {"", "", 1, true, -1},
      {"aBc", "bC", 1, false, 2},
      {"aBc", "bC", 1, true, -1},
      {"\xB0\x41", "A", 1, true, -1},   // never inside a character
      {"\xB0\x41", "a", 1, false, -1},
      {"x\xB0\x41" "A", "A", 1, true, 4},
      {"\xB0\x61", "\xB0\x41", 1, false, 1},  // second bytes fold too
      {"ab\x81", "\x81", 1, true, -1},  // a lead byte as the last byte ends the scan
      {"\xD6\xD0\xCE\xC4", "\xD0\xCE", 1, true, -1},
      {"\xD6\xD0\xCE\xC4", "\xCE\xC4", 1, true, 3},
      {"\xC1x", "\xE1X", 1, false, -1},  // only A-Z/a-z fold: C1 and E1 differ
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Find(c.text, c.needle, c.start, c.caseSensitive), c.expected)
        << "text=" << c.text << " needle=" << c.needle << " start=" << c.start;
  }
}

TEST(FindBackward, TakesTheLastMatchWhollyBeforeTheLimit) {
  const FindCase cases[] = {
      {"abcabc", "bc", 7, true, 5},
      {"abcabc", "bc", 6, true, 2},   // 5..6 does not lie within 1..5
      {"abcabc", "bc", 2, true, -1},
      {"abcabc", "", 2, true, 1},
      {"abcabc", "", 1, true, -1},
      {"abc", "c", 100, true, 3},
      {"x\xB0\x41", "A", 4, true, -1},
      {"aXbx", "x", 5, false, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindBackward(c.text, c.needle, c.start, c.caseSensitive), c.expected)
        << "text=" << c.text << " needle=" << c.needle << " before=" << c.start;
  }
}

TEST(Replace, HonoursStartCountCaseAndCharacters) {
  EXPECT_EQ(Replace("a-b-c", "-"), "abc");
  EXPECT_EQ(Replace("a-b-c", "-", "+"), "a+b+c");
  EXPECT_EQ(Replace("a-b-c-d", "-", "+", 3), "a-b+c+d");  // bytes before start copied unchanged
  EXPECT_EQ(Replace("a-b-c-d", "-", "+", 1, 2), "a+b+c-d");
  EXPECT_EQ(Replace("aAa", "a", "x", 1, 0, false), "xxx");
  EXPECT_EQ(Replace("aAa", "a", "x", 1, 0, true), "xAx");
  EXPECT_EQ(Replace("aaa", "aa", "b"), "ba");  // no overlap
  EXPECT_EQ(Replace("\xB0\x41" "A", "A", "z"), "\xB0\x41z");
  EXPECT_EQ(Replace("ab\x81", "\x81", "z"), "ab\x81");
  EXPECT_EQ(Replace("abc", "", "z"), "abc");
  EXPECT_EQ(Replace("abc", "b", "z", 9), "abc");
  EXPECT_EQ(Replace("''x''", "''", "\""), "\"x\"");
  EXPECT_EQ(Replace("'''", "''", "\""), "\"'");
}

TEST(Split, DropsOnlyAnEmptyLastItem) {
  using V = std::vector<Text>;
  EXPECT_EQ(Split("a\r\nb\r\n", "\r\n"), (V{"a", "b"}));
  EXPECT_EQ(Split("a[fg][fg]b", "[fg]"), (V{"a", "", "b"}));
  EXPECT_EQ(Split("", ","), V{});
  EXPECT_EQ(Split(",", ","), V{""});
  EXPECT_EQ(Split("abc", ""), V{"abc"});
  EXPECT_EQ(Split("\xB0,x,y", ","), (V{"\xB0,x", "y"}));  // the comma after B0 is its second byte
}

TEST(Trim, RemovesSpacesAndIdeographicSpacesOnly) {
  EXPECT_EQ(Trim("  \xA1\xA1 a b \xA1\xA1  "), "a b");
  EXPECT_EQ(Trim("\ta\r\n"), "\ta\r\n");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  // B0 A1 is a character: its A1 and the next A1 are not an ideographic space.
  EXPECT_EQ(Trim("x\xB0\xA1\xA1"), "x\xB0\xA1\xA1");
}

TEST(Cut, LeftRightMidCountBytes) {
  EXPECT_EQ(Left("\xD6\xD0" "a", 1), "\xD6");
  EXPECT_EQ(Left("abc", 0), "");
  EXPECT_EQ(Left("abc", -1), "");
  EXPECT_EQ(Left("abc", 9), "abc");
  EXPECT_EQ(Right("abc", 2), "bc");
  EXPECT_EQ(Right("abc", 9), "abc");
  EXPECT_EQ(Right("abc", 0), "");
  EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Mid("abcdef", 5, 9), "ef");
  EXPECT_EQ(Mid("abcdef", 0, 2), "");
  EXPECT_EQ(Mid("abcdef", 7, 2), "");
  EXPECT_EQ(Mid("abcdef", 3), "cdef");
}

TEST(Casing, ChangesOnlySingleByteLetters) {
  EXPECT_EQ(ToLower("HTTP://\xB0\x41Z"), "http://\xB0\x41z");
  EXPECT_EQ(ToUpper("abc\xB0\x61z"), "ABC\xB0\x61Z");
}

TEST(TextFromBytes, EndsBeforeTheFirstZero) {
  const Bytes bytes{'a', 'b', 0, 'c'};
  EXPECT_EQ(TextFromBytes(bytes), "ab");
  EXPECT_EQ(BytesFromText("ab"), (Bytes{'a', 'b'}));
}

}  // namespace
}  // namespace lumatrel
