#include "upload/UnescapeText.h"

#include <gtest/gtest.h>

namespace lumatrel {
namespace {

struct Case {
  const char* name;
  Text input;
  Text expected;
};

TEST(UnescapeText, ResolvesWhatTheEngineWould) {
  const Case cases[] = {
      {"backslash-u to GBK", "\\u4e0a\\u4f20", "上传"},
      {"escaped slashes", "http:\\/\\/p.example\\/abc", "http://p.example/abc"},
      {"percent hex", "%41", "A"},
      {"percent non-hex stays", "%zz%4", "%zz%4"},
      {"percent-u", "%u6210%u529F", "成功"},
      {"CR LF kept", "a\r\nb", "a\r\nb"},
      {"{$} becomes CR LF", "a{$}b", "a\r\nb"},
      {"A1AF becomes an apostrophe", "x\xA1\xAFy", "x'y"},
      {"apostrophe kept", "it's", "it's"},
      {"leading lone CR dropped", "\rabc", "abc"},
      {"simple escapes", "\\b\\t\\n\\v\\f\\r", "\b\t\n\v\f\r"},
      {"quote and backslash", "\\\"\\\\", "\"\\"},
      {"hex escape", "\\x41\\x4a", "AJ"},
      {"malformed hex is the letter", "\\xZ1", "xZ1"},
      {"octal escapes", "\\101\\62\\7a", "A2\x07" "a"},
      {"octal takes at most two digits from 4", "\\4012", " 12"},
      {"other characters stand for themselves", "\\q\\8", "q8"},
      {"escaped GBK character", "\\中", "中"},
      {"GBK trail byte 5C is no backslash", "\x81\x5C" "a", "\x81\x5C" "a"},
      {"backslash-u without four hex", "\\uZZ", "%uZZ"},
      {"upper-case U is a plain escape", "\\U0041", "U0041"},
      {"escaped backslash before u", "\\\\u0041", "A"},  // the \u inside becomes %u first
      {"percent-encoded percent", "\\x2541", "A"},       // the literal makes %41, unescape an A
      {"no GBK form becomes ?", "\\u00e9\\u0e01", "\xA8\xA6?"},
      {"zero unit ends the text", "ab\\0cd", "ab"},
      {"percent zero ends the text", "ab%00cd", "ab"},
      {"the service's reply", R"({"code":0,"url":"http:\/\/p.example\/abc","msg":"\u4e0a\u4f20\u6210\u529f","path":"\/abc"})",
       R"({"code":0,"url":"http://p.example/abc","msg":"上传成功","path":"/abc"})"},
  };
  for (const auto& c : cases) EXPECT_EQ(UnescapeText(c.input), c.expected) << c.name;
}

TEST(UnescapeText, LiteralsThatWouldNotCompileGiveEmpty) {
  const Case cases[] = {
      {"empty", "", ""},
      {"bare LF", "a\nb", ""},
      {"bare CR inside", "a\rb", ""},
      {"CR at the end", "ab\r", ""},
      {"second leading CR", "\r\rb", ""},
      {"trailing backslash", "abc\\", ""},
      {"escaped LF", "a\\\nb", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UnescapeText(c.input), c.expected) << c.name;
}

}  // namespace
}  // namespace lumatrel
