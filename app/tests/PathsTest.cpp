#include "app/Paths.h"

#include <gtest/gtest.h>

namespace lumatrel {
namespace {

struct PathCase {
  const char* path;
  const char* folder;
  const char* name;
  friend void PrintTo(const PathCase& c, std::ostream* out) { *out << ::testing::PrintToString(std::string(c.path)); }
};

class PathsTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathsTest, SplitsAtTheLastBackslash) {
  EXPECT_EQ(FolderFromPath(GetParam().path), GetParam().folder);
  EXPECT_EQ(NameFromPath(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathsTest,
    ::testing::Values(PathCase{"D:\\pics\\b.png", "D:\\pics", "b.png"}, PathCase{"b.png", "", "b.png"},
                      PathCase{"D:\\pics\\", "D:\\pics", ""}, PathCase{"\\a", "", "a"}, PathCase{"", "", ""},
                      PathCase{"D:\\图片\\风景.jpg", "D:\\图片", "风景.jpg"},
                      // The second byte of 0x81 0x5C is no separator.
                      PathCase{"D:\\x\\\x81\x5C.png", "D:\\x", "\x81\x5C.png"},
                      PathCase{"D:\\x\x81\x5C", "D:", "x\x81\x5C"}));

}  // namespace
}  // namespace lumatrel
