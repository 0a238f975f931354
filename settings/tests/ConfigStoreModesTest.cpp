// Opening in the three modes, selecting sections, closing, and the registry mode.
#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "settings/tests/StoreFixture.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace lumatrel {
namespace {

using ConfigStoreModesTest = testing::StoreTest;

TEST(FileBaseNameTest, DropsFolderAndLastExtension) {
  struct Case {
    const char* path;
    const char* expected;
  } cases[] = {
      {"C:\\Program Files\\Lumatrel\\Lumatrel.ini", "Lumatrel"},
      {"a.b.ini", "a.b"},
      {"Lumatrel", "Lumatrel"},
      {"", ""},
      {"C:\\dir.d\\name", "name"},
      {"C:\\dir\\", ""},
      {".ini", ""},
      // A backslash that is the second byte of a double-byte character does not end a folder.
      {"C:\\\x81\x5C.ini", "\x81\x5C"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileBaseName(c.path), c.expected) << c.path;
}

TEST_F(ConfigStoreModesTest, ANewStoreIsUnboundAndKeepsWritesInMemory) {
  EXPECT_EQ(store.Mode(), 0);
  EXPECT_FALSE(store.HasStream());
  store.SelectSection("S");
  EXPECT_EQ(store.RegistryPrefix(), "Brenquil软件\\\\S\\");
  EXPECT_EQ(store.ReadText("K", "d"), "d");
  EXPECT_TRUE(store.WriteText("K", "V"));
  EXPECT_EQ(store.Document().View(), "[S]\r\nK=V");
}

TEST_F(ConfigStoreModesTest, SelectSectionUsesThePathOfTheOpenBeforeIt) {
  ASSERT_TRUE(store.Open("C:\\app\\Lumatrel.ini", StorageMode::Registry));
  store.SelectSection("主界面");
  EXPECT_EQ(store.Section(), "主界面");
  EXPECT_EQ(store.RegistryPrefix(), "Brenquil软件\\Lumatrel\\主界面\\");
  ASSERT_TRUE(store.Open("C:\\app\\Other.ini", StorageMode::Registry));
  EXPECT_EQ(store.FilePath(), "C:\\app\\Other.ini");
  EXPECT_EQ(store.RegistryPrefix(), "Brenquil软件\\Lumatrel\\主界面\\");
}

TEST_F(ConfigStoreModesTest, MemoryModeReadsTheFileAndNeverWritesIt) {
  testing::WriteFileBytes(path, "[S]\r\nK=1");
  ASSERT_TRUE(store.Open(path, StorageMode::Memory));
  EXPECT_TRUE(store.HasStream());
  store.SelectSection("S");
  EXPECT_EQ(store.ReadText("K"), "1");
  EXPECT_TRUE(store.WriteText("K", "2"));
  EXPECT_EQ(store.ReadText("K"), "2");
  EXPECT_EQ(OnDisk(), "[S]\r\nK=1");
  // Whether or not there is a file.
  const std::string missing = folder.PathOf("missing.ini");
  EXPECT_TRUE(store.Open(missing, StorageMode::Memory));
  EXPECT_EQ(store.Document().Length(), 0);
  EXPECT_FALSE(testing::Exists(missing));
}

TEST_F(ConfigStoreModesTest, RegistryModeTouchesNoFileAndLeavesAnOpenStreamOpen) {
  OpenWith("[S]\r\nK=1");
  ASSERT_TRUE(store.Open(folder.PathOf("elsewhere.ini"), StorageMode::Registry));
  EXPECT_EQ(store.Mode(), 2);
  EXPECT_TRUE(store.HasStream());
  EXPECT_FALSE(testing::Exists(folder.PathOf("elsewhere.ini")));
  // Back in file mode, the open works as usual, and the first file is let go.
  ASSERT_TRUE(store.Open(path, StorageMode::File));
  store.SelectSection("S");
  EXPECT_EQ(store.ReadText("K"), "1");
  // Any mode other than 1 and 2 is file mode.
  ConfigStore other;
  EXPECT_FALSE(other.Open(path, 7));
  EXPECT_FALSE(other.HasStream());
}

TEST_F(ConfigStoreModesTest, CloseEmptiesTheDocumentAndLetsTheFileGo) {
  OpenWith("[S]\r\nK=1");
  store.SelectSection("S");
  store.Close();
  EXPECT_FALSE(store.HasStream());
  EXPECT_EQ(store.Document().Length(), 0);
  EXPECT_EQ(store.Section(), "S");
  EXPECT_EQ(store.Mode(), 0);
  // Writes after Close reach no disk.
  EXPECT_TRUE(store.WriteText("K", "2"));
  EXPECT_EQ(OnDisk(), "[S]\r\nK=1");
  ConfigStore next;
  EXPECT_TRUE(next.Open(path, StorageMode::File));
}

TEST_F(ConfigStoreModesTest, DestructionClosesTheFile) {
  {
    ConfigStore first;
    ASSERT_TRUE(first.Open(path, StorageMode::File));
    EXPECT_FALSE(store.Open(path, StorageMode::File));
  }
  EXPECT_TRUE(store.Open(path, StorageMode::File));
}

// A second copy of the program: it reads the file, cannot write it, and keeps its changes.
TEST_F(ConfigStoreModesTest, ASecondOpenerReadsButCannotWrite) {
  OpenWith("[S]\r\nK=1");
  store.SelectSection("S");
  ConfigStore second;
  EXPECT_FALSE(second.Open(path, StorageMode::File));
  EXPECT_FALSE(second.HasStream());
  second.SelectSection("S");
  EXPECT_EQ(second.ReadText("K"), "1");
  EXPECT_TRUE(second.WriteText("K", "second"));
  EXPECT_EQ(second.ReadText("K"), "second");
  EXPECT_EQ(OnDisk(), "[S]\r\nK=1");
  // Reading the file and letting go of it did not free it for writers either.
  EXPECT_FALSE(ConfigStore().Open(path, StorageMode::File));
  // The first still owns the file.
  EXPECT_TRUE(store.WriteText("K", "first"));
  EXPECT_EQ(OnDisk(), "[S]\r\nK=first");
}

TEST_F(ConfigStoreModesTest, AFolderCannotBeOpened) {
  EXPECT_FALSE(store.Open(folder.Folder().string(), StorageMode::File));
  EXPECT_FALSE(store.Open("", StorageMode::File));
  EXPECT_EQ(store.Document().Length(), 0);
}

class ConfigStoreRegistryModeTest : public ::testing::Test {
 protected:
  void TearDown() override {
#ifdef _WIN32
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "Brenquil软件\\LumatrelModeTest");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Brenquil软件");  // only when nothing else is left in it
#else
    RegistryMemoryClear();
#endif
  }
  ConfigStore store;
};

TEST_F(ConfigStoreRegistryModeTest, EachEntryIsOneValueUnderClassesRoot) {
  ASSERT_TRUE(store.Open("C:\\app\\LumatrelModeTest.ini", StorageMode::Registry));
  store.SelectSection("主界面");
  EXPECT_EQ(store.ReadText("上次目录", "d\r\n"), "d\r\n");
  ASSERT_TRUE(store.WriteText("上次目录", "D:\\pics\\\r\nsecond line"));
  EXPECT_EQ(RegistryReadText(RegistryRoot::ClassesRoot, "Brenquil软件\\LumatrelModeTest\\主界面", "上次目录"),
            Text("D:\\pics\\┊*┊second line"));
  EXPECT_EQ(store.ReadText("上次目录"), "D:\\pics\\\r\nsecond line");
  // The full path splits at its last backslash: a key holding one goes one level deeper.
  ASSERT_TRUE(store.WriteText("sub\\name", "v"));
  EXPECT_EQ(RegistryReadText(RegistryRoot::ClassesRoot, "Brenquil软件\\LumatrelModeTest\\主界面\\sub", "name"),
            Text("v"));
  EXPECT_EQ(store.ReadText("sub\\name"), "v");
  EXPECT_EQ(store.ReadText("name", "none"), "none");
  EXPECT_EQ(store.Document().Length(), 0);
}

}  // namespace
}  // namespace lumatrel
