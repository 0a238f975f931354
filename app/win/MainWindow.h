// The program's one window: the header strip, the upload row and the result list, wired to the
// application's logic.
#pragma once

#include <memory>

#include "app/MainLogic.h"
#include "app/MainView.h"
#include "app/win/Controls.h"
#include "app/win/ScopedWin.h"
#include "app/win/Window.h"

namespace lumatrel::win {

inline constexpr wchar_t kWindowCaption[] = L"Lumatrel v1.0 - 批量上传图片获取永久外链";
inline constexpr int kWindowLeft = 50;
inline constexpr int kWindowTop = 50;
inline constexpr int kWindowWidth = 912;
inline constexpr int kWindowHeight = 574;

class MainWindow : public Window, public MainView, public BannerView {
 public:
  explicit MainWindow(const AppServices& services);
  ~MainWindow() override;

  // Creates and shows the window with all its controls, then runs the created event.
  bool Create();
  MainLogic& Logic() { return logic_; }
  HMENU MenuHandle() const { return menu_; }

  // The hyperlink labels' handler: the shell opens the link's own address.
  void OpenMakerHome();
  void OpenProductPage();
  void OpenContact();

  // MainView
  Text UploadCaption() const override;
  void SetUploadCaption(const Text& caption) override;
  Text UploadTag() const override { return uploadTag_; }
  void SetUploadTag(const Text& tag) override { uploadTag_ = tag; }
  void SetProgressLabel(const Text& text) override;
  void SetProgressPosition(int position) override;
  void SetProgressTimerPeriod(int milliseconds) override;
  int RowCount() const override;
  void DeleteAllRows() override;
  int AddRow(const Text& name, int icon, int value) override;
  Text Cell(int row, int column) const override;
  void SetCell(int row, int column, const Text& text) override;
  void SetRowIcon(int row, int icon) override;
  int RowValue(int row) const override;
  bool IsRowSelected(int row) const override;
  void EnsureRowVisible(int row) override;
  void SetMenuCaption(MenuItem item, const Text& caption) override;
  void PopUpMenu() override;

  // BannerView
  int LogoLeft() const override;
  int LogoWidth() const override;
  void SetLogoLeft(int left) override;
  int HomeButtonLeft() const override;
  int HomeButtonWidth() const override;
  int ClientWidth() const override;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();
  void CreateList();
  void CreateMenu();
  void OnMainWindowCreated();
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);

  MainLogic logic_;
  ScopedFont font15_;
  ScopedFont font12_;
  ScopedImageList stateImages_;
  ScopedMenu menuBar_;  // 菜单 lives here, never shown in a menu bar
  HMENU menu_ = nullptr;
  HeaderStrip strip_;
  PictureButton logo_;
  PictureButton contactPicture_;
  PictureButton homePicture_;
  TransparentLabel label_;
  HWND linkContact_ = nullptr;
  HWND linkHome_ = nullptr;
  HWND rule_ = nullptr;
  HWND caption_ = nullptr;
  HWND bar_ = nullptr;
  HWND button_ = nullptr;
  HWND list_ = nullptr;
  Text uploadTag_;
};

}  // namespace lumatrel::win
