#include "app/ByteSize.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace lumatrel {
namespace {
constexpr double kTolerance = 0.0000001;

Text Number(double value) {
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.13g", value);
  return Text(buffer.data());
}
}  // namespace

Text FormatByteSize(double n) {
  if (n - 1024 < -kTolerance) return Number(n) + " B";
  static constexpr std::array<const char*, 5> kUnits = {" KB", " MB", " GB", " TB", " PB"};
  double value = n;
  std::size_t unit = 0;
  for (;; ++unit) {
    value /= 1024;
    // After the fifth division the unit is PB whatever the value.
    if (unit + 1 == kUnits.size() || value - 1024 < -kTolerance) break;
  }
  // Rounding comes after the unit is chosen, so 1023.999 KB shows as 1024 KB.
  return Number(std::round(value * 100) / 100) + kUnits[unit];
}

}  // namespace lumatrel
