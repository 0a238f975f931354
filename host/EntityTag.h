// Conditional requests: whether an If-None-Match header names the representation's entity tag.
#pragma once

#include <string_view>

namespace lumatrel::host {

// etag is a quoted strong tag ("..."). "*" matches; W/ prefixes are ignored (If-None-Match
// compares weakly); a malformed header matches nothing.
bool IfNoneMatchMatches(std::string_view header, std::string_view etag);

}  // namespace lumatrel::host
