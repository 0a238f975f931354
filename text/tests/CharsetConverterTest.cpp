#include "text/CharsetConverter.h"

#include <gtest/gtest.h>

#include <string>

namespace lumatrel {
namespace {

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

std::optional<std::string> Convert(std::string_view from, std::string_view bytes) {
  const auto out = ConvertCharset(from, "GB18030", B(bytes));
  if (!out) return std::nullopt;
  return std::string(out->begin(), out->end());
}

struct ConvertCase {
  const char* from;
  std::string_view bytes;
  std::string_view expected;
};

using namespace std::string_view_literals;

TEST(CharsetConverter, ConvertsTheWholeInputIntoGb18030) {
  const ConvertCase cases[] = {
      {"UTF-8", "\xE4\xB8\xAD\xE6\x96\x87" "abc", "中文abc"},
      {"UTF-8", "\xF0\x9F\x98\x80", "\x94\x39\xFC\x36"},          // outside the BMP
      {"UTF-8", "\xE2\x82\xAC", "\xA2\xE3"},                      // the euro sign, GB18030's form
      {"UTF-8", "\xEF\xBB\xBF" "a", "\x84\x31\x95\x33" "a"},      // a mark in the data is a character
      {"UTF-8", "a\0b"sv, "a\0b"sv},                              // zero bytes convert too
      {"UTF-16LE", "\x2D\x4E\x87\x65" "a\0"sv, "中文a"},
      {"UTF-16LE", "\x3D\xD8\x00\xDE"sv, "\x94\x39\xFC\x36"},
      {"UTF-16BE", "\x4E\x2D\x65\x87\0a"sv, "中文a"},
      {"BIG5", "\xA4\xA4\xA4\xE5" "a", "中文a"},
      {"BIG5-HKSCS", "\xA4\xA4\xA4\xE5" "a", "中文a"},
      {"utf-8", "a", "a"},                                        // names in any case
  };
  for (const ConvertCase& c : cases) {
    EXPECT_EQ(Convert(c.from, c.bytes), std::string(c.expected)) << c.from << " " << testing::PrintToString(std::string(c.bytes));
  }
  for (const char* from : {"UTF-8", "UTF-16LE", "UTF-16BE", "BIG5", "BIG5-HKSCS"}) {
    EXPECT_EQ(Convert(from, ""), std::string()) << from;
  }
}

TEST(CharsetConverter, GivesNothingForInputThatDoesNotConvertWhole) {
  const ConvertCase cases[] = {
      {"UTF-8", "abc\xC0\xAF", ""},         // overlong
      {"UTF-8", "\xED\xA0\x80", ""},        // an encoded surrogate
      {"UTF-8", "\xF4\x90\x80\x80", ""},    // above U+10FFFF
      {"UTF-8", "ab\xE4\xB8", ""},          // truncated
      {"UTF-8", "\xD6\xD0\xCE\xC4", ""},    // GBK bytes
      {"UTF-8", "a\xFF", ""},
      {"UTF-16LE", "a\0b"sv, ""},           // odd length
      {"UTF-16LE", "a\0\x00\xD8"sv, ""},    // a high surrogate at the end
      {"UTF-16LE", "\x00\xDC" "a\0"sv, ""}, // a lone low surrogate
      {"UTF-16BE", "\xD8\x00\x00" "a"sv, ""},
      {"BIG5", "\xA4\xA4\xA4", ""},         // truncated
      {"BIG5", "\xA4\xA4\xFF", ""},
      {"BIG5", "\x81\x40", ""},             // a user-defined code, no Big5 character
      {"KOI9-X", "abc", ""},                // an unknown name
  };
  for (const ConvertCase& c : cases) {
    EXPECT_EQ(Convert(c.from, c.bytes), std::nullopt) << c.from << " " << testing::PrintToString(std::string(c.bytes));
  }
}

TEST(CharsetConverter, Big5HkscsIsWhereTheTwoBuildsDiffer) {
  // 88 40 is U+31C0 in HKSCS and a user-defined code in code page 950. iconv knows HKSCS; Windows
  // has no strict code page for it, so the Windows converter refuses the whole text and leaves it
  // to the caller's fallback.
#ifdef _WIN32
  EXPECT_EQ(Convert("BIG5-HKSCS", "\xA4\xA4\x88\x40"), std::nullopt);
#else
  EXPECT_EQ(Convert("BIG5-HKSCS", "\xA4\xA4\x88\x40"), std::string("中\x81\x39\xB7\x36"));
#endif
}

}  // namespace
}  // namespace lumatrel
