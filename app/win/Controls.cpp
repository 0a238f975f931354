#include "app/win/Controls.h"

#include <string>
#include <utility>

#include "app/win/Pictures.h"

namespace lumatrel::win {

bool HeaderStrip::Create(HWND parent, int id, int x, int y, int width, int height) {
  RegisterClassOnce(L"LumatrelHeaderStrip", LoadCursorW(nullptr, IDC_ARROW),
                    static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  return CreateWindowFor(L"LumatrelHeaderStrip", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, x, y, width, height,
                         parent, id);
}

LRESULT HeaderStrip::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageW(GetParent(Handle()), message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
      // The hyperlink labels sit on the white band.
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    default:
      return Window::OnMessage(message, wParam, lParam);
  }
}

bool PictureButton::Create(HWND parent, int id, int x, int y, int width, int height, ScopedBitmap picture) {
  picture_ = std::move(picture);
  RegisterClassOnce(L"LumatrelPictureButton", LoadCursorW(nullptr, IDC_HAND),
                    static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  return CreateWindowFor(L"LumatrelPictureButton", L"", WS_CHILD | WS_VISIBLE, 0, x, y, width, height, parent, id);
}

LRESULT PictureButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      DrawWithAlpha(dc, picture_.Get(), 0, 0);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(Handle());
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = std::exchange(pressed_, false);
      if (GetCapture() == Handle()) ReleaseCapture();
      RECT client;
      GetClientRect(Handle(), &client);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (wasPressed && PtInRect(&client, at)) {
        const int id = GetDlgCtrlID(Handle());
        SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Handle()));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    default:
      return Window::OnMessage(message, wParam, lParam);
  }
}

bool TransparentLabel::Create(HWND parent, int id, int x, int y, int width, int height, HFONT font) {
  font_ = font;
  RegisterClassOnce(L"LumatrelTransparentLabel", LoadCursorW(nullptr, IDC_ARROW), nullptr);
  return CreateWindowFor(L"LumatrelTransparentLabel", L"", WS_CHILD | WS_VISIBLE, 0, x, y, width, height, parent, id);
}

LRESULT TransparentLabel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT: {
      const LRESULT result = Window::OnMessage(message, wParam, lParam);
      InvalidateRect(Handle(), nullptr, FALSE);
      return result;
    }
    case WM_ERASEBKGND:
      return 1;  // the whole label is painted in WM_PAINT
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    default:
      return Window::OnMessage(message, wParam, lParam);
  }
}

void TransparentLabel::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  const int width = client.right;
  const int height = client.bottom;
  ScopedMemoryDc memory(CreateCompatibleDC(dc));
  ScopedBitmap canvas(CreateCompatibleBitmap(dc, width, height));
  SelectGuard selectCanvas(memory.Get(), canvas.Get());
  FillRect(memory.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
  // Let the parent paint the part of itself that lies under the label.
  HWND parent = GetParent(Handle());
  POINT origin{0, 0};
  MapWindowPoints(Handle(), parent, &origin, 1);
  POINT old;
  SetViewportOrgEx(memory.Get(), -origin.x, -origin.y, &old);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT | PRF_ERASEBKGND);
  SetViewportOrgEx(memory.Get(), old.x, old.y, nullptr);

  const int length = GetWindowTextLengthW(Handle());
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(Handle(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  SetBkMode(memory.Get(), TRANSPARENT);
  SetTextColor(memory.Get(), GetSysColor(COLOR_WINDOWTEXT));
  SelectGuard selectFont(memory.Get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  RECT box = client;
  DrawTextW(memory.Get(), text.c_str(), static_cast<int>(text.size()), &box,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
  BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

}  // namespace lumatrel::win
