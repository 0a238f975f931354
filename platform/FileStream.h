// A byte stream edited in place: bytes are inserted and deleted at a position, and only the bytes
// after the change move, block by block. The settings file is one; a scratch stream in memory is
// the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace lumatrel {

inline constexpr std::size_t kStreamBlockSize = 64 * 1024;

class FileStream {
 public:
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;
  virtual ~FileStream() = default;

  // Positions are byte offsets from the start; a position beyond the end counts as the end.
  void Seek(std::int64_t offset) { position_ = offset < 0 ? 0 : offset; }
  bool SeekEnd();
  // Inserts at the position, moving what follows up; the position ends after the new bytes.
  bool Insert(std::string_view bytes);
  // Deletes up to count bytes at the position, moving what follows down and shortening the stream.
  bool Delete(std::int64_t count);
  // Deletes up to count bytes at the position and inserts bytes in their place, moving what
  // follows only once, by the difference; the position ends after the new bytes.
  bool Replace(std::int64_t count, std::string_view bytes);
  // The whole stream, for checking what it holds.
  std::optional<std::string> ReadAll();

 protected:
  explicit FileStream(std::size_t blockSize) : blockSize_(blockSize == 0 ? 1 : blockSize) {}

  virtual std::optional<std::int64_t> Size() = 0;
  // Both move exactly count bytes or fail.
  virtual bool ReadAt(std::int64_t offset, char* data, std::size_t count) = 0;
  virtual bool WriteAt(std::int64_t offset, const char* data, std::size_t count) = 0;
  virtual bool Resize(std::int64_t size) = 0;

 private:
  // Move the bytes from .. end-1 up or down by the given distance, block by block.
  bool ShiftUp(std::int64_t from, std::int64_t end, std::int64_t by);
  bool ShiftDown(std::int64_t from, std::int64_t end, std::int64_t by);

  std::int64_t position_ = 0;
  std::size_t blockSize_;
};

// Opens the file for reading and writing, creating it when missing and never truncating it, with
// other writers shut out while it stays open (readers are not). Nothing when that fails.
std::unique_ptr<FileStream> OpenExclusiveFile(std::string_view path, std::size_t blockSize = kStreamBlockSize);

// An empty stream in memory.
std::unique_ptr<FileStream> OpenMemoryStream(std::size_t blockSize = kStreamBlockSize);

// The whole file as raw bytes, read even while another opener holds it; nothing when it cannot be
// opened for reading.
std::optional<Bytes> ReadWholeFile(std::string_view path);

}  // namespace lumatrel
