// What the application's logic asks of the world outside the window: the picture service, the
// picture files, the file dialog, the clipboard, the shell, the settings and the clock. The
// Windows build passes the real ones; tests pass scripted ones.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "text/Text.h"

namespace lumatrel {

// One exchange with the picture service (UploadImage on the one WebClient) and its abort.
class PictureUploader {
 public:
  virtual ~PictureUploader() = default;
  virtual bool Upload(const Bytes& picture, const Text& fileName, Text& pictureAddress, Text& failureText,
                      Text& picturePath) = 0;
  virtual void Abort() = 0;
};

class PictureFiles {
 public:
  virtual ~PictureFiles() = default;
  // The size of a file that can be opened for reading; nothing otherwise.
  virtual std::optional<std::uint64_t> SizeOf(const Text& path) = 0;
  // The whole file; empty bytes when it cannot be read.
  virtual Bytes ReadAll(const Text& path) = 0;
};

struct PickRequest {
  Text title;
  Text filter;  // description|patterns|... pairs
  Text initialFolder;
};

// The multi-select open-file dialog: the full paths chosen, none when cancelled.
class PicturePicker {
 public:
  virtual ~PicturePicker() = default;
  virtual std::vector<Text> Pick(const PickRequest& request) = 0;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Empties the clipboard and puts text on it; does nothing when the clipboard cannot be opened.
  virtual void PutText(const Text& text) = 0;
};

// The shell's "open" verb on a path or an address; its outcome is not looked at.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual void Open(const Text& target) = 0;
};

// The part of ConfigStore the last-folder memory uses.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual void SelectSection(const Text& section) = 0;
  virtual Text ReadText(const Text& key, const Text& defaultValue) = 0;
  virtual void WriteText(const Text& key, const Text& value) = 0;
};

class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void SleepMilliseconds(int milliseconds) = 0;
};

// A whole number from low to high inclusive, fresh on every call.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual int Between(int low, int high) = 0;
};

}  // namespace lumatrel
