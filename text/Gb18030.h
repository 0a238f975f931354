// GB18030, the superset of GBK that every named charset conversion targets, and the codec the
// window uses where text crosses to and from UTF-16. It maps exactly as the C library's iconv does
// (glibc 2.36): two-byte codes as code page 936 reads them, except the euro sign (A2E3, where code
// page 936 has the single byte 80) and the codes GB18030 gives to characters code page 936 reads
// as private use (A8BC U+1E3F, A6D9 U+FE10, FE50 U+2E81, FE51 U+20087 and so on).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumatrel {

// Strict: nothing for input that does not decode whole (bad or truncated sequences).
std::optional<std::u16string> Gb18030ToUtf16(std::string_view bytes);
// Strict: nothing for a lone surrogate, or for one of the 24 private use characters whose codes
// GB18030 has given to real characters (U+E78D to U+E796, U+E816 and others).
std::optional<std::string> Utf16ToGb18030(std::u16string_view units);

// Lenient forms for the window boundary: never fail; what cannot be converted becomes '?' (or
// U+FFFD going to UTF-16). A GBK text round-trips unchanged, and so does any GB18030 text (but for
// the six four-byte codes of characters that also have a two-byte code, which come back as that).
// A broken lead byte becomes U+FFFD on its own, so an ASCII byte after it is kept. The wide string
// holds UTF-16 units where wchar_t has 16 bits, code points where it has 32. TextFromWide ends
// before the first zero, as every Text does.
std::wstring WideFromText(std::string_view text);
std::string TextFromWide(std::wstring_view wide);

}  // namespace lumatrel
