// Conversion of a whole byte sequence from one named character set into another, in one go.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "text/Text.h"

namespace lumatrel {

// Converts all of input from the character set named from into the one named to. Nothing when a
// name is unknown or any sequence of the input is invalid or incomplete (never a partial result);
// an empty input gives an empty output. Zero bytes convert like any other character. The names
// the program uses are "UTF-8", "UTF-16LE", "UTF-16BE", "BIG5" and "BIG5-HKSCS", into "GB18030".
//
// The native build asks iconv. The Windows build converts into "GB18030" only: it decodes UTF-8
// and UTF-16 by hand, Big5 through code page 950 with MB_ERR_INVALID_CHARS, and encodes with the
// GB18030 codec. Windows has no strict code page for Big5-HKSCS: it is read as code page 950,
// which knows the Big5 characters only, so a text holding a character that only HKSCS has is
// refused as a whole. Code page 950 reads its user-defined ranges (where HKSCS puts most of its
// characters) as private use characters; those are refused too, as iconv's Big5 refuses them.
std::optional<Bytes> ConvertCharset(std::string_view from, std::string_view to, std::span<const std::uint8_t> input);

}  // namespace lumatrel
