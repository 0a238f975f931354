#include "app/win/WinSeams.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "app/win/ScopedWin.h"
#include "settings/ConfigStore.h"
#include "text/Gb18030.h"

namespace lumatrel::win {
namespace {

ScopedFile OpenForReading(const Text& path) {
  return ScopedFile(CreateFileW(WideFromText(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool IsOpen(const ScopedFile& file) { return file.Get() != INVALID_HANDLE_VALUE && file.Get() != nullptr; }

// Room for hundreds of long names.
constexpr std::size_t kDialogBufferChars = 1 << 18;

std::wstring DialogFilter(std::string_view filter) {
  std::wstring wide = WideFromText(filter);
  for (wchar_t& c : wide) {
    if (c == L'|') c = L'\0';
  }
  wide.push_back(L'\0');
  wide.push_back(L'\0');
  return wide;
}

bool PutOnClipboard(UINT format, const void* data, std::size_t size) {
  ScopedGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) return false;
  void* target = GlobalLock(memory.Get());
  if (!target) return false;
  std::memcpy(target, data, size);
  GlobalUnlock(memory.Get());
  if (!SetClipboardData(format, memory.Get())) return false;
  // The system owns the memory from here on.
  memory.Release();
  return true;
}

}  // namespace

std::optional<std::uint64_t> WinPictureFiles::SizeOf(const Text& path) {
  ScopedFile file = OpenForReading(path);
  if (!IsOpen(file)) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

Bytes WinPictureFiles::ReadAll(const Text& path) {
  ScopedFile file = OpenForReading(path);
  if (!IsOpen(file)) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 || size.QuadPart > 0x7FFFFFFF) return {};
  Bytes bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const auto want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file.Get(), bytes.data() + done, want, &read, nullptr)) return {};
    if (read == 0) break;  // the file shrank meanwhile
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

std::vector<std::wstring> PathsFromDialogBuffer(const wchar_t* buffer, std::size_t size) {
  std::vector<std::wstring> items;
  std::size_t at = 0;
  while (at < size && buffer[at] != L'\0') {
    std::wstring item(buffer + at);
    at += item.size() + 1;
    items.push_back(std::move(item));
  }
  if (items.size() <= 1) return items;
  std::wstring folder = items.front();
  if (folder.back() != L'\\') folder.push_back(L'\\');  // a drive's root already ends with one
  std::vector<std::wstring> paths;
  for (std::size_t i = 1; i < items.size(); ++i) paths.push_back(folder + items[i]);
  return paths;
}

std::vector<Text> OpenFileDialogPicker::Pick(const PickRequest& request) {
  std::wstring buffer(kDialogBufferChars, L'\0');
  const std::wstring filter = DialogFilter(request.filter);
  const std::wstring title = WideFromText(request.title);
  const std::wstring folder = WideFromText(request.initialFolder);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner_ ? owner_() : nullptr;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return {};
  std::vector<Text> paths;
  for (const std::wstring& path : PathsFromDialogBuffer(buffer.data(), buffer.size())) {
    paths.push_back(TextFromWide(path));
  }
  return paths;
}

void WinClipboard::PutText(const Text& text) {
  ClipboardGuard clipboard(owner_ ? owner_() : nullptr);
  if (!clipboard.Opened()) return;
  EmptyClipboard();
  PutOnClipboard(CF_TEXT, text.c_str(), text.size() + 1);
  const std::wstring wide = WideFromText(text);
  PutOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

void WinShell::Open(const Text& target) {
  ShellExecuteW(nullptr, L"open", WideFromText(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ConfigStoreSettings::SelectSection(const Text& section) { store_.SelectSection(section); }

Text ConfigStoreSettings::ReadText(const Text& key, const Text& defaultValue) {
  return store_.ReadText(key, defaultValue);
}

void ConfigStoreSettings::WriteText(const Text& key, const Text& value) { store_.WriteText(key, value); }

}  // namespace lumatrel::win
