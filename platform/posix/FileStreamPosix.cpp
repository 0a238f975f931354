// The settings file natively: an open file description holding a write lock on the whole file.
// The lock belongs to the description (not the process), so a second open, in this process or
// another, is refused while the first stays open; plain readers are not affected.
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/FileStream.h"

namespace lumatrel {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }

 private:
  int fd_;
};

class PosixFileStream final : public FileStream {
 public:
  PosixFileStream(int fd, std::size_t blockSize) : FileStream(blockSize), fd_(fd) {}
  bool IsOpen() const { return fd_.IsOpen(); }
  int Descriptor() const { return fd_.Get(); }

 private:
  std::optional<std::int64_t> Size() override {
    struct stat info {};
    if (::fstat(fd_.Get(), &info) != 0) return std::nullopt;
    return static_cast<std::int64_t>(info.st_size);
  }

  bool ReadAt(std::int64_t offset, char* data, std::size_t count) override {
    while (count > 0) {
      const ssize_t got = ::pread(fd_.Get(), data, count, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      data += got;
      offset += got;
      count -= static_cast<std::size_t>(got);
    }
    return true;
  }

  bool WriteAt(std::int64_t offset, const char* data, std::size_t count) override {
    while (count > 0) {
      const ssize_t put = ::pwrite(fd_.Get(), data, count, static_cast<off_t>(offset));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      data += put;
      offset += put;
      count -= static_cast<std::size_t>(put);
    }
    return true;
  }

  bool Resize(std::int64_t size) override { return ::ftruncate(fd_.Get(), static_cast<off_t>(size)) == 0; }

  FileDescriptor fd_;
};

bool LockForWriting(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;  // the whole file, however long it grows
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

}  // namespace

std::unique_ptr<FileStream> OpenExclusiveFile(std::string_view path, std::size_t blockSize) {
  if (path.empty()) return nullptr;
  const std::string name(path);
  auto stream = std::make_unique<PosixFileStream>(::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666), blockSize);
  if (!stream->IsOpen() || !LockForWriting(stream->Descriptor())) return nullptr;
  return stream;
}

std::optional<Bytes> ReadWholeFile(std::string_view path) {
  if (path.empty()) return std::nullopt;
  const std::string name(path);
  const FileDescriptor fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.IsOpen()) return std::nullopt;
  Bytes bytes;
  std::uint8_t block[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    bytes.insert(bytes.end(), block, block + got);
  }
  return bytes;
}

}  // namespace lumatrel
