// The text operations and ExtractBetween on arbitrary texts, markers and positions, checked
// against a slow model of the search rules and against the properties every result must have.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "fuzz/TextModel.h"
#include "text/ExtractBetween.h"
#include "text/Text.h"

namespace lumatrel {
namespace {

// The marker after the apostrophe rule: two apostrophes, left to right, become one double quote.
// Like every replacement, it steps over double-byte characters (a lead byte takes the next byte).
std::string Apostrophes(std::string marker) {
  std::string out;
  for (std::size_t i = 0; i < marker.size();) {
    if (model::Lead(marker[i])) {
      out.append(marker, i, 2);
      i += 2;
    } else if (marker[i] == '\'' && i + 1 < marker.size() && marker[i + 1] == '\'') {
      out += '"';
      i += 2;
    } else {
      out += marker[i++];
    }
  }
  return out;
}

std::string WithoutQuotes(const std::string& marker) {
  std::string out;
  for (std::size_t i = 0; i < marker.size();) {
    if (model::Lead(marker[i])) {
      out.append(marker, i, 2);
      i += 2;
    } else {
      if (marker[i] != '"') out += marker[i];
      ++i;
    }
  }
  return out;
}

// ExtractBetween as its rules describe it, on the model search.
std::string ModelExtract(std::string text, std::string startMarker, std::string endMarker, int& position,
                         bool backward, int skip, int drop, bool keepApostrophes) {
  if (!keepApostrophes) {
    startMarker = Apostrophes(startMarker);
    endMarker = Apostrophes(endMarker);
  }
  if (startMarker.empty()) {
    startMarker = std::string(kStartToken);
    text = startMarker + text;
  }
  if (endMarker.empty()) {
    endMarker = std::string(kEndToken);
    text += endMarker;
  }
  const int p = position;
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      startMarker = WithoutQuotes(startMarker);
      endMarker = WithoutQuotes(endMarker);
    }
    int s = -1, e = -1;
    if (!backward) {
      s = model::Find(text, startMarker, p, false);
      if (s == -1) continue;
      e = model::Find(text, endMarker, s + static_cast<int>(startMarker.size()), false);
      if (e == -1) continue;
    } else {
      e = model::Find(text, endMarker, p, false);
      if (e == -1) continue;
      s = model::FindBackward(text, startMarker, e, false);
      if (s == -1) continue;
    }
    position = e + static_cast<int>(endMarker.size());
    const std::int64_t f = std::int64_t{s} + static_cast<std::int64_t>(startMarker.size()) + skip;
    const std::int64_t count = std::int64_t{e} - f - drop;
    if (count <= 0 || f < 1 || f > static_cast<std::int64_t>(text.size())) return {};
    return text.substr(static_cast<std::size_t>(f - 1), static_cast<std::size_t>(count));
  }
  return {};
}

void CheckSearches(const Text& text, const Text& needle, int start, bool caseSensitive) {
  FUZZ_CHECK(Find(text, needle, start, caseSensitive) == model::Find(text, needle, start, caseSensitive));
  FUZZ_CHECK(FindBackward(text, needle, start, caseSensitive) ==
             model::FindBackward(text, needle, start, caseSensitive));
}

// Replace, against the model: unchanged bytes before start, then matches replaced left to right.
void CheckReplace(const Text& text, const Text& find, const Text& with, int start, int count, bool caseSensitive) {
  const Text got = Replace(text, find, with, start, count, caseSensitive);
  if (find.empty()) {
    FUZZ_CHECK(got == text);
    return;
  }
  Text expected;
  const std::size_t from = start < 1 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(start) - 1, text.size());
  expected.assign(text, 0, from);
  int left = count <= 0 ? -1 : count;
  std::size_t i = from;
  while (i < text.size()) {
    const int at = model::Find(text, find, static_cast<int>(i + 1), caseSensitive);
    if (at == -1 || left == 0) break;
    expected.append(text, i, static_cast<std::size_t>(at - 1) - i);
    expected += with;
    i = static_cast<std::size_t>(at - 1) + find.size();
    if (left > 0) --left;
  }
  expected.append(text, std::min(i, text.size()));
  FUZZ_CHECK(got == expected);
}

void CheckSplit(const Text& text, const Text& separator) {
  const std::vector<Text> items = Split(text, separator);
  if (separator.empty()) {
    FUZZ_CHECK(items.size() <= 1);
    FUZZ_CHECK(items.empty() ? text.empty() : items[0] == text);
    return;
  }
  Text joined;
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (k > 0) joined += separator;
    joined += items[k];
    FUZZ_CHECK(model::Find(items[k], separator, 1, true) == -1 || k + 1 == items.size());
  }
  FUZZ_CHECK(joined == text || joined + separator == text);
}

