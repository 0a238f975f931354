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
}

TEST(ByteStringTest, GetInsertDeleteStayInsideTheString) {
  const ByteString s = Of("abcdef");
  struct GetCase {
    std::int64_t start, count;
    std::string expected;
  } gets[] = {{1, 2, "ab"}, {5, 10, "ef"}, {6, 1, "f"}, {7, 1, ""}, {3, 0, ""}, {0, 2, "a"}, {-3, 2, ""}};
  for (const GetCase& c : gets) EXPECT_EQ(s.Get(c.start, c.count), c.expected) << c.start << "," << c.count;

  struct EditCase {
    bool insert;
    std::int64_t at, count;
    std::string bytes, expected;
  } edits[] = {
      {true, 1, 0, "XY", "XYabcdef"}, {true, 4, 0, "XY", "abcXYdef"}, {true, 7, 0, "XY", "abcdefXY"},
      {true, 8, 0, "XY", "abcdef"},   {true, 0, 0, "XY", "abcdef"},   {false, 2, 2, "", "adef"},
      {false, 5, 9, "", "abcd"},      {false, 3, 0, "", "abcdef"},    {false, 7, 1, "", "abcdef"},
      {false, 0, 2, "", "abcdef"},
  };
  for (const EditCase& c : edits) {
    ByteString edited = Of("abcdef");
    if (c.insert) {
      edited.Insert(c.at, c.bytes);
    } else {
      edited.Delete(c.at, c.count);
    }
    EXPECT_EQ(edited.View(), c.expected) << (c.insert ? "insert at " : "delete at ") << c.at;
    EXPECT_EQ(edited.Length(), static_cast<std::int64_t>(c.expected.size()));
  }
  ByteString cleared = Of("abc");
  cleared.Clear();
  EXPECT_EQ(cleared.Length(), 0);
}

}  // namespace
}  // namespace lumatrel
