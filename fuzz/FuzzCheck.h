// What every fuzz target shares: a broken invariant stops the run with a message and a crash
// that libFuzzer records together with the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// The fuzz build compiles the copy of the tree whose literals hold GBK bytes.
static_assert(std::string_view("中").size() == 2, "string literals must hold their GBK bytes");

#define FUZZ_CHECK(condition)                                                                  \
  do {                                                                                         \
    if (!(condition)) {                                                                        \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                            \
    }                                                                                          \
  } while (false)

// For the report of a broken invariant: the bytes, printable ones as they are.
inline std::string Escaped(std::string_view bytes) {
  std::string out = "\"";
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7f && c != '"' && c != '\\') {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    }
  }
  return out + "\"";
}
