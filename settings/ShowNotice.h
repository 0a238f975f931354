// The settings store's message boxes: the general notice and the one it shows when it gives up.
#pragma once

#include <string_view>

#include "text/Text.h"

namespace lumatrel {

// Adds the information icon when style names no icon, makes the box system-modal, and titles it
// "Brenquil：" when title is empty.
void ShowNotice(std::string_view text, unsigned style, std::string_view title);

// The notice that a write was given up, then a box with the whole document (up to a zero byte).
void ShowFailureNotice(std::string_view document);

}  // namespace lumatrel
