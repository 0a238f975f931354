// Event handlers that call the store from inside its search loops, through the dispatch hook.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Events.h"
#include "platform/Notice.h"
#include "settings/ConfigStore.h"
#include "settings/tests/TestFiles.h"

namespace lumatrel {
namespace {

struct Box {
  std::string text, title;
  unsigned style;
  bool operator==(const Box&) const = default;
};

// Runs the script's step n at the n-th dispatch (1-based) made outside a handler, and records
// every message box. A handler's own store calls dispatch too; those nested calls run nothing.
class ConfigStoreReentryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDispatchHook([this] {
      if (inHandler_) return;
      ++dispatches;
      const auto step = script.find(dispatches);
      if (step == script.end()) return;
      inHandler_ = true;
      step->second();
      inHandler_ = false;
    });
    SetMessageBoxHook([this](std::string_view text, std::string_view title, unsigned style) {
      boxes.push_back({std::string(text), std::string(title), style});
    });
  }
  void TearDown() override {
    SetDispatchHook({});
    SetMessageBoxHook({});
  }

  std::map<int, std::function<void()>> script;
  int dispatches = 0;
  std::vector<Box> boxes;
  ConfigStore store;

 private:
  bool inHandler_ = false;
};

TEST_F(ConfigStoreReentryTest, AWriteDuringAWriteIsQueuedAndDoneBeforeTheFirstReturns) {
  store.SelectSection("S");
  std::vector<std::string> seen;
  // Passes of the first write: 1 appends the header, 2 inserts the key line, 3 puts in the value.
  script[2] = [&] {
    seen.push_back(store.WriteText("B", "2") ? "write true" : "write false");
    seen.push_back("pending " + std::to_string(store.PendingCount()));
    store.SelectSection("T");
    seen.push_back(store.WriteText("C", "3") ? "write true" : "write false");
    store.SelectSection("S");
    seen.push_back(store.WriteText("B", "2b") ? "write true" : "write false");
  };
  script[3] = [&] { seen.push_back("read [" + store.ReadText("A", "default") + "]"); };
  EXPECT_TRUE(store.WriteText("A", "1"));
  EXPECT_EQ(seen, (std::vector<std::string>{"write false", "pending 2", "write false", "write false", "read []"}));
  // Carried out in the order of the calls, each in the section current at its call.
  EXPECT_EQ(store.Document().View(), "[S]\r\nB=2b\r\nA=1\r\n[T]\r\nC=3");
  EXPECT_EQ(store.PendingCount(), 0u);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ConfigStoreReentryTest, AReadDuringAWriteSeesTheDocumentAsItStands) {
  store.SelectSection("S");
  ASSERT_TRUE(store.WriteText("A", "old"));
  dispatches = 0;
  std::string seen;
  // Rewriting A takes one pass; its read sees the old value.
  script[1] = [&] { seen = store.ReadText("A"); };
  EXPECT_TRUE(store.WriteText("A", "new"));
  EXPECT_EQ(seen, "old");
  EXPECT_EQ(store.ReadText("A"), "new");
}

// Nothing in a document or a section name makes a write append its header twice: the header
// just appended is always found by the next pass. The only way to the give-up path is a handler
// that empties the document between passes, as Close does.
TEST_F(ConfigStoreReentryTest, GivingUpAfterTheEleventhAppendShowsBothBoxes) {
  store.SelectSection("S");
  for (int pass = 1; pass <= 20; ++pass) script[pass] = [&] { store.Close(); };
  EXPECT_FALSE(store.WriteText("K", "V"));
  EXPECT_EQ(dispatches, 11);
  EXPECT_EQ(store.Document().View(), "[S]");
  EXPECT_EQ(boxes, (std::vector<Box>{
                       {"配置模块出现意外，可能导致无法正常保存！详情请咨询Brenquil。", "Brenquil：", 0x30 | 0x1000},
                       {"[S]", "信息：", 0x2000},
                   }));
  boxes.clear();
  dispatches = 0;
  EXPECT_EQ(store.WriteEntry("S", "K", "V", true), -1);
  EXPECT_EQ(boxes.size(), 2u);
}

// The other side of the claim above: awkward names and documents never reach the give-up path.
TEST_F(ConfigStoreReentryTest, AwkwardNamesAndDocumentsAreWrittenWithoutGivingUp) {
  const std::string sections[] = {"", "[", "]", "\r\n", "[S]", "S]\r\n[S", "\r\n[", "a\r\n[a", "中"};
  const std::string documents[] = {"", "[", "x[", "[S", "\r\n", "[S]x", "]\r\n[", "[]", "\r\n[\r\n["};
  testing::TempFolder folder;
  const std::string path = folder.PathOf("awkward.ini");
  for (const std::string& document : documents) {
    testing::WriteFileBytes(path, document);
    for (const std::string& section : sections) {
      ConfigStore fresh;
      ASSERT_TRUE(fresh.Open(path, StorageMode::Memory));
      fresh.SelectSection(section);
      EXPECT_TRUE(fresh.WriteText("K", "V")) << section;
      EXPECT_EQ(fresh.ReadText("K"), "V") << section;
    }
  }
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace lumatrel
