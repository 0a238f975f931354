// Driving the real main window from a test on its own thread: reading its controls back,
// pumping its messages until something holds, and running code on a thread timer while the
// window's own nested loops (the batch, the popup menu) have the thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "app/win/ControlIds.h"
#include "app/win/Window.h"
#include "http/tests/win/MessagePump.h"

namespace lumatrel::win::testing {

// Position and size inside the parent's client area.
RECT RectInParent(HWND hwnd);

std::wstring CellText(HWND list, int row, int column);
int RowIcon(HWND list, int row);
void SelectRows(HWND list, std::initializer_list<int> rows);
POINT RowPoint(HWND list, int row);

// Pumps the thread's messages until done() holds or timeoutMs has passed; false on time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Clicks a control with the mouse messages it would get from a real click at x, y.
void ClickAt(HWND hwnd, int x, int y);

using lumatrel::testing::ThreadTimer;

// The clipboard's CF_TEXT bytes and CF_UNICODETEXT text.
struct ClipboardContents {
  bool hasText = false;
  std::string ansi;
  bool hasUnicode = false;
  std::wstring unicode;
};
ClipboardContents ReadClipboard();
// Puts a marker on the clipboard, so that a test can tell whether a command replaced it.
void PutClipboardMarker();

}  // namespace lumatrel::win::testing
