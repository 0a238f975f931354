#include "app/win/Application.h"

#include <commctrl.h>

#include <string>

#include "app/LastFolder.h"
#include "app/win/MessagePump.h"
#include "app/win/WebClientUploader.h"
#include "platform/Events.h"
#include "text/Gb18030.h"

namespace lumatrel::win {

Text SettingsPathBesideExecutable() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return Text(kSettingsFileName);
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  return TextFromWide(folder) + "\\" + Text(kSettingsFileName);
}

Application::Application(StartupOptions options)
    : options_(std::move(options)),
      dialog_([this] { return window_ ? window_->Handle() : nullptr; }),
      clipboard_([this] { return window_ ? window_->Handle() : nullptr; }) {}

Application::~Application() {
  window_.reset();
  SetDispatchHook({});
  configStore_.reset();
  webClient_.reset();
}

bool Application::Start() {
  // OLE is already up (ole_): the request component and everything after rely on it.
  configStore_ = std::make_unique<ConfigStore>();
  webClient_ = std::make_unique<WebClient>();
  webClient_->Create();
  SetDispatchHook(&DispatchWindowMessages);
  const Text settingsPath = options_.settingsPath.empty() ? SettingsPathBesideExecutable() : options_.settingsPath;
  configStore_->Open(settingsPath, StorageMode::File);  // a failure leaves the edits in memory
  settings_ = std::make_unique<ConfigStoreSettings>(*configStore_);
  uploader_ = std::make_unique<WebClientUploader>(*webClient_);

  INITCOMMONCONTROLSEX controls{sizeof(controls),
                                ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_LINK_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const AppServices services{options_.uploader ? *options_.uploader : *uploader_,
                             files_,
                             options_.picker ? *options_.picker : static_cast<PicturePicker&>(dialog_),
                             clipboard_,
                             options_.shell ? *options_.shell : static_cast<Shell&>(shell_),
                             *settings_,
                             sleeper_,
                             random_};
  window_ = std::make_unique<MainWindow>(services);
  return window_->Create();
}

int Application::Run() { return RunMessageLoop(); }

int RunLumatrel() {
  Application application;
  if (!application.Start()) return 1;
  return application.Run();
}

}  // namespace lumatrel::win
