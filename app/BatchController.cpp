#include "app/BatchController.h"

#include <cmath>
#include <string>

#include "app/ByteSize.h"
#include "app/Pause.h"
#include "app/Paths.h"
#include "platform/Events.h"

namespace lumatrel {
namespace {
bool TooLarge(const std::optional<std::uint64_t>& size) { return size && *size > kLargestPicture; }
}  // namespace

void BatchController::OnUploadButtonClicked() {
  if (view_.UploadCaption() != kCaptionIdle) {
    RequestStop();
    return;
  }
  // Only reachable while the file dialog of this very click is up: never a second batch.
  if (running_) return;
  running_ = true;
  view_.DeleteAllRows();
  PickPictures();
  if (view_.RowCount() > 0) RunBatch();
  running_ = false;
}

void BatchController::RequestStop() {
  stopRequested = true;
  view_.SetUploadCaption(Text(kCaptionStopping));
  services_.uploader.Abort();
}

void BatchController::OnWindowClosing() {
  if (running_ && view_.UploadCaption() != kCaptionIdle) RequestStop();
}

void BatchController::RunBatch() {
  stopRequested = false;
  view_.SetUploadCaption(Text(kCaptionRunning));
  const int rows = view_.RowCount();
  for (int i = 1; i <= rows; ++i) {
    UploadRow(i - 1, i);
    if (stopRequested) break;
    const bool neverSet = false;
    PauseWithEvents(kPauseBetweenFiles, neverSet, services_.sleeper);
  }
  view_.SetProgressTimerPeriod(0);
  view_.SetProgressLabel(Text(kBatchDoneLabel));
  view_.SetProgressPosition(0);
  view_.SetUploadCaption(Text(kCaptionIdle));
}

void BatchController::UploadRow(int row, int rowNumber) {
  DispatchPendingEvents();
  view_.EnsureRowVisible(row);
  const Text fullPath = view_.UploadTag() + view_.Cell(row, kColumnName);
  view_.SetProgressLabel("(" + std::to_string(view_.RowCount()) + ":" + std::to_string(rowNumber) + ") " +
                         fullPath);
  view_.SetProgressPosition(0);
  progressTotal = view_.RowValue(row);
  progressSent = 0;
  view_.SetProgressTimerPeriod(kProgressPeriod);
  view_.SetRowIcon(row, kIconUploading);

  Text pictureAddress, failureText, picturePath;
  bool uploaded = false;
  if (TooLarge(services_.files.SizeOf(fullPath))) {
    failureText = Text(kTooLargeText);
  } else {
    const Bytes picture = services_.files.ReadAll(fullPath);
    uploaded = services_.uploader.Upload(picture, NameFromPath(fullPath), pictureAddress, failureText, picturePath);
  }
  if (uploaded) {
    view_.SetCell(row, kColumnLarge, pictureAddress + "/2000.jpg");
    view_.SetCell(row, kColumnSmall, pictureAddress + "/460.jpg");
    view_.SetRowIcon(row, kIconUploaded);
  } else {
    view_.SetRowIcon(row, kIconFailed);
    view_.SetCell(row, kColumnLarge, failureText);
    view_.SetCell(row, kColumnSmall, picturePath);
  }
  view_.SetProgressTimerPeriod(0);
  view_.SetProgressPosition(100);
}

void BatchController::ProgressTick() {
  const int r = services_.random.Between(60, 65);
  const double sent = std::trunc(static_cast<double>(progressSent) + r * 1024.0);
  progressSent = static_cast<std::int32_t>(sent < 2147483647.0 ? sent : 2147483647.0);
  int position = 0;
  if (progressTotal != 0) {
    const double percent = std::trunc(static_cast<double>(progressSent) / progressTotal * 100);
    // The bar shows 100 for anything above; clamping also keeps the conversion in range.
    position = percent > 100 ? 100 : percent < 0 ? 0 : static_cast<int>(percent);
  }
  view_.SetProgressPosition(position);
}

void BatchController::PickPictures() {
  const PickRequest request{Text(kPickTitle), Text(kPickFilter), view_.UploadTag()};
  const std::vector<Text> paths = services_.picker.Pick(request);
  for (const Text& path : paths) {
    const std::optional<std::uint64_t> size = services_.files.SizeOf(path);
    if (TooLarge(size)) {
      // Listed with its true size, but never read: it could not be held or counted.
      const int row = view_.AddRow(NameFromPath(path), kIconFailed, -1);
      view_.SetCell(row, kColumnSize, FormatByteSize(static_cast<double>(*size)));
      view_.SetCell(row, kColumnLarge, Text(kTooLargeText));
      continue;
    }
    const std::uint64_t bytes = size.value_or(0);
    const int row = view_.AddRow(NameFromPath(path), kIconWaiting, static_cast<int>(bytes));
    view_.SetCell(row, kColumnSize, FormatByteSize(static_cast<double>(bytes)));
  }
  if (!paths.empty()) view_.SetUploadTag(FolderFromPath(paths.front()) + "\\");
}

}  // namespace lumatrel
