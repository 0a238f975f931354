// The program's own small controls: the header strip, the picture buttons and the transparent
// label.
#pragma once

#include "app/win/ScopedWin.h"
#include "app/win/Window.h"

namespace lumatrel::win {

// 图片框1: a white band that passes its children's commands and notices to the main window.
class HeaderStrip : public Window {
 public:
  bool Create(HWND parent, int id, int x, int y, int width, int height);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A picture with the hand pointer; a click sends WM_COMMAND (BN_CLICKED) to the parent.
class PictureButton : public Window {
 public:
  bool Create(HWND parent, int id, int x, int y, int width, int height, ScopedBitmap picture);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ScopedBitmap picture_;
  bool pressed_ = false;
};

// A label that shows its parent through itself: its background is what the parent paints under
// it (the progress bar, once it has been moved into it).
class TransparentLabel : public Window {
 public:
  bool Create(HWND parent, int id, int x, int y, int width, int height, HFONT font);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc);
  HFONT font_ = nullptr;
};

}  // namespace lumatrel::win
