#include "host/EntityTag.h"

namespace lumatrel::host {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool IfNoneMatchMatches(std::string_view header, std::string_view etag) {
  std::size_t at = 0;
  auto skipBlanks = [&] { while (at < header.size() && IsBlank(header[at])) ++at; };
  skipBlanks();
  if (header.substr(at) == "*") return true;
  while (at < header.size()) {
    if (header.substr(at, 2) == "W/") at += 2;
    if (at >= header.size() || header[at] != '"') return false;
    const std::size_t close = header.find('"', at + 1);
    if (close == std::string_view::npos) return false;
    if (header.substr(at, close + 1 - at) == etag) return true;
    at = close + 1;
    skipBlanks();
    if (at < header.size()) {
      if (header[at] != ',') return false;
      ++at;
      skipBlanks();
    }
  }
  return false;
}

}  // namespace lumatrel::host
