// The program's settings: text entries in named sections of an INI-style document. In file mode
// the document is held in memory and every edit is made at once, at the same byte positions, in
// the settings file, which stays open (closed to other writers) while the store is bound to it.
// The store lets pending window events run in its search loops; a write arriving meanwhile is
// queued and carried out, in order, after the one in hand.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "platform/FileStream.h"
#include "settings/ByteString.h"
#include "text/Text.h"

namespace lumatrel {

namespace StorageMode {
inline constexpr int File = 0;      // the document, mirrored in the settings file
inline constexpr int Memory = 1;    // the document; a scratch stream, never the disk
inline constexpr int Registry = 2;  // one registry value per entry, no document
}  // namespace StorageMode

struct PendingOperation {
  int kind = 0;              // 0: write an entry, the only kind there is
  std::vector<Text> texts;   // the section, the key, and the value in stored form
};

// The file name of a path without folder and without its last extension.
Text FileBaseName(std::string_view path);

class ConfigStore {
 public:
  ConfigStore() = default;
  ConfigStore(const ConfigStore&) = delete;
  ConfigStore& operator=(const ConfigStore&) = delete;
  ~ConfigStore();

  // Binds the store to a settings file (modes 0 and 1, any other value but 2 counting as 0) or to
  // the registry (mode 2, which touches nothing). False when the file could not be opened for
  // writing; the document then holds what could be read and edits stay in memory.
  bool Open(const Text& path, int mode);
  void SelectSection(const Text& name);
  // Closes the stream and empties the document.
  void Close();
  bool Load(const Text& path, bool inMemory);

  // The value of key in the current section, line breaks restored, or defaultText.
  Text ReadText(const Text& key, const Text& defaultText = {});
  // True when the value was written; false when it was given up, or queued behind a running write.
  bool WriteText(const Text& key, const Text& value);

  Text ReadEntry(const Text& section, const Text& key, const Text& defaultText, bool emptyIsMissing);
  // value is in stored form. 0 written, -1 given up, 3 queued behind a write in progress.
  int WriteEntry(const Text& section, const Text& key, const Text& value, bool now);
  // The result of the first pending write, or -1 when none was pending.
  int DrainPending();
  // The position of the "[" of the first section header line (a "[" after CR LF, closed by a "]"
  // on the same line, whatever follows it) starting between from and to, or -1.
  std::int64_t FindHeaderBetween(std::int64_t from, std::int64_t to) const;

  const ByteString& Document() const { return document; }
  bool HasStream() const { return stream != nullptr; }
  const Text& FilePath() const { return filePath; }
  const Text& Section() const { return section; }
  int Mode() const { return mode; }
  const Text& RegistryPrefix() const { return registryPrefix; }
  std::size_t PendingCount() const { return pendingWrites.size(); }

 private:
  int EditEntry(const Text& sectionName, const Text& key, const Text& value);
  bool IsLineStart(std::int64_t pos) const;
  std::int64_t FindKeyStart(std::int64_t headerEnd, std::string_view entryPattern) const;
  bool StreamInsertAt(std::int64_t offset, std::string_view bytes);
  bool StreamAppend(std::string_view bytes);
  bool StreamReplaceAt(std::int64_t offset, std::int64_t count, std::string_view bytes);

  ByteString document;
  std::unique_ptr<FileStream> stream;
  int draining = 0;
  std::deque<PendingOperation> pendingWrites;
  Text filePath;
  Text section;
  int mode = StorageMode::File;
  Text registryPrefix;
};

}  // namespace lumatrel
