#include <windows.h>

#include <string>

#include "platform/Notice.h"

namespace lumatrel {
namespace {

// GBK text to UTF-16 for the W API.
std::wstring WideFromText(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

}  // namespace

void ShowSystemMessageBox(std::string_view text, std::string_view title, unsigned style) {
  MessageBoxW(nullptr, WideFromText(text).c_str(), WideFromText(title).c_str(), style);
}

}  // namespace lumatrel
