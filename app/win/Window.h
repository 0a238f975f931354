// One window procedure for every window class of the program: it finds the object behind the
// window and forwards each message to it; nothing thrown gets past it.
#pragma once

#include <windows.h>

#include <string>

namespace lumatrel::win {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }

  // Registers a class served by WindowProc (once per process; later calls succeed too).
  static bool RegisterClassOnce(const wchar_t* className, HCURSOR cursor, HBRUSH background, UINT style = 0);

 protected:
  // Creates the window with this object behind it.
  bool CreateWindowFor(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x, int y,
                       int width, int height, HWND parent, int id);
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// The window's text as the W API gives it; empty when there is none.
std::wstring WindowText(HWND hwnd);

}  // namespace lumatrel::win
