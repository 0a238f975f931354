// The application's logic behind the main window, wired to its view and its seams. The window
// forwards its events here.
#pragma once

#include "app/Banner.h"
#include "app/BatchController.h"
#include "app/ListCommands.h"
#include "app/MainView.h"
#include "app/Seams.h"

namespace lumatrel {

struct AppServices {
  PictureUploader& uploader;
  PictureFiles& files;
  PicturePicker& picker;
  Clipboard& clipboard;
  Shell& shell;
  SettingsStore& settings;
  Sleeper& sleeper;
  RandomSource& random;
};

class MainLogic {
 public:
  MainLogic(MainView& view, BannerView& bannerView, const AppServices& services);

  // The settings steps of the window's created and may-close events (the control placement is
  // the window's own).
  void OnMainWindowCreated();
  void OnMainWindowClosing();

  BatchController batch;
  ListCommands list;
  Banner banner;

 private:
  MainView& view_;
  SettingsStore& settings_;
};

}  // namespace lumatrel
