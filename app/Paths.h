// Splitting a picture's full path into its folder and its file name.
#pragma once

#include "text/Text.h"

namespace lumatrel {

// The text after the last backslash; the whole path when it holds none.
Text NameFromPath(std::string_view path);

// The text before the last backslash; the empty text when it holds none.
Text FolderFromPath(std::string_view path);

}  // namespace lumatrel
