// Lumatrel.exe: one window, one thread.
#include <windows.h>

#include "app/win/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return lumatrel::win::RunLumatrel(); }
