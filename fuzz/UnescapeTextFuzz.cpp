// UnescapeText on arbitrary replies: the literal either compiles, or the result is exactly the
// empty text; a result never holds a zero byte and never grows; text without escapes comes
// back as it was. Long inputs with a short time-out catch a reading that is not linear.
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "fuzz/TextModel.h"
#include "text/Text.h"
#include "upload/UnescapeText.h"

namespace lumatrel {
namespace {

// Whether the single-quoted literal that the reply becomes would fail to compile: a line
// terminator left in it (a CR that was not the first byte, a LF without its CR), or a backslash
// that escapes the closing quote. Walks whole characters: a lead byte takes the next byte.
bool LiteralFails(const Text& prepared) {
  bool escaped = false;
  for (std::size_t i = 0; i < prepared.size();) {
    if (model::Lead(prepared[i])) {
      escaped = false;
      i += 2;
      continue;
    }
    const char c = prepared[i++];
    if (c == '\r' || c == '\n') return true;
    escaped = !escaped && c == '\\';
  }
  return escaped;
}

}  // namespace
}  // namespace lumatrel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumatrel;
  const Text input = TextFromRaw(std::string_view(reinterpret_cast<const char*>(data), size));
  const Text result = UnescapeText(input);

  FUZZ_CHECK(result.find('\0') == std::string::npos);

  Text lines = Replace(input, "\r\n", "{$}");
  if (!lines.empty() && lines.front() == '\r') lines.erase(0, 1);
  if (LiteralFails(lines)) {
    FUZZ_CHECK(result.empty());
    return 0;
  }
  // Every escape gives fewer bytes than it takes, and the line breaks come back as they went.
  FUZZ_CHECK(result.size() <= input.size());
  if (input.find('\\') == std::string::npos && input.find('%') == std::string::npos) {
    FUZZ_CHECK(result == Replace(Replace(lines, "\xA1\xAF", "'"), "{$}", "\r\n"));
  }
  return 0;
}
