// The settings store driven by an arbitrary document and an arbitrary sequence of writes, reads
// and reopenings, with writes made re-entrantly from the dispatch hook while a write is in hand.
// After every operation: the file holds exactly the document; every entry reads back as last
// written (in the order the writes were issued); entries not written keep their values; and a
// write changes only its own value's bytes (or only inserts its key line and header).
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "platform/Events.h"
#include "platform/FileStream.h"
#include "platform/Notice.h"
#include "settings/ConfigStore.h"
#include "settings/StoredForm.h"
#include "text/Text.h"

namespace lumatrel {
namespace {

// Names that are prefixes, case variants and double-byte versions of one another, as the program
// and a hand-edited file may have them.
const char* const kSections[] = {"主界面", "a", "A", "ab", "b", "主"};
const char* const kKeys[] = {"上次目录", "k", "K", "kk", "k2", "上次"};
// Stands for a missing entry: no stored value can hold CR LF.
const Text kMissing = "\r\n";

using Entry = std::pair<std::string, std::string>;

// One scratch folder per fuzzing process, removed when it ends.
struct ScratchFolder {
  std::filesystem::path folder;
  ScratchFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "lumatrel-fuzz-settings-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) std::abort();
    folder = name;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

const std::string& ScratchPath() {
  static const ScratchFolder scratch;
  static const std::string path = (scratch.folder / "Lumatrel.ini").string();
  return path;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  FUZZ_CHECK(file != nullptr);
  FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
  std::fclose(file);
}

// A value as a caller may give one: any bytes but zero, line breaks and stray lead bytes included.
Text ConsumeValue(FuzzedDataProvider& input) { return TextFromRaw(input.ConsumeRandomLengthString(40)); }

class Run {
 public:
  Run(FuzzedDataProvider& input, int mode) : input_(input), mode_(mode) {}

  void Start(std::string_view initialDocument) {
    WriteFile(ScratchPath(), initialDocument);
    FUZZ_CHECK(store_.Open(ScratchPath(), mode_));
    FUZZ_CHECK(store_.Document().View() == initialDocument);
    for (const char* section : kSections) {
      for (const char* key : kKeys) expected_[{section, key}] = store_.ReadEntry(section, key, kMissing, false);
    }
  }

  void Step() {
    switch (input_.ConsumeIntegralInRange<int>(0, 5)) {
      case 0:
      case 1:
        TopLevelWrite();
        break;
      case 2: {  // reading through the current section, line breaks restored
        const Entry entry = PickEntry();
        store_.SelectSection(entry.first);
        const Text read = store_.ReadText(entry.second, "default");
        const Text& stored = expected_.at(entry);
        FUZZ_CHECK(read == (stored == kMissing ? Text("default") : ValueFromStoredForm(stored)));
        break;
      }
      case 3: {  // an empty value counts as missing when asked
        const Entry entry = PickEntry();
        const Text read = store_.ReadEntry(entry.first, entry.second, "default", true);
        const Text& stored = expected_.at(entry);
        FUZZ_CHECK(read == (stored == kMissing || stored.empty() ? Text("default") : stored));
        break;
      }
      case 4:  // closing and opening again: the file alone must carry every entry
        if (mode_ == StorageMode::File) {
          const std::string before(store_.Document().View());
          store_.Close();
          FUZZ_CHECK(store_.Open(ScratchPath(), mode_));
          FUZZ_CHECK(store_.Document().View() == before);
        }
        break;
      default:
        nestedChance_ = input_.ConsumeIntegral<std::uint8_t>();
        break;
    }
    CheckAll();
  }

  // Called from the dispatch hook.
  void Dispatched() {
    if (!inWrite_ || nested_ >= 4 || input_.remaining_bytes() == 0) return;
    if (input_.ConsumeIntegral<std::uint8_t>() >= nestedChance_) return;
    if (input_.ConsumeBool()) {
      // A handler reading mid-write sees some state of the document; only that it returns counts.
      const Entry entry = PickEntry();
      FUZZ_CHECK(store_.ReadEntry(entry.first, entry.second, {}, false).find('\0') == std::string::npos);
      return;
    }
    const Entry entry = PickEntry();
    const Text value = ConsumeValue(input_);
    ++nested_;
    // Queued behind the write in hand, and carried out before that one returns.
    FUZZ_CHECK(store_.WriteEntry(entry.first, entry.second, StoredFormOf(value), false) == 3);
    issued_.push_back({entry, StoredFormOf(value)});
  }

 private:
  Entry PickEntry() {
    const char* section = kSections[input_.ConsumeIntegralInRange<std::size_t>(0, std::size(kSections) - 1)];
    const char* key = kKeys[input_.ConsumeIntegralInRange<std::size_t>(0, std::size(kKeys) - 1)];
    return {section, key};
  }

