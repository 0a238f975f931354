#include "app/win/tests/WindowDriver.h"

#include <cstring>

namespace lumatrel::win::testing {

RECT RectInParent(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring CellText(HWND list, int row, int column) {
  wchar_t buffer[4096] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 4096;
  const LRESULT copied = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return std::wstring(buffer, static_cast<std::size_t>(copied));
}

int RowIcon(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -100;
  return item.iImage;
}

void SelectRows(HWND list, std::initializer_list<int> rows) {
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED;
  clear.state = 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  for (int row : rows) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
}

POINT RowPoint(HWND list, int row) {
  RECT rect{};
  rect.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  return POINT{rect.left + 10, (rect.top + rect.bottom) / 2};
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return done();
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (done()) return true;
    }
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void ClickAt(HWND hwnd, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

ClipboardContents ReadClipboard() {
  ClipboardContents contents;
  if (!OpenClipboard(nullptr)) return contents;
  if (HANDLE text = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(text))) {
      contents.hasText = true;
      contents.ansi = bytes;
      GlobalUnlock(text);
    }
  }
  if (HANDLE text = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(text))) {
      contents.hasUnicode = true;
      contents.unicode = chars;
      GlobalUnlock(text);
    }
  }
  CloseClipboard();
  return contents;
}

void PutClipboardMarker() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  const char marker[] = "marker";
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof marker)) {
    std::memcpy(GlobalLock(memory), marker, sizeof marker);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace lumatrel::win::testing
