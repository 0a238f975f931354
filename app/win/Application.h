// Start-up and teardown of the program: OLE for the thread, the settings store, the HTTP client,
// the settings file beside the executable, the main window and its message loop.
#pragma once

#include <memory>

#include "app/Seams.h"
#include "app/win/MainWindow.h"
#include "app/win/ScopedWin.h"
#include "app/win/WinSeams.h"
#include "http/WebClient.h"
#include "settings/ConfigStore.h"

namespace lumatrel::win {

// What a test may put in place of the real thing; null means the real one.
struct StartupOptions {
  Text settingsPath;                     // empty: Lumatrel.ini beside the executable
  PicturePicker* picker = nullptr;       // the open-file dialog
  Shell* shell = nullptr;                // ShellExecuteW
  PictureUploader* uploader = nullptr;   // UploadImage on the one WebClient
};

// The folder of the running executable + "\Lumatrel.ini".
Text SettingsPathBesideExecutable();

class Application {
 public:
  explicit Application(StartupOptions options = {});
  // The teardown: the settings store first (it closes the file), then the HTTP client.
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The start-up sequence up to the main window shown; false when the window could not be made.
  bool Start();
  // The message loop, until the main window has closed.
  int Run();

  MainWindow* Window() { return window_.get(); }
  WebClient* Client() { return webClient_.get(); }

 private:
  StartupOptions options_;
  OleSession ole_;
  std::unique_ptr<ConfigStore> configStore_;
  std::unique_ptr<WebClient> webClient_;
  std::unique_ptr<PictureUploader> uploader_;
  std::unique_ptr<ConfigStoreSettings> settings_;
  WinPictureFiles files_;
  OpenFileDialogPicker dialog_;
  WinClipboard clipboard_;
  WinShell shell_;
  WinSleeper sleeper_;
  ShuffledRandom random_;
  std::unique_ptr<MainWindow> window_;
};

// The whole program: start-up, message loop, teardown.
int RunLumatrel();

}  // namespace lumatrel::win
