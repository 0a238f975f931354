#include "app/LastFolder.h"

namespace lumatrel {

void LoadLastFolder(SettingsStore& store, MainView& view) {
  store.SelectSection(Text(kSettingsSection));
  view.SetUploadTag(store.ReadText(Text(kLastFolderKey), Text()));
}

void SaveLastFolder(SettingsStore& store, const MainView& view) {
  store.WriteText(Text(kLastFolderKey), view.UploadTag());
}

}  // namespace lumatrel
