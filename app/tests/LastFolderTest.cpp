#include "app/LastFolder.h"

#include <gtest/gtest.h>

#include "app/MainLogic.h"
#include "app/tests/Fakes.h"

namespace lumatrel {
namespace {

using namespace lumatrel::testing;

struct World {
  FakeView view;
  FakeUploader uploader;
  FakeFiles files;
  FakePicker picker;
  FakeClipboard clipboard;
  FakeShell shell;
  CountingSleeper sleeper;
  ScriptedRandom random;
  MainLogic logic;
  explicit World(FakeSettings& settings)
      : logic(view, view, AppServices{uploader, files, picker, clipboard, shell, settings, sleeper, random}) {}
};

TEST(LastFolderTest, APickedFolderSurvivesARestart) {
  FakeSettings settings;
  {
    World first(settings);
    first.logic.OnMainWindowCreated();
    EXPECT_EQ(settings.section, "主界面");
    EXPECT_EQ(first.view.tag, "");
    first.files.files["D:\\pics\\a.png"] = Bytes(3, 1);
    first.picker.answer = {"D:\\pics\\a.png"};
    first.logic.batch.OnUploadButtonClicked();
    first.logic.OnMainWindowClosing();
  }
  EXPECT_EQ((settings.entries[{"主界面", "上次目录"}]), "D:\\pics\\");
  World second(settings);
  second.logic.OnMainWindowCreated();
  EXPECT_EQ(second.view.tag, "D:\\pics\\");
}

TEST(LastFolderTest, ARunWithoutAPickWritesBackWhatItRead) {
  FakeSettings settings;
  World run(settings);
  run.logic.OnMainWindowCreated();
  run.logic.OnMainWindowClosing();
  ASSERT_EQ(settings.entries.count({"主界面", "上次目录"}), 1u);
  EXPECT_EQ((settings.entries[{"主界面", "上次目录"}]), "");

  settings.entries[{"主界面", "上次目录"}] = "E:\\相册\\";
  World cancelled(settings);
  cancelled.logic.OnMainWindowCreated();
  cancelled.logic.batch.OnUploadButtonClicked();  // the dialog is cancelled
  cancelled.logic.OnMainWindowClosing();
  EXPECT_EQ((settings.entries[{"主界面", "上次目录"}]), "E:\\相册\\");
}

}  // namespace
}  // namespace lumatrel
