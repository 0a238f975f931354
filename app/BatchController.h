// What the upload button does: pick pictures, list them, upload them one after another with a
// simulated progress display, and stop on request.
#pragma once

#include <cstdint>

#include "app/MainView.h"
#include "app/Seams.h"

namespace lumatrel {

inline constexpr std::string_view kCaptionIdle = "上传图片..";
inline constexpr std::string_view kCaptionRunning = "停止上传";
inline constexpr std::string_view kCaptionStopping = "停止中..";
inline constexpr std::string_view kPickTitle = "请选择需要上传获取外链的图片：";
inline constexpr std::string_view kPickFilter =
    "所有支持图片|*.png;*.bmp;*.jpg;*.jpeg;*.gif;*.tif;*.tiff|png图片|*.png|bmp图片|*.bmp|"
    "jpg图片|*.jpg;*.jpeg|gif图片|*.gif|tif图片|*.tif;*.tiff|所有文件|*.*";
inline constexpr std::string_view kBatchDoneLabel = "上传完成！请选定列表，鼠标右键单击复制图片外链！";
// A row's size is a 32-bit value and the file is read whole, so larger files are refused.
inline constexpr std::uint64_t kLargestPicture = 0x7FFFFFFFu;
inline constexpr std::string_view kTooLargeText = "上传失败：文件不小于2GB，无法上传";
inline constexpr int kProgressPeriod = 1000;
inline constexpr int kPauseBetweenFiles = 500;

struct BatchServices {
  PictureUploader& uploader;
  PictureFiles& files;
  PicturePicker& picker;
  Sleeper& sleeper;
  RandomSource& random;
};

class BatchController {
 public:
  BatchController(MainView& view, const BatchServices& services) : view_(view), services_(services) {}

  // Click handler of 按钮上传图片: starts a batch when idle, otherwise requests a stop.
  void OnUploadButtonClicked();
  // Tick of 时钟进度: advances the simulated progress by 60 to 65 KiB.
  void ProgressTick();
  // The dialog and the filling of the list.
  void PickPictures();
  // The window is about to close: a running batch stops after the row in flight, so that no
  // upload goes on once the window has gone.
  void OnWindowClosing();

  bool Running() const { return running_; }

  bool stopRequested = false;
  std::int32_t progressTotal = 0;
  std::int32_t progressSent = 0;

 private:
  void RunBatch();
  void UploadRow(int row, int rowNumber);
  void RequestStop();

  MainView& view_;
  BatchServices services_;
  bool running_ = false;
};

}  // namespace lumatrel
