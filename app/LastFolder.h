// The one setting the program keeps: the folder of the last picked pictures, which lives in the
// upload button's tag while the program runs.
#pragma once

#include "app/MainView.h"
#include "app/Seams.h"

namespace lumatrel {

inline constexpr std::string_view kSettingsFileName = "Lumatrel.ini";
inline constexpr std::string_view kSettingsSection = "主界面";
inline constexpr std::string_view kLastFolderKey = "上次目录";

// When the main window has been created: selects the section and reads the folder into the tag.
void LoadLastFolder(SettingsStore& store, MainView& view);

// When the main window is about to close: writes the tag back, in the section selected at load.
void SaveLastFolder(SettingsStore& store, const MainView& view);

}  // namespace lumatrel
