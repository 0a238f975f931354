#include "platform/FileStream.h"

#include <algorithm>
#include <vector>

namespace lumatrel {

bool FileStream::SeekEnd() {
  const auto size = Size();
  if (!size) return false;
  position_ = *size;
  return true;
}

std::optional<std::string> FileStream::ReadAll() {
  const auto size = Size();
  if (!size) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(*size), '\0');
  if (!bytes.empty() && !ReadAt(0, bytes.data(), bytes.size())) return std::nullopt;
  return bytes;
}

bool FileStream::Insert(std::string_view bytes) {
  const auto size = Size();
  if (!size) return false;
  const std::int64_t at = std::min(position_, *size);
  const auto shift = static_cast<std::int64_t>(bytes.size());
  // From the end backwards, so that no byte is overwritten before it has been moved.
  std::vector<char> block(blockSize_);
  for (std::int64_t end = *size; end > at;) {
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(blockSize_), end - at));
    const std::int64_t start = end - static_cast<std::int64_t>(count);
    if (!ReadAt(start, block.data(), count) || !WriteAt(start + shift, block.data(), count)) return false;
    end = start;
  }
  if (!bytes.empty() && !WriteAt(at, bytes.data(), bytes.size())) return false;
  position_ = at + shift;
  return true;
}

bool FileStream::Delete(std::int64_t count) {
  const auto size = Size();
  if (!size) return false;
  const std::int64_t at = std::min(position_, *size);
  count = std::clamp<std::int64_t>(count, 0, *size - at);
  if (count == 0) return true;
  // From the front forwards: each block lands below where it was read.
  std::vector<char> block(blockSize_);
  for (std::int64_t from = at + count; from < *size;) {
    const auto n = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(blockSize_), *size - from));
    if (!ReadAt(from, block.data(), n) || !WriteAt(from - count, block.data(), n)) return false;
    from += static_cast<std::int64_t>(n);
  }
  position_ = at;
  return Resize(*size - count);
}

}  // namespace lumatrel
