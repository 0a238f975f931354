#include "text/DecodeReplyText.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "text/CharsetConverter.h"
#include "text/CodePages.h"
#include "text/ExtractBetween.h"

#ifdef _WIN32
#include <windows.h>

#include "text/Gb18030.h"
#endif

namespace lumatrel {
namespace {

using ByteSpan = std::span<const std::uint8_t>;

bool BeginsWith(ByteSpan bytes, std::string_view mark) {
  if (bytes.size() < mark.size()) return false;
  for (std::size_t i = 0; i < mark.size(); ++i) {
    if (bytes[i] != static_cast<unsigned char>(mark[i])) return false;
  }
  return true;
}

// The bytes up to the first zero byte, or up to the first 1A byte that begins a character (the
// byte after a lead byte is passed over). A zero ends the text even after a lead byte: a Text
// holds no zero bytes.
Text ReadAsText(ByteSpan bytes) {
  std::size_t end = 0;
  while (end < bytes.size()) {
    const std::uint8_t b = bytes[end];
    if (b == 0 || b == 0x1A) break;
    if (b >= 0x80 && end + 1 < bytes.size()) {
      if (bytes[end + 1] == 0) {
        ++end;
        break;
      }
      end += 2;
    } else {
      ++end;
    }
  }
  return Text(reinterpret_cast<const char*>(bytes.data()), end);
}

Text TextUpToZero(std::string_view converted) { return Text(converted.substr(0, converted.find('\0'))); }

Text TextFromConverted(const std::optional<Bytes>& converted) {
  if (!converted) return {};
  return TextUpToZero(std::string_view(reinterpret_cast<const char*>(converted->data()), converted->size()));
}

// The units up to the first zero unit, in code page 936 with its default character.
Text AnsiFromUnits(std::u16string_view units) {
  return TextUpToZero(Utf16ToMultiByte(kCodePageGbk, units.substr(0, units.find(u'\0'))));
}

Text Declarations(std::string_view list) { return Replace(list, "''", "\""); }

std::int32_t CodeOfDeclaration(int which) {
  switch (which) {
    case kDeclaredUtf8: return kCharsetUtf8;
    case kDeclaredBig5: return kCharsetBig5;
    case kDeclaredBig5Hkscs: return kCharsetBig5Hkscs;
    default: return kCharsetAnsi;
  }
}

// Where the data begins after a byte-order mark, and the code the mark (or a declaration) gives.
std::size_t DetectStart(ByteSpan input, std::int32_t& code) {
  if (BeginsWith(input, kUtf8Mark)) {
    code = kCharsetUtf8;
    return kUtf8Mark.size();
  }
  if (BeginsWith(input, kUtf16LeMark)) {
    code = kCharsetUtf16Le;
    return kUtf16LeMark.size();
  }
  if (BeginsWith(input, kUtf16BeMark)) {
    code = kCharsetUtf16Be;
    return kUtf16BeMark.size();
  }
  int which = kDeclaredNone;
  DetectPageCharset(ReadAsText(input), which);
  code = CodeOfDeclaration(which);
  return 0;
}

const char* CharsetName(std::int32_t code) {
  switch (code) {
    case kCharsetUtf8: return "UTF-8";
    case kCharsetUtf16Le: return "UTF-16LE";
    case kCharsetUtf16Be: return "UTF-16BE";
    case kCharsetBig5: return "BIG5";
    case kCharsetBig5Hkscs: return "BIG5-HKSCS";
    default: return nullptr;
  }
}

Text FallbackConversion(std::int32_t code, ByteSpan bytes) {
  switch (code) {
    case kCharsetUtf8: return Utf8ToAnsi(bytes);
    case kCharsetUtf16Le: return Utf16ToAnsi(bytes);
    case kCharsetUtf16Be: {
      Bytes swapped(bytes.begin(), bytes.end());
      for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
      return Utf16ToAnsi(swapped);
    }
    case kCharsetBig5:
    case kCharsetBig5Hkscs: return Big5ToGbk(ReadAsText(bytes));
    default: return {};
  }
}

#ifdef _WIN32
// The path is GBK text (GB18030 where it names a file outside GBK), so it goes through the codec
// to the W API.
std::optional<Bytes> ReadFileBytes(std::string_view path) {
  const std::wstring name = WideFromText(path);
  struct Closer {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
  };
  HANDLE raw = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::unique_ptr<void, Closer> file(raw);
  Bytes bytes;
  std::uint8_t block[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), block, sizeof block, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.insert(bytes.end(), block, block + got);
  }
  return bytes;
}
#else
std::optional<Bytes> ReadFileBytes(std::string_view path) {
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  const std::unique_ptr<std::FILE, Closer> file(std::fopen(std::string(path).c_str(), "rb"));
  if (!file) return std::nullopt;
  Bytes bytes;
  std::uint8_t block[64 * 1024];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) bytes.insert(bytes.end(), block, block + got);
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}
#endif

}  // namespace

