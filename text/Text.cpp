#include "text/Text.h"

#include <algorithm>
#include <cstring>

namespace lumatrel {
namespace {

using Size = std::size_t;

unsigned char At(std::string_view s, Size i) { return static_cast<unsigned char>(s[i]); }

// Width of the character that begins at byte i: 2 for a lead byte with a byte after it, else 1.
Size CharWidth(std::string_view s, Size i) { return (IsLeadByte(At(s, i)) && i + 1 < s.size()) ? 2 : 1; }

// A lead byte that is the last byte of the text ends every scan.
bool EndsScan(std::string_view s, Size i) { return IsLeadByte(At(s, i)) && i + 1 == s.size(); }

bool MatchesAt(std::string_view text, Size i, std::string_view needle, bool caseSensitive) {
  if (i + needle.size() > text.size()) return false;
  if (caseSensitive) {
    return text[i] == needle[0] && std::memcmp(text.data() + i, needle.data(), needle.size()) == 0;
  }
  for (Size k = 0; k < needle.size(); ++k) {
    if (FoldAscii(At(text, i + k)) != FoldAscii(At(needle, k))) return false;
  }
  return true;
}

int ToPosition(Size index) { return static_cast<int>(index) + 1; }

}  // namespace

Text TextFromRaw(std::string_view raw) {
  const Size zero = raw.find('\0');
  return Text(raw.substr(0, zero));
}

Text TextFromBytes(const Bytes& bytes) {
  return TextFromRaw(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Bytes BytesFromText(std::string_view text) { return Bytes(text.begin(), text.end()); }

int Find(std::string_view text, std::string_view needle, int start, bool caseSensitive) {
  if (start < 1) start = 1;
  const Size n = text.size();
  if (static_cast<Size>(start) > n) return -1;
  if (needle.empty()) return 1;
  for (Size i = static_cast<Size>(start) - 1; i + needle.size() <= n; i += CharWidth(text, i)) {
    if (EndsScan(text, i)) break;
    if (MatchesAt(text, i, needle, caseSensitive)) return ToPosition(i);
  }
  return -1;
}

int FindBackward(std::string_view text, std::string_view needle, int before, bool caseSensitive) {
  if (before < 2) return -1;
  const Size limit = std::min(text.size(), static_cast<Size>(before) - 1);  // bytes 1..before-1
  if (limit == 0) return -1;
  if (needle.empty()) return 1;
  int last = -1;
  for (Size i = 0; i + needle.size() <= limit; i += CharWidth(text, i)) {
    if (EndsScan(text, i)) break;
    if (MatchesAt(text, i, needle, caseSensitive)) last = ToPosition(i);
  }
  return last;
}

Text Replace(std::string_view text, std::string_view find, std::string_view with, int start, int count,
             bool caseSensitive) {
  if (start < 1) start = 1;
  const Size n = text.size();
  const Size from = std::min(n, static_cast<Size>(start) - 1);
  if (find.empty() || from >= n) return Text(text);
  if (count <= 0) count = -1;  // an omitted count (0) replaces every match
  Text out;
  out.reserve(n);
  // Unchanged stretches are copied whole, from runStart up to the next match.
  Size runStart = 0;
  for (Size i = from; count != 0 && i + find.size() <= n;) {
    if (EndsScan(text, i)) break;
    if (MatchesAt(text, i, find, caseSensitive)) {
      out.append(text.substr(runStart, i - runStart));
      out.append(with);
      i += find.size();
      runStart = i;
      if (count > 0) --count;
      continue;
    }
    i += CharWidth(text, i);
  }
  out.append(text.substr(runStart));
  return out;
}

std::vector<Text> Split(std::string_view text, std::string_view separator) {
  std::vector<Text> items;
  if (separator.empty()) {
    if (!text.empty()) items.emplace_back(text);
    return items;
  }
  Size itemStart = 0;
  Size i = 0;
  while (i < text.size()) {
    if (EndsScan(text, i)) break;
    if (MatchesAt(text, i, separator, true)) {
      items.emplace_back(text.substr(itemStart, i - itemStart));
      i += separator.size();
      itemStart = i;
      continue;
    }
    i += CharWidth(text, i);
  }
  if (itemStart < text.size()) items.emplace_back(text.substr(itemStart));
  return items;
}

Text Trim(std::string_view text) {
  const Size n = text.size();
  auto blankWidth = [&](Size i) -> Size {
    if (At(text, i) == ' ') return 1;
    if (i + 1 < n && At(text, i) == 0xA1 && At(text, i + 1) == 0xA1) return 2;
    return 0;
  };
  Size begin = 0;
  while (begin < n) {
    const Size w = blankWidth(begin);
    if (w == 0) break;
    begin += w;
  }
  // Walk whole characters so that a trailing A1 A1 is only taken when it is a character.
  Size end = begin;
  for (Size i = begin; i < n;) {
    const Size w = blankWidth(i);
    if (w != 0) {
      i += w;
      continue;
    }
    i += CharWidth(text, i);
    end = i;
  }
  return Text(text.substr(begin, end - begin));
}

Text Left(std::string_view text, int n) {
  if (n <= 0) return {};
  return Text(text.substr(0, static_cast<Size>(n)));
}

Text Right(std::string_view text, int n) {
  if (n <= 0) return {};
  const Size take = std::min(text.size(), static_cast<Size>(n));
  return Text(text.substr(text.size() - take));
}

Text Mid(std::string_view text, int start, int n) {
  if (start < 1 || static_cast<Size>(start) > text.size() || n == 0) return {};
  const Size from = static_cast<Size>(start) - 1;
  return n < 0 ? Text(text.substr(from)) : Text(text.substr(from, static_cast<Size>(n)));
}

namespace {
template <typename Fold>
Text MapSingleByteLetters(std::string_view text, Fold fold) {
  Text out(text);
  for (Size i = 0; i < out.size();) {
    const Size w = CharWidth(out, i);
    if (w == 1 && !IsLeadByte(At(out, i))) out[i] = static_cast<char>(fold(At(out, i)));
    i += w;
  }
  return out;
}
}  // namespace

Text ToLower(std::string_view text) {
  return MapSingleByteLetters(text, [](unsigned char c) { return FoldAscii(c); });
}

Text ToUpper(std::string_view text) {
  return MapSingleByteLetters(text, [](unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
  });
}

}  // namespace lumatrel
