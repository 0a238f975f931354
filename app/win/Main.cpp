// Lumatrel.exe: one window, one thread.
#include <windows.h>

#include "app/win/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Nothing is expected to throw; should memory run out during start-up, the program just ends.
  try {
    return lumatrel::win::RunLumatrel();
  } catch (...) {
    return 1;
  }
}
