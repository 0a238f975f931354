// Taking the stretch of a text that lies between a start and an end marker.
#pragma once

#include "text/Text.h"

namespace lumatrel {

// Stand for the start and the end of the text when a marker is empty.
inline constexpr std::string_view kStartToken = "#Brenquil头#";
inline constexpr std::string_view kEndToken = "#Brenquil尾#";

// Returns the text between startMarker and endMarker, searched case-insensitively from position.
// On success position moves to the byte after the end marker (in the working text, tokens
// included); on failure it is left alone and the result is empty. Unless keepApostrophes is set,
// two apostrophes in a marker stand for one double quote.
Text ExtractBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                    int& position, bool backward = false, int skip = 0, int drop = 0,
                    bool keepApostrophes = false);

}  // namespace lumatrel