Text DecodeReplyText(std::string_view path, std::int32_t selector, std::int32_t& detected, Text& text,
                     const Bytes& bytes, std::string_view fallbackText) {
  std::optional<Bytes> fileBytes;
  if (!path.empty()) {
    fileBytes = ReadFileBytes(path);
    if (!fileBytes) {
      text.clear();
      return {};
    }
  }
  ByteSpan input(reinterpret_cast<const std::uint8_t*>(fallbackText.data()), fallbackText.size());
  if (fileBytes) {
    input = *fileBytes;
  } else if (!bytes.empty()) {
    input = bytes;
  }

  std::int32_t code = selector;
  std::size_t cursor = 0;
  if (selector == kCharsetDetect) {
    cursor = DetectStart(input, code);
  } else if (selector == kCharsetUtf8) {
    if (BeginsWith(input, kUtf8Mark)) cursor = kUtf8Mark.size();
  } else if (selector == kCharsetUtf16Le || selector == kCharsetUtf16Be) {
    cursor = std::min<std::size_t>(2, input.size());
  }
  const ByteSpan remaining = input.subspan(cursor);

  Text result;
  if (const char* name = CharsetName(code)) {
    result = TextFromConverted(ConvertCharset(name, "GB18030", remaining));
    if (result.empty()) result = FallbackConversion(code, remaining);
  } else {
    result = TextFromConverted(ConvertCharset("UTF-8", "GB18030", remaining));
    if (!result.empty()) code = kCharsetUtf8;
  }
  if (result.empty()) {
    result = ReadAsText(input);
    code = kCharsetAnsi;
  }
  detected = code;
  text = result;
  return result;
}

bool DetectPageCharset(std::string_view page, int& which) {
  which = kDeclaredNone;
  int headPosition = 0;
  const Text head = ExtractBetween(page, "<head>", "</head>", headPosition);
  const std::string_view scope = head.empty() ? page : std::string_view(head);
  const Text utf8 = Declarations(kUtf8Declarations);
  const Text big5Hkscs = Declarations(kBig5HkscsDeclarations);
  const Text big5 = Declarations(kBig5Declarations);
  int position = 0;
  for (;;) {
    // Each call gives the inside of the next tag that begins with <meta; an empty one ends the walk.
    const Text meta = ExtractBetween(scope, "<meta", ">", position);
    if (meta.empty()) return false;
    if (ContainsAny(meta, utf8, true)) {
      which = kDeclaredUtf8;
    } else if (ContainsAny(meta, big5Hkscs, true)) {
      which = kDeclaredBig5Hkscs;
    } else if (ContainsAny(meta, big5, true)) {
      which = kDeclaredBig5;
    } else {
      continue;
    }
    return true;
  }
}

bool ContainsAny(std::string_view text, std::string_view alternatives, bool any) {
  for (const Text& alternative : Split(alternatives, kAlternativeSeparator)) {
    const bool found = Find(text, alternative, 1, false) != -1;
    if (any && found) return true;
    if (!any && !found) return false;
  }
  return !any;
}

Text Utf8ToAnsi(std::span<const std::uint8_t> bytes) {
  const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return AnsiFromUnits(MultiByteToUtf16(kCodePageUtf8, raw));
}

Text Utf16ToAnsi(std::span<const std::uint8_t> bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    if (unit == 0) break;
    units += unit;
  }
  return AnsiFromUnits(units);
}

Text Big5ToGbk(std::string_view text) {
  return AnsiFromUnits(MultiByteToUtf16(kCodePageBig5, text));
}

}  // namespace lumatrel
