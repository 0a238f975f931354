// The settings file on Windows: opened for reading and writing and shared for reading only, so
// that every other writer gets a sharing violation while readers still read.
#include <windows.h>

#include <string>

#include "platform/FileStream.h"
#include "text/Gb18030.h"

namespace lumatrel {
namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (IsOpen()) CloseHandle(handle_);
  }
  HANDLE Get() const { return handle_; }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

OVERLAPPED At(std::int64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset) & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
  return at;
}

class WinFileStream final : public FileStream {
 public:
  WinFileStream(HANDLE handle, std::size_t blockSize) : FileStream(blockSize), file_(handle) {}
  bool IsOpen() const { return file_.IsOpen(); }

 private:
  std::optional<std::int64_t> Size() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.Get(), &size)) return std::nullopt;
    return static_cast<std::int64_t>(size.QuadPart);
  }

  bool ReadAt(std::int64_t offset, char* data, std::size_t count) override {
    while (count > 0) {
      OVERLAPPED at = At(offset);
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(count < 0x40000000u ? count : 0x40000000u);
      if (!ReadFile(file_.Get(), data, want, &got, &at) || got == 0) return false;
      data += got;
      offset += got;
      count -= got;
    }
    return true;
  }

  bool WriteAt(std::int64_t offset, const char* data, std::size_t count) override {
    while (count > 0) {
      OVERLAPPED at = At(offset);
      DWORD put = 0;
      const DWORD want = static_cast<DWORD>(count < 0x40000000u ? count : 0x40000000u);
      if (!WriteFile(file_.Get(), data, want, &put, &at) || put == 0) return false;
      data += put;
      offset += put;
      count -= put;
    }
    return true;
  }

  bool Resize(std::int64_t size) override {
    LARGE_INTEGER to{};
    to.QuadPart = size;
    return SetFilePointerEx(file_.Get(), to, nullptr, FILE_BEGIN) && SetEndOfFile(file_.Get());
  }

  FileHandle file_;
};

}  // namespace

std::unique_ptr<FileStream> OpenExclusiveFile(std::string_view path, std::size_t blockSize) {
  if (path.empty()) return nullptr;
  const std::wstring name = WideFromText(path);
  // OPEN_ALWAYS creates a missing file and never truncates an existing one.
  auto stream = std::make_unique<WinFileStream>(
      CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr),
      blockSize);
  if (!stream->IsOpen()) return nullptr;
  return stream;
}

std::optional<Bytes> ReadWholeFile(std::string_view path) {
  if (path.empty()) return std::nullopt;
  const std::wstring name = WideFromText(path);
  // Shared for writing too: the file may be held open by a writer, this one or another copy.
  const FileHandle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return std::nullopt;
  Bytes bytes;
  std::uint8_t block[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), block, sizeof block, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.insert(bytes.end(), block, block + got);
  }
  return bytes;
}

}  // namespace lumatrel
