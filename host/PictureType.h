// Recognising the picture formats the host accepts by their first bytes, before any decoder runs.
#pragma once

#include <string_view>

namespace lumatrel::host {

enum class PictureType { None, Png, Jpeg, Gif, Tiff, Bmp, WebP };

// The type whose signature the bytes begin with, or None.
PictureType ProbePictureType(std::string_view bytes);

// A short lower-case name for logs ("png", "jpeg", ...; "none").
std::string_view PictureTypeName(PictureType type);

}  // namespace lumatrel::host
