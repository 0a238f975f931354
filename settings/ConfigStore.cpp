#include "settings/ConfigStore.h"

#include <utility>

#include "platform/Events.h"
#include "platform/Registry.h"
#include "settings/ShowNotice.h"
#include "settings/StoredForm.h"

namespace lumatrel {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
// A write gives up after appending its section header this often without finding it.
constexpr int kMostHeaderAppends = 10;

struct RegistryPath {
  Text key;
  Text valueName;
};

// Splits at the last backslash that is a character of its own (not the second byte of one).
RegistryPath SplitRegistryPath(std::string_view fullPath) {
  const int at = FindBackward(fullPath, "\\", static_cast<int>(fullPath.size()) + 1);
  if (at == -1) return {Text(), Text(fullPath)};
  return {Left(fullPath, at - 1), Mid(fullPath, at + 1)};
}

}  // namespace

Text FileBaseName(std::string_view path) {
  const int slash = FindBackward(path, "\\", static_cast<int>(path.size()) + 1);
  const Text name = slash == -1 ? Text(path) : Mid(path, slash + 1);
  const int dot = FindBackward(name, ".", static_cast<int>(name.size()) + 1);
  return dot == -1 ? name : Left(name, dot - 1);
}

ConfigStore::~ConfigStore() { Close(); }

bool ConfigStore::Open(const Text& path, int newMode) {
  filePath = path;
  mode = newMode;
  if (mode == StorageMode::Registry) return true;
  return Load(filePath, mode == StorageMode::Memory);
}

void ConfigStore::SelectSection(const Text& name) {
  section = name;
  registryPrefix = "Brenquil软件\\" + FileBaseName(filePath) + "\\" + section + "\\";
}

void ConfigStore::Close() {
  stream.reset();
  document.Clear();
}

