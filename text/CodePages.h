// The system's code-page conversions (MultiByteToWideChar / WideCharToMultiByte without flags),
// with the system's lenient handling of invalid input: they never fail. The native build
// emulates them over iconv.
#pragma once

#include <string>
#include <string_view>

namespace lumatrel {

inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned kCodePageBig5 = 950;
inline constexpr unsigned kCodePageGbk = 936;  // what the program means by the ANSI code page

std::u16string MultiByteToUtf16(unsigned codePage, std::string_view bytes);
// Characters without a form in the code page become its default character ('?').
std::string Utf16ToMultiByte(unsigned codePage, std::u16string_view units);

}  // namespace lumatrel