void CheckCuts(const Text& text, int a, int b) {
  const auto size = static_cast<long>(text.size());
  const auto clamp = [&](long n) { return static_cast<std::size_t>(std::max(0L, std::min(n, size))); };
  FUZZ_CHECK(Left(text, a) == text.substr(0, clamp(a)));
  FUZZ_CHECK(Right(text, a) == text.substr(text.size() - clamp(a)));
  const Text mid = Mid(text, a, b);
  if (a < 1 || a > size) {
    FUZZ_CHECK(mid.empty());
  } else {
    FUZZ_CHECK(mid == text.substr(static_cast<std::size_t>(a - 1), b < 0 ? std::string::npos : static_cast<std::size_t>(b)));
  }

  const Text trimmed = Trim(text);
  FUZZ_CHECK(text.find(trimmed) != std::string::npos);
  FUZZ_CHECK(!StartsWith(trimmed, " ") && !StartsWith(trimmed, "\xA1\xA1"));
  // The last character, found by walking whole characters, is no blank either.
  std::size_t last = 0;
  for (std::size_t i = 0; i < trimmed.size(); i += model::Lead(trimmed[i]) ? 2 : 1) last = i;
  FUZZ_CHECK(trimmed.empty() || (trimmed.substr(last) != " " && trimmed.substr(last) != "\xA1\xA1"));

  for (const Text& cased : {ToLower(text), ToUpper(text)}) {
    FUZZ_CHECK(cased.size() == text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      const bool letter = std::isalpha(static_cast<unsigned char>(text[i])) && !model::Lead(text[i]);
      FUZZ_CHECK(letter ? model::Fold(cased[i]) == model::Fold(text[i]) : cased[i] == text[i]);
      if (model::Lead(text[i]) && i + 1 < text.size()) {
        FUZZ_CHECK(cased[i + 1] == text[i + 1]);  // the second byte of a character keeps its case
        ++i;
      }
    }
  }
}

void CheckExtract(const Text& text, const Text& startMarker, const Text& endMarker, int position, bool backward,
                  int skip, int drop, bool keepApostrophes) {
  int got = position, expected = position;
  const Text result = ExtractBetween(text, startMarker, endMarker, got, backward, skip, drop, keepApostrophes);
  const Text model = ModelExtract(text, startMarker, endMarker, expected, backward, skip, drop, keepApostrophes);
  if (result != model || got != expected) {
    std::fprintf(stderr, "ExtractBetween(%s, %s, %s, %d, backward %d, skip %d, drop %d, keep %d): %s at %d, model %s at %d\n",
                 Escaped(text).c_str(), Escaped(startMarker).c_str(), Escaped(endMarker).c_str(), position, backward,
                 skip, drop, keepApostrophes, Escaped(result).c_str(), got, Escaped(model).c_str(), expected);
  }
  FUZZ_CHECK(result == model);
  FUZZ_CHECK(got == expected);
  // Always a stretch of the working text (the text with any tokens around it).
  const Text working = Text(kStartToken) + text + Text(kEndToken);
  FUZZ_CHECK(working.find(result) != std::string::npos);
}

}  // namespace
}  // namespace lumatrel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumatrel;
  FuzzedDataProvider input(data, size);
  const bool caseSensitive = input.ConsumeBool();
  const bool backward = input.ConsumeBool();
  const bool keepApostrophes = input.ConsumeBool();
  const int start = input.ConsumeIntegralInRange<int>(-2, 40);
  const int count = input.ConsumeIntegralInRange<int>(-1, 4);
  const int skip = input.ConsumeIntegralInRange<int>(-3, 3);
  const int drop = input.ConsumeIntegralInRange<int>(-3, 3);
  // Texts hold no zero byte.
  const Text needle = TextFromRaw(input.ConsumeRandomLengthString(12));
  const Text other = TextFromRaw(input.ConsumeRandomLengthString(12));
  const Text text = TextFromRaw(input.ConsumeRemainingBytesAsString());

  CheckSearches(text, needle, start, caseSensitive);
  CheckReplace(text, needle, other, start, count, caseSensitive);
  CheckSplit(text, needle);
  CheckCuts(text, start, count * 3);
  CheckExtract(text, needle, other, start, backward, skip, drop, keepApostrophes);
  return 0;
}
