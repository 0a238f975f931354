// Values never hold a line break in the settings document: CR LF is kept as "┊*┊".
#pragma once

#include "text/Text.h"

namespace lumatrel {

inline constexpr std::string_view kStoredLineBreak = "┊*┊";  // A9 AE 2A A9 AE

// Every CR LF becomes "┊*┊"; a lone CR or LF stays. The scan steps over double-byte characters.
Text StoredFormOf(std::string_view value);
// Every "┊*┊" becomes CR LF, with the same scan.
Text ValueFromStoredForm(std::string_view stored);

}  // namespace lumatrel
