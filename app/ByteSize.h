// A byte count as the result list shows it: "500 B", "1.5 KB", "2.35 MB".
#pragma once

#include "text/Text.h"

namespace lumatrel {

// Units B, KB, MB, GB, TB, PB (1024 apart); two decimals from KB on; "%.13g" digits.
Text FormatByteSize(double n);

}  // namespace lumatrel