bool ConfigStore::Load(const Text& path, bool inMemory) {
  Close();
  // Read before opening for writing: a missing file loads empty and is then created.
  if (const auto bytes = ReadWholeFile(path)) {
    document.Append(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  }
  if (inMemory) {
    stream = OpenMemoryStream();
    stream->Insert(document.View());
    stream->Seek(0);
  } else {
    stream = OpenExclusiveFile(path);
  }
  return stream != nullptr;
}

Text ConfigStore::ReadText(const Text& key, const Text& defaultText) {
  const Text storedDefault = StoredFormOf(defaultText);
  Text stored;
  if (mode == StorageMode::Registry) {
    const RegistryPath at = SplitRegistryPath(registryPrefix + key);
    stored = RegistryReadText(RegistryRoot::ClassesRoot, at.key, at.valueName).value_or(storedDefault);
  } else {
    stored = ReadEntry(section, key, storedDefault, false);
  }
  return ValueFromStoredForm(stored);
}

bool ConfigStore::WriteText(const Text& key, const Text& value) {
  const Text stored = StoredFormOf(value);
  if (mode == StorageMode::Registry) {
    const RegistryPath at = SplitRegistryPath(registryPrefix + key);
    return RegistryWriteText(RegistryRoot::ClassesRoot, at.key, at.valueName, stored);
  }
  return WriteEntry(section, key, stored, false) == 0;
}

int ConfigStore::WriteEntry(const Text& sectionName, const Text& key, const Text& value, bool now) {
  if (now) return EditEntry(sectionName, key, value);
  // The section is fixed now, not when the write is carried out.
  pendingWrites.push_back(PendingOperation{0, {sectionName, key, value}});
  if (draining != 0) return 3;
  return DrainPending();
}

int ConfigStore::DrainPending() {
  if (pendingWrites.empty()) return -1;
  draining = 1;
  // Copied: writes queued while this one runs grow the list.
  const PendingOperation first = pendingWrites.front();
  const int result = WriteEntry(first.texts[0], first.texts[1], first.texts[2], true);
  pendingWrites.pop_front();
  draining = 0;
  DrainPending();
  return result;
}

bool ConfigStore::IsLineStart(std::int64_t pos) const { return pos < 2 || document.Get(pos - 2, 2) == kLineBreak; }

std::int64_t ConfigStore::FindKeyStart(std::int64_t headerEnd, std::string_view entryPattern) const {
  const std::int64_t j = document.Find(entryPattern, headerEnd);
  if (j == -1) return -1;
  const std::int64_t keyStart = j + 2;
  // The first occurrence may lie in a later section.
  if (FindHeaderBetween(headerEnd + 1, keyStart - 1) != -1) return -1;
  return keyStart;
}

std::int64_t ConfigStore::FindHeaderBetween(std::int64_t from, std::int64_t to) const {
  std::int64_t p = from;
  // A header line ends its section whatever follows its "]": a header with a note after it is
  // found as the header of its own section, so the entries below it must not also count as the
  // previous section's, where a write would overwrite them.
  // Both searches look only as far as to: a match beyond it ends the search with -1 anyway, and
  // when no "]" follows one "[", none follows a later one either.
  for (;;) {
    p = document.Find("\r\n[", p, to - 1);
    if (p == -1) return -1;
    p += 2;
    const std::int64_t r = document.Find("]", p, to);
    if (r == -1) return -1;
    if (document.Get(p, r - p + 1).find(kLineBreak) == std::string::npos) return p;
  }
}

// Stream steps do nothing without a stream. A failed one leaves the file no longer equal to the
// document, so the stream is let go: later edits must not land at positions that no longer match.
bool ConfigStore::StreamAppend(std::string_view bytes) {
  if (!stream) return true;
  if (stream->SeekEnd() && stream->Insert(bytes)) return true;
  stream.reset();
  return false;
}

bool ConfigStore::StreamInsertAt(std::int64_t offset, std::string_view bytes) {
  if (!stream) return true;
  stream->Seek(offset);
  if (stream->Insert(bytes)) return true;
  stream.reset();
  return false;
}

bool ConfigStore::StreamReplaceAt(std::int64_t offset, std::int64_t count, std::string_view bytes) {
  if (!stream) return true;
  stream->Seek(offset);
  // One move of what follows, by the difference in length, instead of a delete and an insert
  // that would each move it; the bytes that result are the same.
  if (stream->Replace(count, bytes)) return true;
  stream.reset();
  return false;
}

int ConfigStore::EditEntry(const Text& sectionName, const Text& key, const Text& value) {
  const Text header = "[" + sectionName + "]";
  const Text entry = Text(kLineBreak) + key + "=";
  std::int64_t pos = 0;
  int appended = 0;
  for (;;) {
    DispatchPendingEvents();
    pos = document.Find(header, pos);
    if (pos == -1) {
      const std::int64_t length = document.Length();
      pos = length;
      const Text line = length > 0 ? Text(kLineBreak) + header : header;
      document.Append(line);
      if (!StreamAppend(line)) return -1;
      if (++appended <= kMostHeaderAppends) continue;
      ShowFailureNotice(document.View());
      return -1;
    }
    if (!IsLineStart(pos)) {
      ++pos;
      continue;
    }
    const std::int64_t headerEnd = pos + static_cast<std::int64_t>(header.size()) - 1;
    const std::int64_t keyStart = FindKeyStart(headerEnd, entry);
    if (keyStart == -1) {
      // The key line first; the next pass finds it and puts the value in. It goes at the end of
      // the header line, which is directly after the "]" unless the line goes on: text after
      // the "]" would otherwise end up in the new value.
      const std::int64_t lineEnd = document.Find(kLineBreak, headerEnd);
      const std::int64_t insertAt = lineEnd == -1 ? document.Length() + 1 : lineEnd;
      document.Insert(insertAt, entry);
      if (!StreamInsertAt(insertAt - 1, entry)) return -1;
      continue;
    }
    const std::int64_t valueStart = keyStart + static_cast<std::int64_t>(key.size()) + 1;
    const std::int64_t lineEnd = document.Find(kLineBreak, valueStart);
    const std::int64_t valueEnd = lineEnd == -1 ? document.Length() : lineEnd - 1;
    const std::int64_t count = valueEnd - valueStart + 1;
    document.Replace(valueStart, count, value);
    if (!StreamReplaceAt(valueStart - 1, count, value)) return -1;
    return 0;
  }
}

Text ConfigStore::ReadEntry(const Text& sectionName, const Text& key, const Text& defaultText, bool emptyIsMissing) {
  const Text header = "[" + sectionName + "]";
  const Text entry = Text(kLineBreak) + key + "=";
  std::int64_t pos = 0;
  for (;;) {
    DispatchPendingEvents();
    pos = document.Find(header, pos);
    if (pos == -1) return defaultText;
    if (!IsLineStart(pos)) {
      ++pos;
      continue;
    }
    const std::int64_t headerEnd = pos + static_cast<std::int64_t>(header.size()) - 1;
    const std::int64_t keyStart = FindKeyStart(headerEnd, entry);
    if (keyStart == -1) return defaultText;
    const std::int64_t valueStart = keyStart + static_cast<std::int64_t>(key.size()) + 1;
    const std::int64_t lineEnd = document.Find(kLineBreak, valueStart);
    const std::int64_t valueEnd = lineEnd == -1 ? document.Length() : lineEnd - 1;
    // As text: it ends before a zero byte, should the file hold one.
    const Text raw = TextFromRaw(document.Get(valueStart, valueEnd - valueStart + 1));
    if (raw.empty() && emptyIsMissing) return defaultText;
    return raw;
  }
}

}  // namespace lumatrel