  void TopLevelWrite() {
    const Entry entry = PickEntry();
    const Text value = ConsumeValue(input_);
    const Text stored = StoredFormOf(value);
    const std::string before(store_.Document().View());
    const Text old = expected_.at(entry);

    issued_.clear();
    issued_.push_back({entry, stored});
    nested_ = 0;
    inWrite_ = true;
    const bool viaText = input_.ConsumeBool();
    bool written;
    if (viaText) {
      store_.SelectSection(entry.first);
      written = store_.WriteText(entry.second, value);
    } else {
      written = store_.WriteEntry(entry.first, entry.second, stored, false) == 0;
    }
    inWrite_ = false;
    FUZZ_CHECK(written);
    FUZZ_CHECK(store_.PendingCount() == 0);
    for (const auto& [at, storedValue] : issued_) expected_[at] = storedValue;

    // A value read back ends at a zero byte, so its length in the document is known only
    // when the document holds none.
    if (issued_.size() == 1 && before.find('\0') == std::string::npos) CheckConfined(before, old, stored, entry);
  }

  // The write changed only its own value, or only inserted its key line (and its header).
  void CheckConfined(const std::string& before, const Text& old, const Text& stored, const Entry& entry) {
    const std::string_view after = store_.Document().View();
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    std::size_t suffix = 0;
    const std::size_t room = std::min(before.size(), after.size()) - prefix;
    while (suffix < room && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) ++suffix;

    bool confined;
    if (old != kMissing) {
      confined = after.size() + old.size() == before.size() + stored.size() &&
                 prefix + suffix + old.size() >= before.size();
    } else {
      const std::size_t keyLine = 2 + entry.second.size() + 1 + stored.size();  // CR LF key "=" value
      // Besides the key line, at most its header line: "[" section "]", after a CR LF unless first.
      const std::size_t headerLine = (before.empty() ? 0 : 2) + entry.first.size() + 2;
      const std::size_t grown = after.size() > before.size() ? after.size() - before.size() : 0;
      confined = prefix + suffix >= before.size() && (grown == keyLine || grown == keyLine + headerLine);
    }
    if (!confined) {
      std::fprintf(stderr, "write [%s] %s=%s, old %s:\n  %s\n->%s\n", Escaped(entry.first).c_str(),
                   Escaped(entry.second).c_str(), Escaped(stored).c_str(), Escaped(old).c_str(),
                   Escaped(before).c_str(), Escaped(after).c_str());
    }
    FUZZ_CHECK(confined);
  }

  void CheckAll() {
    if (mode_ == StorageMode::File) {
      const auto file = ReadWholeFile(ScratchPath());
      FUZZ_CHECK(file.has_value());
      FUZZ_CHECK(std::string_view(reinterpret_cast<const char*>(file->data()), file->size()) ==
                 store_.Document().View());
    }
    for (const auto& [entry, stored] : expected_) {
      const Text read = store_.ReadEntry(entry.first, entry.second, kMissing, false);
      if (read != stored) {
        std::fprintf(stderr, "[%s] %s reads %s, written %s; document %s\n", Escaped(entry.first).c_str(),
                     Escaped(entry.second).c_str(), Escaped(read).c_str(), Escaped(stored).c_str(),
                     Escaped(store_.Document().View()).c_str());
      }
      FUZZ_CHECK(read == stored);
    }
  }

  FuzzedDataProvider& input_;
  const int mode_;
  ConfigStore store_;
  std::map<Entry, Text> expected_;
  std::vector<std::pair<Entry, Text>> issued_;
  bool inWrite_ = false;
  int nested_ = 0;
  std::uint8_t nestedChance_ = 0;
};

}  // namespace
}  // namespace lumatrel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumatrel;
  FuzzedDataProvider input(data, size);
  const int mode = input.ConsumeBool() ? StorageMode::Memory : StorageMode::File;
  const std::string document = input.ConsumeRandomLengthString(512);

  // A give-up notice must not reach a real box; it counts as a finding.
  SetMessageBoxHook([](std::string_view text, std::string_view, unsigned) {
    std::fprintf(stderr, "unexpected notice: %.*s\n", static_cast<int>(text.size()), text.data());
    std::abort();
  });
  Run run(input, mode);
  run.Start(document);
  SetDispatchHook([&run] { run.Dispatched(); });
  for (int steps = 0; steps < 24 && input.remaining_bytes() > 0; ++steps) run.Step();
  SetDispatchHook({});
  SetMessageBoxHook({});
  return 0;
}
