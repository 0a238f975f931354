// A plain, slow model of the shared text search, written from its rules rather than from the
// code it checks: the scan starts at the first byte searched and steps one character at a time
// (a byte of 0x80 or more with the next byte), a match is tried only where a character begins,
// and a lead byte that is the last byte of the text ends the scan.
#pragma once

#include <string>
#include <string_view>

namespace lumatrel::model {

inline bool Lead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

inline char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

inline bool SameAt(std::string_view text, std::size_t at, std::string_view needle, bool caseSensitive) {
  if (at + needle.size() > text.size()) return false;
  for (std::size_t k = 0; k < needle.size(); ++k) {
    const char a = text[at + k], b = needle[k];
    if (caseSensitive ? a != b : Fold(a) != Fold(b)) return false;
  }
  return true;
}

inline int Find(std::string_view text, std::string_view needle, int start, bool caseSensitive) {
  const std::size_t n = text.size();
  const long from = start < 1 ? 1 : start;
  if (static_cast<std::size_t>(from) > n) return -1;
  if (needle.empty()) return 1;
  for (std::size_t i = static_cast<std::size_t>(from - 1); i < n;) {
    if (Lead(text[i]) && i + 1 == n) break;
    if (SameAt(text, i, needle, caseSensitive)) return static_cast<int>(i + 1);
    i += Lead(text[i]) ? 2 : 1;
  }
  return -1;
}

// The last match lying wholly in bytes 1 .. before-1, scanning from the first byte.
inline int FindBackward(std::string_view text, std::string_view needle, int before, bool caseSensitive) {
  if (before <= 1) return -1;
  const std::size_t limit = std::min<std::size_t>(text.size(), static_cast<std::size_t>(before) - 1);
  if (limit == 0) return -1;
  if (needle.empty()) return 1;
  int last = -1;
  for (std::size_t i = 0; i < text.size();) {
    if (Lead(text[i]) && i + 1 == text.size()) break;
    if (i + needle.size() > limit) break;
    if (SameAt(text, i, needle, caseSensitive)) last = static_cast<int>(i + 1);
    i += Lead(text[i]) ? 2 : 1;
  }
  return last;
}

}  // namespace lumatrel::model
