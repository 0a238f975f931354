#include "text/ExtractBetween.h"

namespace lumatrel {
namespace {

struct Match {
  int start = -1;  // position of the start marker
  int end = -1;    // position of the end marker
};

constexpr bool kInsensitive = false;

Match SearchPass(std::string_view working, std::string_view startMarker, std::string_view endMarker,
                 int position, bool backward) {
  Match m;
  if (backward) {
    m.end = Find(working, endMarker, position, kInsensitive);
    if (m.end == -1) return {};
    m.start = FindBackward(working, startMarker, m.end, kInsensitive);
    if (m.start == -1) return {};
    return m;
  }
  m.start = Find(working, startMarker, position, kInsensitive);
  if (m.start == -1) return {};
  const long long after = static_cast<long long>(m.start) + static_cast<long long>(startMarker.size());
  if (after > static_cast<long long>(working.size()) + 1) return {};
  m.end = Find(working, endMarker, static_cast<int>(after), kInsensitive);
  if (m.end == -1) return {};
  return m;
}

}  // namespace

Text ExtractBetween(std::string_view text, std::string_view startMarkerIn, std::string_view endMarkerIn,
                    int& position, bool backward, int skip, int drop, bool keepApostrophes) {
  Text startMarker(startMarkerIn);
  Text endMarker(endMarkerIn);
  if (!keepApostrophes) {
    startMarker = Replace(startMarker, "''", "\"");
    endMarker = Replace(endMarker, "''", "\"");
  }
  // The text is copied only when a token has to be put around it; walks over long pages with
  // one position would otherwise copy the page on every call.
  Text withTokens;
  std::string_view working = text;
  if (startMarker.empty() || endMarker.empty()) {
    if (startMarker.empty()) {
      startMarker = kStartToken;
      withTokens.append(kStartToken);
    }
    withTokens.append(text);
    if (endMarker.empty()) {
      endMarker = kEndToken;
      withTokens.append(kEndToken);
    }
    working = withTokens;
  }

  const int callerPosition = position;
  Match m = SearchPass(working, startMarker, endMarker, callerPosition, backward);
  if (m.start == -1) {
    // Second chance without the quotes, for replies whose names are not quoted.
    startMarker = Replace(startMarker, "\"", "");
    endMarker = Replace(endMarker, "\"", "");
    m = SearchPass(working, startMarker, endMarker, callerPosition, backward);
  }
  if (m.start == -1) return {};

  position = static_cast<int>(static_cast<long long>(m.end) + static_cast<long long>(endMarker.size()));
  const long long first = static_cast<long long>(m.start) + static_cast<long long>(startMarker.size()) + skip;
  const long long count = static_cast<long long>(m.end) - first - drop;
  if (count <= 0 || first < 1 || first > static_cast<long long>(working.size())) return {};
  return Text(working.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(count)));
}

}  // namespace lumatrel
