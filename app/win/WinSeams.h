// The real outside world of the Windows build: picture files, the file dialog, the clipboard,
// the shell, the settings store, sleeping and chance.
#pragma once

#include <windows.h>

#include <functional>
#include <random>

#include "app/Seams.h"

namespace lumatrel {
class ConfigStore;
}

namespace lumatrel::win {

class WinPictureFiles : public PictureFiles {
 public:
  std::optional<std::uint64_t> SizeOf(const Text& path) override;
  Bytes ReadAll(const Text& path) override;
};

// The multi-select explorer-style open dialog, owned by the window owner() names.
class OpenFileDialogPicker : public PicturePicker {
 public:
  explicit OpenFileDialogPicker(std::function<HWND()> owner) : owner_(std::move(owner)) {}
  std::vector<Text> Pick(const PickRequest& request) override;

 private:
  std::function<HWND()> owner_;
};

// The dialog's answer, the folder and then the names of a multiple choice or one full path, as
// full paths.
std::vector<std::wstring> PathsFromDialogBuffer(const wchar_t* buffer, std::size_t size);

// CF_TEXT with the GBK bytes and CF_UNICODETEXT with the same text.
class WinClipboard : public Clipboard {
 public:
  explicit WinClipboard(std::function<HWND()> owner) : owner_(std::move(owner)) {}
  void PutText(const Text& text) override;

 private:
  std::function<HWND()> owner_;
};

class WinShell : public Shell {
 public:
  void Open(const Text& target) override;
};

class ConfigStoreSettings : public SettingsStore {
 public:
  explicit ConfigStoreSettings(ConfigStore& store) : store_(store) {}
  void SelectSection(const Text& section) override;
  Text ReadText(const Text& key, const Text& defaultValue) override;
  void WriteText(const Text& key, const Text& value) override;

 private:
  ConfigStore& store_;
};

class WinSleeper : public Sleeper {
 public:
  void SleepMilliseconds(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
};

class ShuffledRandom : public RandomSource {
 public:
  ShuffledRandom() : engine_(std::random_device{}()) {}
  int Between(int low, int high) override { return std::uniform_int_distribution<int>(low, high)(engine_); }

 private:
  std::mt19937 engine_;
};

}  // namespace lumatrel::win
