// The logo of the header strip, gliding one pixel per tick between the home-page button and the
// window's right edge.
#pragma once

#include "app/MainView.h"

namespace lumatrel {

inline constexpr int kBannerPeriod = 20;

class Banner {
 public:
  explicit Banner(BannerView& view) : view_(view) {}

  // One move of one pixel; the direction turns after the move that crosses a bound.
  void BannerTick();

  bool movingLeft = false;

 private:
  BannerView& view_;
};

}  // namespace lumatrel
