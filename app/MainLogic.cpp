#include "app/MainLogic.h"

#include "app/LastFolder.h"

namespace lumatrel {

MainLogic::MainLogic(MainView& view, BannerView& bannerView, const AppServices& services)
    : batch(view, BatchServices{services.uploader, services.files, services.picker, services.sleeper, services.random}),
      list(view, services.clipboard, services.shell),
      banner(bannerView),
      view_(view),
      settings_(services.settings) {}

void MainLogic::OnMainWindowCreated() { LoadLastFolder(settings_, view_); }

void MainLogic::OnMainWindowClosing() {
  batch.OnWindowClosing();
  SaveLastFolder(settings_, view_);
}

}  // namespace lumatrel
