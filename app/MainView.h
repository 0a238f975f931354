// The controls of the main window as the application's logic reads and writes them. The Win32
// window implements it over its real controls; tests implement it in memory.
#pragma once

#include "text/Text.h"

namespace lumatrel {

// State pictures of a result row: indexes into the list's image list.
enum RowIcon : int { kIconUploaded = 0, kIconFailed = 1, kIconWaiting = 2, kIconUploading = 3 };

// Columns of 列表框.
enum ListColumn : int { kColumnName = 0, kColumnSize = 1, kColumnLarge = 2, kColumnSmall = 3 };

// The two items of 菜单 whose captions change.
enum class MenuItem { 复制大图外链, 复制小图外链 };

class MainView {
 public:
  virtual ~MainView() = default;

  // 按钮上传图片: its caption is the batch mode, its tag the current folder.
  virtual Text UploadCaption() const = 0;
  virtual void SetUploadCaption(const Text& caption) = 0;
  virtual Text UploadTag() const = 0;
  virtual void SetUploadTag(const Text& tag) = 0;

  // 透明标签, 进度条 (0 to 100) and 时钟进度 (period 0 stops it).
  virtual void SetProgressLabel(const Text& text) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void SetProgressTimerPeriod(int milliseconds) = 0;

  // 列表框: rows by 0-based index.
  virtual int RowCount() const = 0;
  virtual void DeleteAllRows() = 0;
  // Appends a row with its column 0 text, state picture and integer value; returns its index.
  virtual int AddRow(const Text& name, int icon, int value) = 0;
  virtual Text Cell(int row, int column) const = 0;
  virtual void SetCell(int row, int column, const Text& text) = 0;
  virtual void SetRowIcon(int row, int icon) = 0;
  virtual int RowValue(int row) const = 0;
  virtual bool IsRowSelected(int row) const = 0;
  virtual void EnsureRowVisible(int row) = 0;

  // 菜单
  virtual void SetMenuCaption(MenuItem item, const Text& caption) = 0;
  // Pops the menu up at the mouse position, owned by the main window.
  virtual void PopUpMenu() = 0;
};

// The header strip's geometry as the logo animation sees it, in pixels inside 图片框1.
class BannerView {
 public:
  virtual ~BannerView() = default;
  virtual int LogoLeft() const = 0;
  virtual int LogoWidth() const = 0;
  virtual void SetLogoLeft(int left) = 0;
  virtual int HomeButtonLeft() const = 0;
  virtual int HomeButtonWidth() const = 0;
  virtual int ClientWidth() const = 0;
};

}  // namespace lumatrel
