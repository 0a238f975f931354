#include "text/DecodeReplyText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "text/ExtractBetween.h"

#ifdef _WIN32
#include "text/Gb18030.h"
#endif

namespace lumatrel {
namespace {

using namespace std::string_view_literals;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

struct Outcome {
  Text text;
  std::int32_t detected;
};

Outcome Decode(std::int32_t selector, std::string_view body) {
  std::int32_t detected = -7;
  Text text = "stale";
  const Text result = DecodeReplyText({}, selector, detected, text, B(body), {});
  EXPECT_EQ(result, text);
  return {result, detected};
}

// The reply of the picture service: ASCII, with its escapes still in it.
constexpr std::string_view kServiceReply =
    R"({"code":0,"url":"http:\/\/p.example\/abc","msg":"\u4e0a\u4f20\u6210\u529f","path":"\/abc"})";

std::string Utf16LeWithMark(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

TEST(DecodeReplyText, ServiceReplyAsUtf8AndAsUtf16WithMarkGivesTheSameText) {
  const Outcome utf8 = Decode(kCharsetDetect, kServiceReply);
  EXPECT_EQ(utf8.text, kServiceReply);
  EXPECT_EQ(utf8.detected, kCharsetUtf8);
  const Outcome utf16 = Decode(kCharsetDetect, Utf16LeWithMark(kServiceReply));
  EXPECT_EQ(utf16.text, kServiceReply);
  EXPECT_EQ(utf16.detected, kCharsetUtf16Le);

  const auto field = [&](std::string_view start) {
    int position = 1;
    return ExtractBetween(utf16.text, start, "\"", position);
  };
  EXPECT_EQ(field("''url'':''"), R"(http:\/\/p.example\/abc)");
  EXPECT_EQ(field("''msg'':''"), R"(\u4e0a\u4f20\u6210\u529f)");
  EXPECT_EQ(field("''path'':''"), R"(\/abc)");
}

struct DecodeCase {
  const char* name;
  std::int32_t selector;
  std::string_view body;
  std::string_view text;
  std::int32_t detected;
};

TEST(DecodeReplyText, DetectsConvertsAndFallsBack) {
  const DecodeCase cases[] = {
      {"empty body", 0, "", "", 1},
      {"ASCII up to its first zero byte", 0, "abc\0def"sv, "abc", 2},
      {"UTF-8 without a mark", 0, "\xE4\xB8\xAD\xE6\x96\x87", "中文", 2},
      {"UTF-8 outside GBK: GB18030's four-byte form", 0, "a\xF0\x9F\x98\x80", "a\x94\x39\xFC\x36", 2},
      {"GBK without declaration: the raw text", 0, "中文abc", "中文abc", 1},
      {"raw text ends at a 1A that begins a character", 0, "中\x1A文", "中", 1},
      {"a 1A after a lead byte is passed over", 0, "\xB0\x1A中", "\xB0\x1A中", 1},
      {"raw text ends at a zero byte", 0, "中\0文"sv, "中", 1},
      {"a zero after a lead byte ends the text too", 0, "\xB0\0abc"sv, "\xB0", 1},
      {"UTF-8 mark", 0, "\xEF\xBB\xBF" "abc", "abc", 2},
      {"UTF-16LE mark", 0, "\xFF\xFE\x2D\x4E" "a\0"sv, "中a", 3},
      {"UTF-16BE mark", 0, "\xFE\xFF\x4E\x2D\0a"sv, "中a", 4},
      {"UTF-16LE without mark: its first character", 0, "a\0b\0"sv, "a", 2},
      {"meta declares utf-8 in double quotes; the bytes are not UTF-8", 0,
       "<head><meta charset=\"utf-8\"></head>\xE4\xB8\xAD\xFF", "<head><meta charset=\"utf-8\"></head>中?", 2},
      {"gb2312 matches no list: UTF-8 decides (GBK bytes)", 0, "<head><meta charset=gb2312></head>中",
       "<head><meta charset=gb2312></head>中", 1},
      {"gb2312 matches no list: UTF-8 decides (ASCII)", 0, "<head><meta charset=gb2312></head>a",
       "<head><meta charset=gb2312></head>a", 2},
      {"Big5-HKSCS unquoted", 0, "<meta charset=Big5-HKSCS>\xA4\xA4", "<meta charset=Big5-HKSCS>中", 6},
      {"Big5-HKSCS in double quotes", 0, "<meta charset=\"Big5-HKSCS\">\xA4\xA4", "<meta charset=\"Big5-HKSCS\">中", 6},
      {"Big5-HKSCS in single quotes", 0, "<meta content=\"text/html; charset='Big5-HKSCS'\">\xA4\xA4",
       "<meta content=\"text/html; charset='Big5-HKSCS'\">中", 6},
      {"Big5, any case", 0, "<HEAD><META content=\"text/html; CHARSET=big5\"></HEAD>\xA4\xA4\xA4\xE5",
       "<HEAD><META content=\"text/html; CHARSET=big5\"></HEAD>中文", 5},
      {"head with attributes: the whole page is searched", 0, "<head lang=zh><title>t</title></head><meta charset=Big5>\xA4\xA4",
       "<head lang=zh><title>t</title></head><meta charset=Big5>中", 5},
      {"a plain head hides a meta tag after it", 0, "<head><title>t</title></head><meta charset=Big5>\xA4\xA4",
       "<head><title>t</title></head><meta charset=Big5>\xA4\xA4", 1},
      {"the second meta tag declares", 0, "<meta name=x><meta charset=Big5>\xA4\xA4", "<meta name=x><meta charset=Big5>中", 5},
      {"an empty meta tag ends the walk", 0, "<meta><meta charset=Big5>\xA4\xA4", "<meta><meta charset=Big5>\xA4\xA4", 1},
      {"a 1A before the meta tags hides them", 0, "x\x1A<meta charset=Big5>abc", "x\x1A<meta charset=Big5>abc", 2},
      {"Big5 refused by the named conversion: the system code pages", 0, "<meta charset=Big5>\xA4\xA4\xFF",
       "<meta charset=Big5>中?", 5},
      {"selector 1 still tries UTF-8", 1, "\xE4\xB8\xAD", "中", 2},
      {"selector 1 with GBK bytes", 1, "中", "中", 1},
      {"selector 1 ignores a declaration", 1, "<meta charset=Big5>\xA4\xA4", "<meta charset=Big5>\xA4\xA4", 1},
      {"selector 2 drops a UTF-8 mark", 2, "\xEF\xBB\xBF" "abc", "abc", 2},
      {"selector 2 on GBK bytes: the lenient fallback", 2, "中", "??", 2},
      {"selector 3 drops two bytes whatever they are", 3, "xx\x2D\x4E", "中", 3},
      {"selector 3 with a lone surrogate: the lenient fallback", 3, "\xFF\xFE" "a\0\x00\xD8" "b\0"sv, "a?b", 3},
      {"selector 4 with a lone surrogate: swapped, then the fallback", 4, "\xFE\xFF\0a\xD8\x00\0b"sv, "a?b", 4},
      {"selector 3 on one byte: nothing converts, the raw text", 3, "a", "a", 1},
      {"selector 5", 5, "\xA4\xA4", "中", 5},
      {"a selector outside the table acts like 1", 7, "abc", "abc", 2},
  };
  for (const DecodeCase& c : cases) {
    const Outcome outcome = Decode(c.selector, c.body);
    EXPECT_EQ(outcome.text, c.text) << c.name;
    EXPECT_EQ(outcome.detected, c.detected) << c.name;
  }
}

TEST(DecodeReplyText, Big5HkscsOnlyCharactersDifferBetweenTheBuilds) {
  const Outcome outcome = Decode(kCharsetDetect, "<meta charset=Big5-HKSCS>\x88\x40");
  EXPECT_EQ(outcome.detected, kCharsetBig5Hkscs);
#ifdef _WIN32
  // No strict HKSCS code page: the named conversion refuses, and code page 950 reads 88 40 as a
  // private use character that GBK lacks.
  EXPECT_EQ(outcome.text, "<meta charset=Big5-HKSCS>?");
#else
  // iconv knows HKSCS: U+31C0 in GB18030's four-byte form.
  EXPECT_EQ(outcome.text, "<meta charset=Big5-HKSCS>\x81\x39\xB7\x36");
#endif
}

TEST(DecodeReplyText, InputComesFromBytesThenFallbackText) {
  std::int32_t detected = 0;
  Text text;
  EXPECT_EQ(DecodeReplyText({}, 0, detected, text, {}, "abc"), "abc");
  EXPECT_EQ(detected, kCharsetUtf8);
  EXPECT_EQ(DecodeReplyText({}, 0, detected, text, B("x"), "abc"), "x");
  EXPECT_EQ(DecodeReplyText({}, 0, detected, text, {}, {}), "");
  EXPECT_EQ(detected, kCharsetAnsi);
}

// Writes a file whose name is Text (GBK, or GB18030 outside GBK).
bool WriteFile(const Text& path, std::string_view bytes) {
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
#ifdef _WIN32
  const std::unique_ptr<std::FILE, Closer> file(_wfopen(WideFromText(path).c_str(), L"wb"));
#else
  const std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "wb"));
#endif
  return file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

void RemoveFile(const Text& path) {
#ifdef _WIN32
  _wremove(WideFromText(path).c_str());
#else
  std::remove(path.c_str());
#endif
}

TEST(DecodeReplyText, ReadsAFileWhoseNameIsOutsideGbk) {
  // 回复 and an emoji (GB18030's four-byte form) in the name.
  const Text path = testing::TempDir() + "回复\x94\x39\xFC\x36.txt";
  ASSERT_TRUE(WriteFile(path, Utf16LeWithMark(kServiceReply)));
  std::int32_t detected = 0;
  Text text;
  EXPECT_EQ(DecodeReplyText(path, 0, detected, text, B("ignored"), "ignored"), kServiceReply);
  EXPECT_EQ(detected, kCharsetUtf16Le);
  RemoveFile(path);
}

TEST(DecodeReplyText, AFileThatCannotBeOpenedGivesTheEmptyTextAndLeavesDetectedAlone) {
  std::int32_t detected = 42;
  Text text = "old";
  EXPECT_EQ(DecodeReplyText(testing::TempDir() + "no-such-reply.txt", 0, detected, text, B("abc"), "abc"), "");
  EXPECT_EQ(text, "");
  EXPECT_EQ(detected, 42);
}

TEST(DetectPageCharset, FindsTheFirstDeclarationAmongTheMetaTags) {
  struct Case {
    const char* page;
    bool found;
    int which;
  };
  const Case cases[] = {
      {"<head><meta charset=UTF-8></head>", true, kDeclaredUtf8},
      {"<head><Meta http-equiv=x content='text/html; charset=utf-8'></head>", true, kDeclaredUtf8},
      {"<head><meta charset='UTF-8'></head>", true, kDeclaredUtf8},
      {"<head><meta charset=big5-hkscs></head>", true, kDeclaredBig5Hkscs},
      {"<meta charset=Big5>", true, kDeclaredBig5},
      {"<meta name=a><meta name=b><meta charset=utf-8>", true, kDeclaredUtf8},
      {"<meta charset=utf-8 ", false, kDeclaredNone},           // no closing >
      {"<meta charset=gb2312>", false, kDeclaredNone},
      {"<head></head><meta charset=utf-8>", true, kDeclaredUtf8},  // an empty head: the whole page
      {"charset=utf-8", false, kDeclaredNone},                  // not in a meta tag
      {"", false, kDeclaredNone},
  };
  for (const Case& c : cases) {
    int which = -1;
    EXPECT_EQ(DetectPageCharset(c.page, which), c.found) << c.page;
    EXPECT_EQ(which, c.which) << c.page;
  }
}

TEST(ContainsAny, TestsTheAlternativesCaseInsensitively) {
  struct Case {
    const char* text;
    const char* alternatives;
    bool any;
    bool expected;
  };
  const Case cases[] = {
      {"abc", "x[fg]B", true, true},
      {"abc", "x[fg]y", true, false},
      {"abc", "", true, false},       // an empty list
      {"abc", "", false, true},
      {"abc", "[fg]x", true, true},   // an empty alternative between separators counts, found in any text
      {"", "[fg]x", true, false},     // but not in the empty text
      {"abc", "x[fg]", true, false},  // an empty last alternative is dropped
      {"abc", "A[fg]c", false, true},
      {"abc", "a[fg]x", false, false},
      // The split is exact, so [FG] is one alternative; and no match begins inside the character B0 5B.
      {"\xB0[fg]x", "[FG]", true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ContainsAny(c.text, c.alternatives, c.any), c.expected) << c.text << " / " << c.alternatives;
  }
}

TEST(FallbackConverters, UseTheSystemCodePagesLeniently) {
  EXPECT_EQ(Utf8ToAnsi(B("\xE4\xB8\xAD" "a\xFF")), "中a?");
  EXPECT_EQ(Utf8ToAnsi(B("ab\0cd"sv)), "ab");
  EXPECT_EQ(Utf16ToAnsi(B("\x2D\x4E" "a\0\0\0b\0"sv)), "中a");  // up to the first zero unit
  EXPECT_EQ(Utf16ToAnsi(B("a\0b"sv)), "a");                      // an odd last byte is ignored
  EXPECT_EQ(Utf16ToAnsi(B("a\0\x5C\xD5"sv)), "a?");              // Hangul has no GBK form
  EXPECT_EQ(Big5ToGbk("\xA4\xA4\xA4\xE5"), "中文");
  EXPECT_EQ(Big5ToGbk("\xA4\xA4\xA1\x45" "a"), "中?a");          // U+2027, which GBK lacks, becomes '?'
}

}  // namespace
}  // namespace lumatrel
