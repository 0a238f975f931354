// Turning the body of a web reply, in any of the usual Chinese-web character sets, into GBK text.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "text/Text.h"

namespace lumatrel {

// Charset codes: the caller's selector and the code reported back.
inline constexpr std::int32_t kCharsetDetect = 0;  // selector only
inline constexpr std::int32_t kCharsetAnsi = 1;    // the bytes as they are (as a selector, UTF-8 is still tried)
inline constexpr std::int32_t kCharsetUtf8 = 2;
inline constexpr std::int32_t kCharsetUtf16Le = 3;
inline constexpr std::int32_t kCharsetUtf16Be = 4;
inline constexpr std::int32_t kCharsetBig5 = 5;
inline constexpr std::int32_t kCharsetBig5Hkscs = 6;

// Byte-order marks.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// Charset declarations, alternatives separated by "[fg]"; two apostrophes stand for a double quote.
inline constexpr std::string_view kAlternativeSeparator = "[fg]";
inline constexpr std::string_view kUtf8Declarations = "charset=UTF-8[fg]charset=''UTF-8''[fg]charset='UTF-8'";
inline constexpr std::string_view kBig5HkscsDeclarations =
    "charset=Big5-HKSCS[fg]charset=''Big5-HKSCS''[fg]charset='Big5-HKSCS'";
inline constexpr std::string_view kBig5Declarations = "charset=Big5[fg]charset=''Big5''[fg]charset='Big5'";

// What DetectPageCharset found.
inline constexpr int kDeclaredNone = 0;
inline constexpr int kDeclaredUtf8 = 1;
inline constexpr int kDeclaredBig5 = 2;
inline constexpr int kDeclaredBig5Hkscs = 3;

// The input is the file at path when path is not empty (the empty text, with detected left
// alone, when it cannot be opened), else bytes when they are not empty, else the bytes of
// fallbackText. The character set comes from the selector, or with selector 0 from a byte-order
// mark, a meta charset declaration or a UTF-8 attempt. detected and text receive the code that
// produced the result and the result, which is also returned.
Text DecodeReplyText(std::string_view path, std::int32_t selector, std::int32_t& detected, Text& text,
                     const Bytes& bytes = {}, std::string_view fallbackText = {});

// Looks for a charset declaration in the meta tags of the page's head (the whole page when there
// is no plain <head> section). True when one is found; which is then kDeclaredUtf8, kDeclaredBig5
// or kDeclaredBig5Hkscs, else kDeclaredNone.
bool DetectPageCharset(std::string_view page, int& which);

// With any set: true when one alternative occurs in text; otherwise true when all do. Searches are
// case-insensitive; an empty alternative occurs in every text that is not empty.
bool ContainsAny(std::string_view text, std::string_view alternatives, bool any = true);

// The system's lenient conversions, code page 936 standing for the ANSI code page. Each gives the
// converted text up to its first zero byte.
Text Utf8ToAnsi(std::span<const std::uint8_t> bytes);
// Little-endian units up to the first zero unit; an odd last byte is ignored.
Text Utf16ToAnsi(std::span<const std::uint8_t> bytes);
// A character that GBK lacks becomes '?'.
Text Big5ToGbk(std::string_view text);

}  // namespace lumatrel
