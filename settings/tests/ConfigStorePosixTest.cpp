// Native file cases: a file the store may not write, and a disk that refuses bytes half-way.
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/tests/StoreFixture.h"

namespace lumatrel {
namespace {

using PosixFileTest = testing::StoreTest;

TEST_F(PosixFileTest, AReadOnlyFileIsReadButNotWritten) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write any file; the Windows build checks this case under Wine";
  testing::WriteFileBytes(path, "[S]\r\nK=1");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_FALSE(store.Open(path, StorageMode::File));
  store.SelectSection("S");
  EXPECT_EQ(store.ReadText("K"), "1");
  EXPECT_TRUE(store.WriteText("K", "2"));
  EXPECT_EQ(store.ReadText("K"), "2");
  EXPECT_EQ(OnDisk(), "[S]\r\nK=1");
}

// Limits how far files may grow while it lives, as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

// Once an edit could not be written whole, the file no longer matches the document: the write
// reports failure and the store stops editing the file, rather than writing later edits at
// positions that no longer fit.
TEST_F(PosixFileTest, AFailedFileEditIsReportedAndTheFileIsLetGo) {
  OpenWith("[S]\r\nK=1");
  store.SelectSection("S");
  {
    const FileSizeLimit limit(12);
    EXPECT_FALSE(store.WriteText("K", "a value too long for the disk"));
  }
  EXPECT_FALSE(store.HasStream());
  EXPECT_EQ(store.ReadText("K"), "a value too long for the disk");
  const std::string damaged = OnDisk();
  EXPECT_TRUE(store.WriteText("J", "2"));
  EXPECT_EQ(OnDisk(), damaged);
  // The file is free for the next opener.
  ConfigStore next;
  EXPECT_TRUE(next.Open(path, StorageMode::File));
}

}  // namespace
}  // namespace lumatrel
