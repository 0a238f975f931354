// The program's two string types and the text operations every subsystem shares.
//
// Text is a byte string in GBK (code page 936) with no zero bytes. Positions are 1-based byte
// positions; -1 means "not found". A byte of 0x80 or more begins a two-byte character, and every
// search, replace and split steps over such a character as a whole, trying a match only where a
// character begins. Left, Right and Mid cut by bytes and may split a character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumatrel {

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

// A text made from bytes ends before the first zero byte.
Text TextFromBytes(const Bytes& bytes);
Text TextFromRaw(std::string_view raw);
Bytes BytesFromText(std::string_view text);

inline bool IsLeadByte(unsigned char c) { return c >= 0x80; }

// Folds only A-Z/a-z, byte by byte.
inline unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// First match at or after start (below 1 counts as 1), or -1; a start beyond the text gives -1.
// An empty needle is found at 1 whenever the searched stretch holds at least one byte.
int Find(std::string_view text, std::string_view needle, int start = 1, bool caseSensitive = true);

// Last match lying wholly within bytes 1 to before-1, or -1.
int FindBackward(std::string_view text, std::string_view needle, int before, bool caseSensitive = true);

// Replaces up to count matches (count 0 or below: every match) at or after start; bytes before start
// are copied unchanged and matches do not overlap. Linear in the length of the text.
Text Replace(std::string_view text, std::string_view find, std::string_view with = {}, int start = 1,
             int count = 0, bool caseSensitive = true);

// Splits at every separator; an empty last item is dropped. An empty separator gives the whole text.
std::vector<Text> Split(std::string_view text, std::string_view separator);

// Removes ASCII spaces and the ideographic space A1 A1 from both ends (not tabs or line breaks).
Text Trim(std::string_view text);

Text Left(std::string_view text, int n);
Text Right(std::string_view text, int n);
// n below 0: to the end of the text. A start outside the text gives the empty text.
Text Mid(std::string_view text, int start, int n = -1);

// Change only single-byte letters; the bytes of double-byte characters are left alone.
Text ToLower(std::string_view text);
Text ToUpper(std::string_view text);

// True when text begins with prefix, byte for byte.
inline bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace lumatrel
