// Resolving the escapes of the picture service's reply: what the JScript engine makes of the reply
// as the body of a single-quoted string literal passed through unescape(), computed directly.
#pragma once

#include "text/Text.h"

namespace lumatrel {

// Never fails; the empty text stands for every failure (a literal that would not compile).
Text UnescapeText(std::string_view text);

}  // namespace lumatrel
