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

bool FileStream::ShiftUp(std::int64_t from, std::int64_t end, std::int64_t by) {
  // From the end backwards, so that no byte is overwritten before it has been moved.
  std::vector<char> block(std::min<std::int64_t>(static_cast<std::int64_t>(blockSize_), std::max<std::int64_t>(end - from, 0)));
  while (end > from) {
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(block.size()), end - from));
    const std::int64_t start = end - static_cast<std::int64_t>(count);
    if (!ReadAt(start, block.data(), count) || !WriteAt(start + by, block.data(), count)) return false;
    end = start;
  }
  return true;
}

bool FileStream::ShiftDown(std::int64_t from, std::int64_t end, std::int64_t by) {
  // From the front forwards: each block lands below where it was read.
  std::vector<char> block(std::min<std::int64_t>(static_cast<std::int64_t>(blockSize_), std::max<std::int64_t>(end - from, 0)));
  while (from < end) {
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(block.size()), end - from));
    if (!ReadAt(from, block.data(), count) || !WriteAt(from - by, block.data(), count)) return false;
    from += static_cast<std::int64_t>(count);
  }
  return true;
}

bool FileStream::Insert(std::string_view bytes) { return Replace(0, bytes); }

bool FileStream::Delete(std::int64_t count) { return Replace(count, {}); }

bool FileStream::Replace(std::int64_t count, std::string_view bytes) {
  const auto size = Size();
  if (!size) return false;
  const std::int64_t at = std::min(position_, *size);
  count = std::clamp<std::int64_t>(count, 0, *size - at);
  const auto length = static_cast<std::int64_t>(bytes.size());
  const std::int64_t after = at + count;  // the first byte that stays
  if (length > count && !ShiftUp(after, *size, length - count)) return false;
  if (length > 0 && !WriteAt(at, bytes.data(), bytes.size())) return false;
  if (length < count && (!ShiftDown(after, *size, count - length) || !Resize(*size - (count - length)))) return false;
  position_ = at + length;
  return true;
}

}  // namespace lumatrel
