#include "upload/UnescapeText.h"

#include <vector>

#include "text/CodePages.h"

namespace lumatrel {
namespace {

// The string the engine works on, one element per UTF-16 unit. A double-byte GBK character of the
// reply travels as itself (it would round-trip through the code page unchanged), marked by a
// value above 0xFFFF, so only units made by escapes need converting back.
using Element = std::uint32_t;
constexpr Element kRawCharacter = 0x10000;

bool IsRaw(Element e) { return e >= kRawCharacter; }

int HexValue(Element e) {
  if (e >= '0' && e <= '9') return static_cast<int>(e - '0');
  if (e >= 'a' && e <= 'f') return static_cast<int>(e - 'a' + 10);
  if (e >= 'A' && e <= 'F') return static_cast<int>(e - 'A' + 10);
  return -1;
}

bool IsOctal(Element e) { return e >= '0' && e <= '7'; }

// Splits the GBK text into elements: ASCII bytes as units, other characters raw.
std::vector<Element> Elements(std::string_view text) {
  std::vector<Element> out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!IsLeadByte(c)) {
      out.push_back(c);
      ++i;
    } else if (i + 1 < text.size()) {
      out.push_back(kRawCharacter | (static_cast<Element>(c) << 8) | static_cast<unsigned char>(text[i + 1]));
      i += 2;
    } else {
      out.push_back(kRawCharacter | c);  // a lone lead byte at the end
      ++i;
    }
  }
  return out;
}

// The contents of a single-quoted JScript string literal, with its escapes resolved; nothing when
// the literal would not compile (a line terminator inside it, or a backslash escaping the closing
// quote). The text holds no apostrophe by the time it gets here.
// Works in place: an escape never gives more elements than it takes, so the write position never
// passes the read position.
bool ReadStringLiteral(std::vector<Element>& in) {
  std::size_t w = 0;
  auto put = [&](Element e) { in[w++] = e; };
  const std::size_t n = in.size();
  for (std::size_t i = 0; i < n;) {
    const Element c = in[i];
    if (c == '\r' || c == '\n') return false;
    if (c != '\\') {
      put(c);
      ++i;
      continue;
    }
    if (i + 1 >= n) return false;  // escapes the closing quote: the literal never ends
    const Element e = in[i + 1];
    i += 2;
    switch (e) {
      case 'b': put(0x08); break;
      case 't': put(0x09); break;
      case 'n': put(0x0A); break;
      case 'v': put(0x0B); break;
      case 'f': put(0x0C); break;
      case 'r': put(0x0D); break;
      case '\r':
      case '\n': return false;
      case 'x':
        if (i + 1 < n && HexValue(in[i]) >= 0 && HexValue(in[i + 1]) >= 0) {
          put(static_cast<Element>(HexValue(in[i]) * 16 + HexValue(in[i + 1])));
          i += 2;
        } else {
          put('x');  // JScript's legacy reading: a malformed \x is the letter itself
        }
        break;
      case 'u':  // only reachable for a "\u" that step 4 did not rewrite; kept for completeness
        if (i + 3 < n && HexValue(in[i]) >= 0 && HexValue(in[i + 1]) >= 0 && HexValue(in[i + 2]) >= 0 &&
            HexValue(in[i + 3]) >= 0) {
          put(static_cast<Element>((HexValue(in[i]) << 12) | (HexValue(in[i + 1]) << 8) |
                                             (HexValue(in[i + 2]) << 4) | HexValue(in[i + 3])));
          i += 4;
        } else {
          put('u');
        }
        break;
      default:
        if (IsOctal(e)) {
          // Legacy octal escapes: up to three digits while the value stays within 0-255.
          Element value = e - '0';
          const std::size_t maxDigits = (e <= '3') ? 3 : 2;
          for (std::size_t digits = 1; digits < maxDigits && i < n && IsOctal(in[i]); ++digits, ++i) {
            value = value * 8 + (in[i] - '0');
          }
          put(value);
        } else {
          put(e);  // any other character stands for itself, "\/" included
        }
        break;
    }
  }
  in.resize(w);
  return true;
}

// The global unescape(): %uXXXX and %XX become the units they name; any other % stays.
// In place as well: each sequence shrinks to one element.
void Unescape(std::vector<Element>& in) {
  std::size_t w = 0;
  auto put = [&](Element e) { in[w++] = e; };
  const std::size_t n = in.size();
  auto hex = [&](std::size_t at) { return at < n ? HexValue(in[at]) : -1; };
  for (std::size_t i = 0; i < n;) {
    if (in[i] == '%') {
      if (i + 5 < n && in[i + 1] == 'u' && hex(i + 2) >= 0 && hex(i + 3) >= 0 && hex(i + 4) >= 0 &&
          hex(i + 5) >= 0) {
        put(static_cast<Element>((hex(i + 2) << 12) | (hex(i + 3) << 8) | (hex(i + 4) << 4) | hex(i + 5)));
        i += 6;
        continue;
      }
      if (i + 2 < n && hex(i + 1) >= 0 && hex(i + 2) >= 0) {
        put(static_cast<Element>((hex(i + 1) << 4) | hex(i + 2)));
        i += 3;
        continue;
      }
    }
    put(in[i]);
    ++i;
  }
  in.resize(w);
}

// Back to GBK: runs of units through the code page ('?' where GBK has no form), raw characters as
// they came. The text ends before the first zero.
Text ToGbk(const std::vector<Element>& in) {
  std::string out;
  out.reserve(in.size());
  std::u16string run;
  auto flush = [&] {
    if (run.empty()) return;
    out += Utf16ToMultiByte(kCodePageGbk, run);
    run.clear();
  };
  for (const Element e : in) {
    if (!IsRaw(e)) {
      run.push_back(static_cast<char16_t>(e));
      continue;
    }
    flush();
    if (e & 0xFF00) out.push_back(static_cast<char>((e >> 8) & 0xFF));
    out.push_back(static_cast<char>(e & 0xFF));
  }
  flush();
  return TextFromRaw(out);
}

}  // namespace

Text UnescapeText(std::string_view input) {
  Text text = Replace(input, "\r\n", "{$}");
  if (!text.empty() && text.front() == '\r') text.erase(0, 1);
  if (Find(text, "\\u") != -1) text = Replace(text, "\\u", "%u");
  text = Replace(text, "'", "\xA1\xAF");

  std::vector<Element> elements = Elements(text);
  if (!ReadStringLiteral(elements)) return {};
  Unescape(elements);
  Text result = ToGbk(elements);

  result = Replace(result, "\xA1\xAF", "'");
  return Replace(result, "{$}", "\r\n");
}

}  // namespace lumatrel
