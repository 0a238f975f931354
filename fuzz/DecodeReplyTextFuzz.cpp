// DecodeReplyText on arbitrary reply bytes with every selector (and values outside them): it
// always returns, reports a code from 1 to 6, hands back the same text it returns, and that
// text holds no zero byte. ASCII replies without a byte-order mark pass through as they are, and
// reading the same bytes from a file gives the same result.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "fuzz/FuzzCheck.h"
#include "text/DecodeReplyText.h"
#include "text/Text.h"

namespace {

bool IsAscii(const lumatrel::Bytes& bytes) {
  for (const auto b : bytes) {
    if (b >= 0x80) return false;
  }
  return true;
}

bool HasNoZero(const lumatrel::Text& text) { return text.find('\0') == std::string::npos; }

// One scratch file per fuzzing process, removed when it ends.
struct ScratchFile {
  std::string path =
      (std::filesystem::temp_directory_path() / ("lumatrel-fuzz-reply-" + std::to_string(getpid()))).string();
  ~ScratchFile() { std::remove(path.c_str()); }
};

const std::string& ScratchPath() {
  static const ScratchFile scratch;
  return scratch.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumatrel;
  FuzzedDataProvider input(data, size);
  const std::uint8_t choice = input.ConsumeIntegral<std::uint8_t>();
  const bool viaFile = input.ConsumeBool();
  // 0 to 6, and now and then a value no caller passes.
  const std::int32_t selector = choice < 240 ? choice % 7 : static_cast<std::int32_t>(choice) - 248;
  const std::string raw = input.ConsumeRemainingBytesAsString();
  const Bytes bytes(raw.begin(), raw.end());

  std::int32_t detected = -100;
  Text text = "before";
  const Text result = DecodeReplyText({}, selector, detected, text, bytes, "fallback");
  FUZZ_CHECK(detected >= 1 && detected <= 6);
  FUZZ_CHECK(text == result);
  FUZZ_CHECK(HasNoZero(result));
  if (bytes.empty()) FUZZ_CHECK(!result.empty());  // the fallback text is read instead
  if ((selector == kCharsetDetect || selector == kCharsetAnsi || selector == kCharsetUtf8) && IsAscii(bytes) &&
      !bytes.empty()) {
    FUZZ_CHECK(result == TextFromBytes(bytes));
  }

  if (viaFile && !bytes.empty()) {
    FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(raw.data(), 1, raw.size(), file) == raw.size());
    std::fclose(file);
    std::int32_t fileDetected = -100;
    Text fileText;
    const Text fromFile = DecodeReplyText(ScratchPath(), selector, fileDetected, fileText, {}, "fallback");
    FUZZ_CHECK(fromFile == result);
    FUZZ_CHECK(fileDetected == detected);
  }

  // The supporting readers on the same bytes.
  int which = -1;
  const std::string_view page(raw);
  const bool declared = DetectPageCharset(page, which);
  FUZZ_CHECK(which >= kDeclaredNone && which <= kDeclaredBig5Hkscs);
  FUZZ_CHECK(declared == (which != kDeclaredNone));
  FUZZ_CHECK(HasNoZero(Utf8ToAnsi(bytes)));
  FUZZ_CHECK(HasNoZero(Utf16ToAnsi(bytes)));
  FUZZ_CHECK(HasNoZero(Big5ToGbk(TextFromBytes(bytes))));
  return 0;
}
