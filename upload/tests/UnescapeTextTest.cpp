#include "upload/UnescapeText.h"

#include <gtest/gtest.h>

namespace lumatrel {
namespace {

TEST(UnescapeText, EmptyInputGivesEmpty) { EXPECT_EQ(UnescapeText(""), ""); }

}  // namespace
}  // namespace lumatrel
