#include "app/Banner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/tests/Fakes.h"

namespace lumatrel {
namespace {

using testing::FakeView;

TEST(BannerTest, GlidesRightThenTurnsOnePixelBeyondEachBound) {
  FakeView view;  // client width 896: the right bound is left + 195 > 876
  Banner banner(view);
  std::vector<int> lefts;
  for (int tick = 0; tick < 1200; ++tick) {
    banner.BannerTick();
    lefts.push_back(view.logoLeft);
  }
  EXPECT_EQ(lefts.front(), 177);
  // Rightmost: the first left whose right edge passes 876 is 682; then it moves back.
  const auto right = std::find(lefts.begin(), lefts.end(), 682);
  ASSERT_NE(right, lefts.end());
  EXPECT_EQ(*(right + 1), 681);
  EXPECT_EQ(*std::max_element(lefts.begin(), lefts.end()), 682);
  // Leftmost: it comes down to 176 (bound 177) and turns again.
  const auto left = std::find(right, lefts.end(), 176);
  ASSERT_NE(left, lefts.end());
  EXPECT_EQ(*(left + 1), 177);
  EXPECT_EQ(*std::min_element(lefts.begin(), lefts.end()), 176);
  // One pixel per tick, always.
  for (std::size_t i = 1; i < lefts.size(); ++i) EXPECT_EQ(std::abs(lefts[i] - lefts[i - 1]), 1);
}

TEST(BannerTest, ReadsTheClientWidthOnEveryTick) {
  FakeView view;
  Banner banner(view);
  banner.BannerTick();
  EXPECT_FALSE(banner.movingLeft);
  view.clientWidth = 300;  // the window was narrowed: 177 + 195 > 280
  banner.BannerTick();
  EXPECT_TRUE(banner.movingLeft);
  EXPECT_EQ(view.logoLeft, 178);
  banner.BannerTick();
  EXPECT_EQ(view.logoLeft, 177);
}

}  // namespace
}  // namespace lumatrel
