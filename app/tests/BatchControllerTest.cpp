#include "app/BatchController.h"

#include <gtest/gtest.h>

#include "app/Pause.h"
#include "platform/Events.h"
#include "app/tests/Fakes.h"

namespace lumatrel {
namespace {

using namespace lumatrel::testing;

Bytes Filled(std::size_t size) { return Bytes(size, 0x42); }

class BatchControllerTest : public ::testing::Test {
 protected:
  void TearDown() override { SetDispatchHook({}); }

  // Lists files of the given sizes in D:\pics, named a.png, b.png, ...
  std::vector<Text> AddFiles(const std::vector<std::size_t>& sizes) {
    std::vector<Text> paths;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      const Text path = Text("D:\\pics\\") + static_cast<char>('a' + i) + ".png";
      files.files[path] = Filled(sizes[i]);
      paths.push_back(path);
    }
    picker.answer = paths;
    return paths;
  }

  // The uploader lets window events run while it waits, as the real exchange does.
  void DispatchDuringExchanges() {
    uploader.duringExchange = [](int) { DispatchPendingEvents(); };
  }

  FakeView view;
  FakeUploader uploader;
  FakeFiles files;
  FakePicker picker;
  CountingSleeper sleeper;
  ScriptedRandom random;
  BatchController controller{view, BatchServices{uploader, files, picker, sleeper, random}};
};

TEST_F(BatchControllerTest, UploadsThreeFilesOneAfterAnother) {
  AddFiles({1023, 1536, 1048576});
  std::vector<Text> seenDuringExchange;
  uploader.duringExchange = [&](int call) {
    const int row = call - 1;
    EXPECT_EQ(view.caption, "停止上传");
    EXPECT_EQ(view.timerPeriod, 1000);
    EXPECT_EQ(view.rows[row].icon, kIconUploading);
    EXPECT_EQ(controller.progressTotal, view.rows[row].value);
    EXPECT_EQ(controller.progressSent, 0);
    for (int later = row + 1; later < 3; ++later) EXPECT_EQ(view.rows[later].icon, kIconWaiting);
    seenDuringExchange.push_back(view.label);
  };

  controller.OnUploadButtonClicked();

  ASSERT_EQ(view.rows.size(), 3u);
  const char* sizes[] = {"1023 B", "1.5 KB", "1 MB"};
  const char* names[] = {"a.png", "b.png", "c.png"};
  for (int row = 0; row < 3; ++row) {
    const FakeRow& r = view.rows[row];
    EXPECT_EQ(r.cells[0], names[row]);
    EXPECT_EQ(r.cells[1], sizes[row]);
    EXPECT_EQ(r.cells[2], Text("http://pic.test/") + names[row] + "/2000.jpg");
    EXPECT_EQ(r.cells[3], Text("http://pic.test/") + names[row] + "/460.jpg");
    EXPECT_EQ(r.iconHistory, (std::vector<int>{kIconWaiting, kIconUploading, kIconUploaded}));
    EXPECT_EQ(uploader.calls[row].fileName, names[row]);
  }
  EXPECT_EQ(uploader.calls[2].picture, Filled(1048576));
  EXPECT_EQ(view.rows[1].value, 1536);
  EXPECT_EQ(seenDuringExchange,
            (std::vector<Text>{"(3:1) D:\\pics\\a.png", "(3:2) D:\\pics\\b.png", "(3:3) D:\\pics\\c.png"}));
  EXPECT_EQ(view.visible, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(view.label, "上传完成！请选定列表，鼠标右键单击复制图片外链！");
  EXPECT_EQ(view.bar, 0);
  EXPECT_EQ(view.caption, "上传图片..");
  EXPECT_EQ(view.timerPeriod, 0);
  EXPECT_EQ(view.tag, "D:\\pics\\");
  // A 500 ms pause of ten-millisecond sleeps after every file, the last one included.
  EXPECT_EQ(sleeper.sleeps, 150);
  EXPECT_EQ(sleeper.slept, 1500);
  ASSERT_EQ(picker.requests.size(), 1u);
  EXPECT_EQ(picker.requests[0].title, "请选择需要上传获取外链的图片：");
  EXPECT_EQ(picker.requests[0].filter,
            "所有支持图片|*.png;*.bmp;*.jpg;*.jpeg;*.gif;*.tif;*.tiff|png图片|*.png|bmp图片|*.bmp|jpg图片|*.jpg;*."
            "jpeg|gif图片|*.gif|tif图片|*.tif;*.tiff|所有文件|*.*");
}

TEST_F(BatchControllerTest, StopDuringTheSecondOfFiveExchanges) {
  AddFiles({10, 20, 30, 40, 50});
  DispatchDuringExchanges();
  std::vector<Text> captionsAfterClicks;
  int clicks = 0;
  SetDispatchHook([&] {
    // The stop click, and a second one while stopping, both arrive during exchange 2.
    if (uploader.calls.size() == 2 && clicks == 0) {
      for (clicks = 1; clicks <= 2; ++clicks) {
        controller.OnUploadButtonClicked();
        captionsAfterClicks.push_back(view.caption);
      }
    }
  });

  controller.OnUploadButtonClicked();

  EXPECT_EQ(captionsAfterClicks, (std::vector<Text>{"停止中..", "停止中.."}));
  EXPECT_EQ(uploader.aborts, 2);
  EXPECT_TRUE(controller.stopRequested);
  ASSERT_EQ(uploader.calls.size(), 2u);
  EXPECT_EQ(view.rows[0].icon, kIconUploaded);
  EXPECT_EQ(view.rows[1].icon, kIconFailed);
  EXPECT_EQ(view.rows[1].cells[2], "上传失败：");
  EXPECT_EQ(view.rows[1].cells[3], "http://");
  for (int row = 2; row < 5; ++row) {
    EXPECT_EQ(view.rows[row].iconHistory, std::vector<int>{kIconWaiting});
    EXPECT_EQ(view.rows[row].cells[2], "");
    EXPECT_EQ(view.rows[row].cells[3], "");
  }
  EXPECT_EQ(view.labels[1], "(5:2) D:\\pics\\b.png");
  EXPECT_EQ(view.label, "上传完成！请选定列表，鼠标右键单击复制图片外链！");
  EXPECT_EQ(view.caption, "上传图片..");
  EXPECT_EQ(view.bar, 0);
  EXPECT_EQ(sleeper.sleeps, 50);  // only the pause after the first file
  EXPECT_EQ(files.reads.size(), 2u);
}

TEST_F(BatchControllerTest, StopDuringThePauseUploadsTheNextFileInFull) {
  AddFiles({10, 20, 30});
  bool clicked = false;
  SetDispatchHook([&] {
    if (!clicked && sleeper.sleeps == 10) {
      clicked = true;
      controller.OnUploadButtonClicked();
    }
  });

  controller.OnUploadButtonClicked();

  ASSERT_TRUE(clicked);
  EXPECT_EQ(sleeper.sleeps, 50);  // the pause was not shortened
  ASSERT_EQ(uploader.calls.size(), 2u);
  EXPECT_EQ(view.rows[1].icon, kIconUploaded);  // the abort came before this exchange began
  EXPECT_EQ(view.rows[2].iconHistory, std::vector<int>{kIconWaiting});
  EXPECT_EQ(view.caption, "上传图片..");
}

TEST_F(BatchControllerTest, ACancelledPickLeavesAnEmptyListAndTheTag) {
  view.tag = "D:\\old\\";
  view.rows.resize(2);
  view.label = "before";
  picker.answer = {};

  controller.OnUploadButtonClicked();

  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(view.tag, "D:\\old\\");
  EXPECT_EQ(view.caption, "上传图片..");
  EXPECT_EQ(view.label, "before");
  EXPECT_TRUE(uploader.calls.empty());
  ASSERT_EQ(picker.requests.size(), 1u);
  EXPECT_EQ(picker.requests[0].initialFolder, "D:\\old\\");
}

TEST_F(BatchControllerTest, AZeroByteFileKeepsTheBarAtZeroUntilItsExchangeEnds) {
  AddFiles({0});
  std::vector<int> barsDuringExchange;
  uploader.duringExchange = [&](int) {
    controller.ProgressTick();
    barsDuringExchange.push_back(view.bar);
    controller.ProgressTick();
    barsDuringExchange.push_back(view.bar);
  };

  controller.OnUploadButtonClicked();

  EXPECT_EQ(view.rows[0].cells[1], "0 B");
  EXPECT_EQ(view.rows[0].value, 0);
  EXPECT_TRUE(uploader.calls[0].picture.empty());
  EXPECT_EQ(barsDuringExchange, (std::vector<int>{0, 0}));
  // The bar jumps to 100 when the exchange returns, then the batch's end sets it to 0.
  EXPECT_EQ(view.barHistory, (std::vector<int>{0, 0, 0, 100, 0}));
}

TEST_F(BatchControllerTest, AnUnreadableFileIsListedAsZeroAndSentEmpty) {
  picker.answer = {"D:\\pics\\gone.png"};
  controller.OnUploadButtonClicked();
  EXPECT_EQ(view.rows[0].cells[1], "0 B");
  ASSERT_EQ(uploader.calls.size(), 1u);
  EXPECT_TRUE(uploader.calls[0].picture.empty());
}

TEST_F(BatchControllerTest, ARefusedPictureShowsTheServiceMessage) {
  files.files["D:\\pics\\bad.png"] = Filled(5);
  picker.answer = {"D:\\pics\\bad.png"};
  controller.OnUploadButtonClicked();
  EXPECT_EQ(view.rows[0].icon, kIconFailed);
  EXPECT_EQ(view.rows[0].cells[2], "上传失败：refused");
  EXPECT_EQ(view.rows[0].cells[3], "http://");
}

TEST_F(BatchControllerTest, FilesOfTwoGibibytesOrMoreFailWithoutBeingRead) {
  AddFiles({10});
  files.hugeSizes["D:\\pics\\huge.tif"] = 2147483648ull;
  files.hugeSizes["D:\\pics\\max.tif"] = 2147483647ull;  // the largest that still fits
  picker.answer = {"D:\\pics\\huge.tif", "D:\\pics\\max.tif", "D:\\pics\\a.png"};

  controller.OnUploadButtonClicked();

  ASSERT_EQ(view.rows.size(), 3u);
  EXPECT_EQ(view.rows[0].cells[1], "2 GB");
  EXPECT_EQ(view.rows[0].icon, kIconFailed);
  EXPECT_EQ(view.rows[0].cells[2], "上传失败：文件不小于2GB，无法上传");
  EXPECT_EQ(view.rows[1].value, 2147483647);
  EXPECT_EQ(view.rows[1].cells[1], "2 GB");
  EXPECT_EQ(std::count(files.reads.begin(), files.reads.end(), "D:\\pics\\huge.tif"), 0);
  ASSERT_EQ(uploader.calls.size(), 2u);
  EXPECT_EQ(uploader.calls[0].fileName, "max.tif");
  EXPECT_EQ(view.rows[2].icon, kIconUploaded);
}

TEST_F(BatchControllerTest, AClickWhileTheDialogIsOpenStartsNoSecondBatch) {
  AddFiles({10});
  picker.whileOpen = [&] { controller.OnUploadButtonClicked(); };
  controller.OnUploadButtonClicked();
  EXPECT_EQ(picker.requests.size(), 1u);
  EXPECT_EQ(uploader.calls.size(), 1u);
}

TEST_F(BatchControllerTest, ClosingTheWindowDuringABatchStopsItAfterTheRowInFlight) {
  AddFiles({10, 20, 30});
  DispatchDuringExchanges();
  SetDispatchHook([&] {
    if (uploader.calls.size() == 1 && !controller.stopRequested) controller.OnWindowClosing();
  });
  controller.OnUploadButtonClicked();
  EXPECT_EQ(uploader.calls.size(), 1u);
  EXPECT_EQ(uploader.aborts, 1);
  EXPECT_EQ(view.rows[0].icon, kIconFailed);
  // Closing while idle changes nothing.
  controller.OnWindowClosing();
  EXPECT_EQ(uploader.aborts, 1);
}

struct TickCase {
  int total;
  int draw;
  std::vector<int> bars;
  friend void PrintTo(const TickCase& c, std::ostream* out) { *out << c.total << " bytes, draw " << c.draw; }
};

class ProgressTickTest : public BatchControllerTest, public ::testing::WithParamInterface<TickCase> {};

TEST_P(ProgressTickTest, AddsTheDrawInKibibytes) {
  controller.progressTotal = GetParam().total;
  controller.progressSent = 0;
  random.next = GetParam().draw;
  std::vector<int> bars;
  for (std::size_t i = 0; i < GetParam().bars.size(); ++i) {
    controller.ProgressTick();
    bars.push_back(view.bar);
  }
  EXPECT_EQ(bars, GetParam().bars);
  EXPECT_EQ(controller.progressSent, GetParam().draw * 1024 * static_cast<int>(GetParam().bars.size()));
  EXPECT_EQ(random.lastLow, 60);
  EXPECT_EQ(random.lastHigh, 65);
}

INSTANTIATE_TEST_SUITE_P(Ticks, ProgressTickTest,
                         ::testing::Values(TickCase{102400, 60, {60, 100}},  // 100 KiB: full after two ticks
                                           TickCase{102400, 65, {65, 100}},
                                           TickCase{1048576, 64, {6, 12, 18}}, TickCase{0, 62, {0, 0}}));

TEST(PauseWithEventsTest, SleepsInTenMillisecondStepsWithEventsBetween) {
  CountingSleeper sleeper;
  int dispatched = 0;
  SetDispatchHook([&] { ++dispatched; });
  const bool clear = false;
  PauseWithEvents(500, clear, sleeper);
  EXPECT_EQ(sleeper.sleeps, 50);
  EXPECT_EQ(dispatched, 50);

  bool flag = false;
  SetDispatchHook([&] { flag = sleeper.sleeps == 53; });
  PauseWithEvents(500, flag, sleeper);
  EXPECT_EQ(sleeper.sleeps, 53);  // an event that sets the flag ends the pause

  PauseWithEvents(500, flag, sleeper);
  EXPECT_EQ(sleeper.sleeps, 53);
  SetDispatchHook({});
}

}  // namespace
}  // namespace lumatrel
