// The system's code-page conversions, called as the system offers them: no flags, so invalid
// input is replaced rather than refused.
#include <windows.h>

#include <climits>

#include "text/CodePages.h"

namespace lumatrel {

std::u16string MultiByteToUtf16(unsigned codePage, std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::u16string units(static_cast<std::size_t>(n), u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(units.data()), n);
  return units;
}

std::string Utf16ToMultiByte(unsigned codePage, std::u16string_view units) {
  if (units.empty() || units.size() > INT_MAX) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
  const int size = static_cast<int>(units.size());
  const int n = WideCharToMultiByte(codePage, 0, wide, size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide, size, bytes.data(), n, nullptr, nullptr);
  return bytes;
}

}  // namespace lumatrel
