// For the start-up test of Lumatrel.exe: waits for the program's main window, reports where it
// opened, closes it as the user would (WM_CLOSE) and waits for the program to end.
#include <windows.h>

#include <cstdio>

int main() {
  HWND window = nullptr;
  for (int i = 0; i < 300 && !window; ++i) {
    window = FindWindowW(L"LumatrelMainWindow", nullptr);
    if (!window) Sleep(100);
  }
  if (!window) {
    std::fprintf(stderr, "close-main-window: no main window appeared\n");
    return 2;
  }
  RECT rect{};
  GetWindowRect(window, &rect);
  std::printf("main window at %ld,%ld size %ldx%ld\n", rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  PostMessageW(window, WM_CLOSE, 0, 0);
  const bool ended = process && WaitForSingleObject(process, 20000) == WAIT_OBJECT_0;
  if (process) CloseHandle(process);
  if (!ended) {
    std::fprintf(stderr, "close-main-window: the program did not end after WM_CLOSE\n");
    return 3;
  }
  const bool placed = rect.left == 50 && rect.top == 50 && rect.right - rect.left == 912 && rect.bottom - rect.top == 574;
  return placed ? 0 : 4;
}
