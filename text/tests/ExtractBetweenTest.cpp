#include "text/ExtractBetween.h"

#include <gtest/gtest.h>

namespace lumatrel {
namespace {

const Text kReply = R"({"code":0,"url":"http://p.example/abc","msg":"","path":"/abc"})";

TEST(ExtractBetween, ReadsQuotedFieldsOfAReply) {
  int pos = 0;
  EXPECT_EQ(ExtractBetween(kReply, "''url'':''", "\"", pos), "http://p.example/abc");
  EXPECT_EQ(pos, static_cast<int>(kReply.find("\",\"msg")) + 2);
  pos = 0;
  EXPECT_EQ(ExtractBetween(kReply, "''URL'':''", "\"", pos), "http://p.example/abc");  // case-insensitive
  pos = 0;
  EXPECT_EQ(ExtractBetween(kReply, "''path'':''", "\"", pos), "/abc");
}

TEST(ExtractBetween, EmptyValueMovesThePositionPastItsClosingQuote) {
  int pos = 0;
  EXPECT_EQ(ExtractBetween(kReply, "''msg'':''", "\"", pos), "");
  const int msgValue = static_cast<int>(kReply.find("\"msg\":\"")) + 1 + 7;
  EXPECT_EQ(pos, msgValue + 1);
}

TEST(ExtractBetween, MissingMarkersLeaveThePositionAlone) {
  int pos = 3;
  EXPECT_EQ(ExtractBetween(kReply, "''nothing'':''", "\"", pos), "");
  EXPECT_EQ(pos, 3);
}

TEST(ExtractBetween, EmptyMarkersStandForTheEnds) {
  const Text text = "hello";
  int pos = 1;
  EXPECT_EQ(ExtractBetween(text, "", "", pos), "hello");
  EXPECT_EQ(pos, static_cast<int>(text.size() + kStartToken.size() + kEndToken.size()) + 1);

  pos = 2;  // the start token stands only at position 1
  EXPECT_EQ(ExtractBetween(text, "", "l", pos), "");
  EXPECT_EQ(pos, 2);

  pos = 0;
  EXPECT_EQ(ExtractBetween("a=b=c", "=", "", pos), "b=c");
}

TEST(ExtractBetween, SecondPassDropsQuotesForUnquotedNames) {
  // url: without quotes fails the first pass; in the second the end marker is empty and is
  // found at 1, so the stretch is empty and the position becomes 1.
  const Text reply = R"({url:"http://x"})";
  int pos = 0;
  EXPECT_EQ(ExtractBetween(reply, "''url'':''", "\"", pos), "");
  EXPECT_EQ(pos, 1);
}

TEST(ExtractBetween, NeverStartsAMatchInsideACharacter) {
  // B0 5B is one character whose second byte is '['.
  int pos = 0;
  EXPECT_EQ(ExtractBetween("\xB0[x]", "[", "]", pos), "");
  EXPECT_EQ(pos, 0);
  pos = 0;
  EXPECT_EQ(ExtractBetween("\xB0[x][y]", "[", "]", pos), "y");
}

TEST(ExtractBetween, WalksRepeatedStretchesWithOnePosition) {
  const Text head = R"(<meta a="1"><title>t</title><META charset=utf-8>)";
  int pos = 0;
  EXPECT_EQ(ExtractBetween(head, "<meta", ">", pos), R"( a="1")");
  EXPECT_EQ(ExtractBetween(head, "<meta", ">", pos), " charset=utf-8");
  EXPECT_EQ(ExtractBetween(head, "<meta", ">", pos), "");
}

TEST(ExtractBetween, BackwardTakesTheNearestStartBeforeTheEnd) {
  int pos = 1;
  EXPECT_EQ(ExtractBetween("x[y]z[w]", "[", "]", pos, true), "y");
  EXPECT_EQ(pos, 5);
  pos = 1;
  EXPECT_EQ(ExtractBetween("[a[b]", "[", "]", pos, true), "b");
}

TEST(ExtractBetween, SkipDropAndApostrophes) {
  int pos = 0;
  EXPECT_EQ(ExtractBetween("<abcdef>", "<", ">", pos, false, 1, 2), "bcd");
  pos = 0;
  EXPECT_EQ(ExtractBetween("<ab>", "<", ">", pos, false, 1, 2), "");
  EXPECT_EQ(pos, 5);
  pos = 0;
  EXPECT_EQ(ExtractBetween("k=''v''", "''", "''", pos, false, 0, 0, true), "v");
  pos = 0;
  // No double quotes; the second pass drops them, leaving empty markers found at 1.
  EXPECT_EQ(ExtractBetween("k=''v''", "''", "''", pos), "");
  EXPECT_EQ(pos, 1);
}

}  // namespace
}  // namespace lumatrel
