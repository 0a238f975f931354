#include <gtest/gtest.h>

#include "settings/ByteString.h"

namespace lumatrel {
namespace {

ByteString Of(std::string_view bytes) {
  ByteString s;
  s.Append(bytes);
  return s;
}

TEST(ByteStringTest, FindIsBytewiseFromStart) {
  using namespace std::string_literals;
  struct Case {
    std::string bytes, pattern;
    std::int64_t start, expected;
  } cases[] = {
      {"ab[S]cd[S]", "[S]", 0, 3},  {"ab[S]cd[S]", "[S]", 1, 3},   {"ab[S]cd[S]", "[S]", 3, 3},
      {"ab[S]cd[S]", "[S]", 4, 8},  {"ab[S]cd[S]", "[S]", 9, -1},  {"ab[S]", "[S]", 6, -1},
      {"ab[S]", "[S]", -5, 3},      {"", "[S]", 0, -1},
      // No regard to double-byte characters: a match inside one counts.
      {"\xB0\x5B\x53\x5D", "[S]", 1, 2}, {"a\0b\r\n"s, "\r\n", 1, 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Of(c.bytes).Find(c.pattern, c.start), c.expected) << c.bytes << " from " << c.start;
  }
  // Bounded: only occurrences beginning at or before last count.
  struct Bounded {
    std::int64_t start, last, expected;
  } bounded[] = {{1, 3, 3}, {1, 2, -1}, {4, 8, 8}, {4, 7, -1}, {1, 99, 3}, {5, 4, -1}, {0, 0, -1}};
  for (const Bounded& b : bounded) {
    EXPECT_EQ(Of("ab[S]cd[S]").Find("[S]", b.start, b.last), b.expected) << b.start << ".." << b.last;
  }
}

TEST(ByteStringTest, GetInsertDeleteStayInsideTheString) {
  const ByteString s = Of("abcdef");
  struct GetCase {
    std::int64_t start, count;
    std::string expected;
  } gets[] = {{1, 2, "ab"}, {5, 10, "ef"}, {6, 1, "f"}, {7, 1, ""}, {3, 0, ""}, {0, 2, "a"}, {-3, 2, ""}};
  for (const GetCase& c : gets) EXPECT_EQ(s.Get(c.start, c.count), c.expected) << c.start << "," << c.count;

  struct EditCase {
    int kind;  // 0 insert, 1 delete, 2 replace
    std::int64_t at, count;
    std::string bytes, expected;
  } edits[] = {
      {0, 1, 0, "XY", "XYabcdef"}, {0, 4, 0, "XY", "abcXYdef"}, {0, 7, 0, "XY", "abcdefXY"},
      {0, 8, 0, "XY", "abcdef"},   {0, 0, 0, "XY", "abcdef"},   {1, 2, 2, "", "adef"},
      {1, 5, 9, "", "abcd"},       {1, 3, 0, "", "abcdef"},     {1, 7, 1, "", "abcdef"},
      {1, 0, 2, "", "abcdef"},     {2, 2, 2, "XYZ", "aXYZdef"}, {2, 6, 5, "XY", "abcdeXY"},
      {2, 7, 0, "XY", "abcdefXY"}, {2, 3, 0, "", "abcdef"},     {2, 8, 1, "XY", "abcdef"},
  };
  for (const EditCase& c : edits) {
    ByteString edited = Of("abcdef");
    if (c.kind == 0) edited.Insert(c.at, c.bytes);
    if (c.kind == 1) edited.Delete(c.at, c.count);
    if (c.kind == 2) edited.Replace(c.at, c.count, c.bytes);
    EXPECT_EQ(edited.View(), c.expected) << "edit " << c.kind << " at " << c.at;
    EXPECT_EQ(edited.Length(), static_cast<std::int64_t>(c.expected.size()));
  }
  ByteString cleared = Of("abc");
  cleared.Clear();
  EXPECT_EQ(cleared.Length(), 0);
}

}  // namespace
}  // namespace lumatrel
