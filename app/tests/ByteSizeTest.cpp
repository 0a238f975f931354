#include "app/ByteSize.h"

#include <gtest/gtest.h>

namespace lumatrel {
namespace {

struct SizeCase {
  double bytes;
  const char* text;
  friend void PrintTo(const SizeCase& c, std::ostream* out) { *out << c.bytes; }
};

class FormatByteSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FormatByteSizeTest, WritesValueAndUnit) { EXPECT_EQ(FormatByteSize(GetParam().bytes), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Sizes, FormatByteSizeTest,
                         ::testing::Values(SizeCase{0, "0 B"}, SizeCase{500, "500 B"}, SizeCase{1023, "1023 B"},
                                           SizeCase{1024, "1 KB"}, SizeCase{1536, "1.5 KB"},
                                           SizeCase{102400, "100 KB"},
                                           // A few bytes under 1 MiB rounds up to 1024 but stays in KB.
                                           SizeCase{1048575, "1024 KB"}, SizeCase{1048576, "1 MB"},
                                           SizeCase{2464153.6, "2.35 MB"}, SizeCase{1234567, "1.18 MB"},
                                           SizeCase{2147483648.0, "2 GB"}, SizeCase{1099511627776.0, "1 TB"},
                                           SizeCase{1125899906842624.0, "1 PB"},
                                           // After the fifth division the unit is PB whatever the value.
                                           SizeCase{1152921504606846976.0, "1024 PB"}));

}  // namespace
}  // namespace lumatrel
