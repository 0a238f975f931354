#include "host/DurableFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumatrel::host {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closing can report a late write error, so the writer closes explicitly and checks.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do fd = ::open(path, flags | O_CLOEXEC, mode);
  while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

bool WriteNewFileDurably(const std::filesystem::path& path, std::string_view data) {
  FileDescriptor file(OpenRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644));
  if (!file.valid()) return false;
  while (!data.empty()) {
    const ssize_t written = ::write(file.get(), data.data(), data.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return ::fsync(file.get()) == 0 && file.Close();
}

bool SyncDirectory(const std::filesystem::path& path) {
  FileDescriptor directory(OpenRetrying(path.c_str(), O_RDONLY | O_DIRECTORY));
  return directory.valid() && ::fsync(directory.get()) == 0;
}

bool MakeDirectoriesDurably(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  const std::filesystem::path parent = path.parent_path();
  if (!parent.empty() && parent != path && !MakeDirectoriesDurably(parent)) return false;
  if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return false;
  return SyncDirectory(parent.empty() ? std::filesystem::path(".") : parent);
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  FileDescriptor file(OpenRetrying(path.c_str(), O_RDONLY));
  struct stat info {};
  if (!file.valid() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::string content;
  content.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t got = ::read(file.get(), content.data() + done, content.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return std::nullopt;  // shorter than it said: not the whole file
    done += static_cast<std::size_t>(got);
  }
  return content;
}

}  // namespace lumatrel::host
