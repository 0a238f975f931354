#include "host/Store.h"

#include <gtest/gtest.h>

#include "HostProcess.h"
#include "host/DurableFile.h"
#include "host/PictureId.h"

namespace lumatrel::host {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FilesUnder(const fs::path& root) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(StoreTest, SavesThreeFilesInAShardedFolderAndReadsThemBack) {
  testing::TempFolder data;
  PictureStore store(data.path());
  ASSERT_TRUE(store.Open());
  const std::string original = "original bytes";
  const std::string id = PictureIdOf(original);
  EXPECT_FALSE(store.Holds(id));
  EXPECT_FALSE(store.Read(id, Rendition::Large));
  ASSERT_TRUE(store.Save(id, original, "LARGE", "SMALL"));
  EXPECT_TRUE(store.Holds(id));
  EXPECT_TRUE(store.HoldsSame(id, original));
  EXPECT_FALSE(store.HoldsSame(id, "other bytes"));
  EXPECT_EQ(store.Read(id, Rendition::Large), "LARGE");
  EXPECT_EQ(store.Read(id, Rendition::Small), "SMALL");
  const std::string folder = "pictures/" + id.substr(0, 2) + "/" + id.substr(2, 2) + "/" + id + "/";
  EXPECT_EQ(FilesUnder(data.path()),
            (std::vector<std::string>{folder + "2000.jpg", folder + "460.jpg", folder + "original"}));

  // The same picture again keeps what is stored.
  ASSERT_TRUE(store.Save(id, original, "OTHER", "OTHER"));
  EXPECT_EQ(store.Read(id, Rendition::Large), "LARGE");
  EXPECT_EQ(FilesUnder(data.path()).size(), 3u);
}

TEST(StoreTest, OpeningClearsStagingLeftoversAndAPartialFolderIsNeverServed) {
  testing::TempFolder data;
  const std::string original = "picture";
  const std::string id = PictureIdOf(original);
  {
    PictureStore store(data.path());
    ASSERT_TRUE(store.Open());
    fs::create_directories(data.path() / "tmp" / (id + ".1.1"));
    ASSERT_TRUE(WriteNewFileDurably(data.path() / "tmp" / (id + ".1.1") / "2000.jpg", "half"));
    fs::create_directories(store.PictureFolder(id));
    ASSERT_TRUE(WriteNewFileDurably(store.PictureFolder(id) / "2000.jpg", "not whole"));
  }
  PictureStore store(data.path());
  ASSERT_TRUE(store.Open());
  EXPECT_TRUE(fs::is_empty(data.path() / "tmp"));
  EXPECT_FALSE(store.Holds(id));
  EXPECT_FALSE(store.Read(id, Rendition::Large));
  // Saving the picture replaces the partial folder.
  ASSERT_TRUE(store.Save(id, original, "L", "S"));
  EXPECT_EQ(store.Read(id, Rendition::Large), "L");
  EXPECT_TRUE(fs::is_empty(data.path() / "tmp"));
}

TEST(StoreTest, RefusesBadIdsAndUnusableFolders) {
  testing::TempFolder data;
  PictureStore store(data.path());
  ASSERT_TRUE(store.Open());
  for (const char* id : {"../../etc/passwd", "", "0123456789abcdef", "0123456789ABCDEF0123456789ABCDEF"}) {
    EXPECT_FALSE(store.Save(id, "x", "L", "S")) << id;
    EXPECT_FALSE(store.Read(id, Rendition::Large)) << id;
  }
  EXPECT_TRUE(FilesUnder(data.path()).empty());

  ASSERT_TRUE(WriteNewFileDurably(data.path() / "a-file", "x"));
  EXPECT_FALSE(PictureStore(data.path() / "a-file" / "data").Open());
}

}  // namespace
}  // namespace lumatrel::host
