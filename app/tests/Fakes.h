// In-memory stand-ins for the window and the world outside it, for the logic's tests.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "app/MainView.h"
#include "app/Seams.h"

namespace lumatrel::testing {

struct FakeRow {
  std::array<Text, 4> cells;
  int icon = -1;
  int value = 0;
  bool selected = false;
  std::vector<int> iconHistory;
};

class FakeView : public MainView, public BannerView {
 public:
  Text UploadCaption() const override { return caption; }
  void SetUploadCaption(const Text& text) override { caption = text; }
  Text UploadTag() const override { return tag; }
  void SetUploadTag(const Text& text) override { tag = text; }
  void SetProgressLabel(const Text& text) override {
    label = text;
    labels.push_back(text);
  }
  void SetProgressPosition(int position) override {
    bar = position;
    barHistory.push_back(position);
  }
  void SetProgressTimerPeriod(int milliseconds) override { timerPeriod = milliseconds; }
  int RowCount() const override { return static_cast<int>(rows.size()); }
  void DeleteAllRows() override { rows.clear(); }
  int AddRow(const Text& name, int icon, int value) override {
    FakeRow row;
    row.cells[0] = name;
    row.icon = icon;
    row.iconHistory.push_back(icon);
    row.value = value;
    rows.push_back(row);
    return RowCount() - 1;
  }
  Text Cell(int row, int column) const override { return rows.at(row).cells.at(column); }
  void SetCell(int row, int column, const Text& text) override { rows.at(row).cells.at(column) = text; }
  void SetRowIcon(int row, int icon) override {
    rows.at(row).icon = icon;
    rows.at(row).iconHistory.push_back(icon);
  }
  int RowValue(int row) const override { return rows.at(row).value; }
  bool IsRowSelected(int row) const override { return rows.at(row).selected; }
  void EnsureRowVisible(int row) override { visible.push_back(row); }
  void SetMenuCaption(MenuItem item, const Text& text) override { menuCaptions[item] = text; }
  void PopUpMenu() override { ++menuShown; }

  int LogoLeft() const override { return logoLeft; }
  int LogoWidth() const override { return 195; }
  void SetLogoLeft(int left) override { logoLeft = left; }
  int HomeButtonLeft() const override { return 93; }
  int HomeButtonWidth() const override { return 64; }
  int ClientWidth() const override { return clientWidth; }

  Text caption = "上传图片..";
  Text tag;
  Text label;
  std::vector<Text> labels;
  int bar = 0;
  std::vector<int> barHistory;
  int timerPeriod = 0;
  std::vector<FakeRow> rows;
  std::vector<int> visible;
  std::map<MenuItem, Text> menuCaptions;
  int menuShown = 0;
  int logoLeft = 176;
  int clientWidth = 896;
};

// Answers like UploadImage: an address for a known file, the empty reply once aborted.
class FakeUploader : public PictureUploader {
 public:
  bool Upload(const Bytes& picture, const Text& fileName, Text& pictureAddress, Text& failureText,
              Text& picturePath) override {
    aborted = false;
    calls.push_back({picture, fileName});
    if (duringExchange) duringExchange(static_cast<int>(calls.size()));
    if (aborted || fileName.find("bad") != Text::npos) {
      pictureAddress.clear();
      failureText = aborted ? "上传失败：" : "上传失败：refused";
      picturePath = "http://";
      return false;
    }
    pictureAddress = "http://pic.test/" + fileName;
    failureText = "上传失败：";
    picturePath = "http://pic.test/path/" + fileName;
    return true;
  }
  void Abort() override {
    aborted = true;
    ++aborts;
  }

  struct Call {
    Bytes picture;
    Text fileName;
  };
  std::vector<Call> calls;
  // Runs while the exchange "waits for its reply", with the call's 1-based number.
  std::function<void(int)> duringExchange;
  bool aborted = false;
  int aborts = 0;
};

class FakeFiles : public PictureFiles {
 public:
  std::optional<std::uint64_t> SizeOf(const Text& path) override {
    if (auto big = hugeSizes.find(path); big != hugeSizes.end()) return big->second;
    auto file = files.find(path);
    if (file == files.end()) return std::nullopt;
    return file->second.size();
  }
  Bytes ReadAll(const Text& path) override {
    reads.push_back(path);
    auto file = files.find(path);
    return file == files.end() ? Bytes() : file->second;
  }
  std::map<Text, Bytes> files;
  std::map<Text, std::uint64_t> hugeSizes;  // sizes reported without content
  std::vector<Text> reads;
};

class FakePicker : public PicturePicker {
 public:
  std::vector<Text> Pick(const PickRequest& request) override {
    requests.push_back(request);
    if (whileOpen) whileOpen();
    return answer;
  }
  std::vector<Text> answer;
  std::function<void()> whileOpen;
  std::vector<PickRequest> requests;
};

class FakeClipboard : public Clipboard {
 public:
  void PutText(const Text& text) override {
    contents = text;
    ++puts;
  }
  std::optional<Text> contents;
  int puts = 0;
};

class FakeShell : public Shell {
 public:
  void Open(const Text& target) override { opened.push_back(target); }
  std::vector<Text> opened;
};

class FakeSettings : public SettingsStore {
 public:
  void SelectSection(const Text& name) override { section = name; }
  Text ReadText(const Text& key, const Text& defaultValue) override {
    auto entry = entries.find({section, key});
    return entry == entries.end() ? defaultValue : entry->second;
  }
  void WriteText(const Text& key, const Text& value) override { entries[{section, key}] = value; }
  Text section;
  std::map<std::pair<Text, Text>, Text> entries;
};

class CountingSleeper : public Sleeper {
 public:
  void SleepMilliseconds(int milliseconds) override {
    ++sleeps;
    slept += milliseconds;
  }
  int sleeps = 0;
  int slept = 0;
};

class ScriptedRandom : public RandomSource {
 public:
  int Between(int low, int high) override {
    lastLow = low;
    lastHigh = high;
    return next;
  }
  int next = 60;
  int lastLow = 0;
  int lastHigh = 0;
};

}  // namespace lumatrel::testing
