// Native file cases: a file the store may not write, and a disk that refuses bytes half-way.
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "settings/tests/StoreFixture.h"

namespace lumatrel {
namespace {

using ConfigStorePosixTest = testing::StoreTest;

// Root may write a file whatever its mode; the immutable flag stops root too.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::string& path) : path_(path) {
    if (geteuid() != 0) {
      made_ = chmod(path.c_str(), 0444) == 0;
    } else {
      made_ = immutable_ = SetImmutable(true);
    }
  }
  ~ReadOnlyFile() {
    if (immutable_) SetImmutable(false);
  }
  bool Made() const { return made_; }

 private:
  bool SetImmutable(bool on) const {
    const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
      flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return ok;
  }
  std::string path_;
  bool made_ = false;
  bool immutable_ = false;
};

TEST_F(ConfigStorePosixTest, AReadOnlyFileIsReadButNotWritten) {
  testing::WriteFileBytes(path, "[S]\r\nK=1");
  const ReadOnlyFile readOnly(path);
  if (!readOnly.Made()) GTEST_SKIP() << "cannot make a file read-only for this user here";
  EXPECT_FALSE(store.Open(path, StorageMode::File));
  EXPECT_FALSE(store.HasStream());
  store.SelectSection("S");
  EXPECT_EQ(store.ReadText("K"), "1");
  EXPECT_TRUE(store.WriteText("K", "2"));
  EXPECT_EQ(store.ReadText("K"), "2");
  EXPECT_EQ(OnDisk(), "[S]\r\nK=1");
}

// Another running copy of the program: a child process opens the file the test holds.
TEST_F(ConfigStorePosixTest, ASecondProcessReadsButCannotWrite) {
  OpenWith("[S]\r\nK=1");
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    ConfigStore second;
    const bool opened = second.Open(path, StorageMode::File);
    second.SelectSection("S");
    const bool readIt = second.ReadText("K") == "1";
    const bool wroteInMemory = second.WriteText("K", "2") && second.ReadText("K") == "2";
    _exit(!opened && readIt && wroteInMemory ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
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
TEST_F(ConfigStorePosixTest, AFailedFileEditIsReportedAndTheFileIsLetGo) {
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
