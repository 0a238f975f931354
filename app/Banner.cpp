#include "app/Banner.h"

namespace lumatrel {
namespace {
constexpr double kTolerance = 0.0000001;
}

void Banner::BannerTick() {
  if (!movingLeft) {
    view_.SetLogoLeft(view_.LogoLeft() + 1);
    // The client width is read on every tick: the window may have been resized.
    const double beyond = view_.LogoLeft() + view_.LogoWidth() - (view_.ClientWidth() - 20.0);
    if (beyond > kTolerance) movingLeft = true;
    return;
  }
  view_.SetLogoLeft(view_.LogoLeft() - 1);
  const double before = view_.LogoLeft() - (view_.HomeButtonLeft() + view_.HomeButtonWidth() + 20.0);
  if (before < -kTolerance) movingLeft = false;
}

}  // namespace lumatrel
