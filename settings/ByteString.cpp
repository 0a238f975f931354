#include "settings/ByteString.h"

#include <algorithm>

namespace lumatrel {

std::int64_t ByteString::Find(std::string_view pattern, std::int64_t start) const {
  return Find(pattern, start, Length());
}

std::int64_t ByteString::Find(std::string_view pattern, std::int64_t start, std::int64_t last) const {
  if (start < 1) start = 1;
  last = std::min(last, Length());
  if (start > last) return -1;
  // Only the stretch in which such an occurrence could lie is searched.
  const auto from = static_cast<std::size_t>(start - 1);
  const auto stretch = std::string_view(bytes_).substr(from, static_cast<std::size_t>(last - start + 1) + pattern.size() - 1);
  const auto at = stretch.find(pattern);
  return at == std::string_view::npos ? -1 : static_cast<std::int64_t>(from + at) + 1;
}

std::string ByteString::Get(std::int64_t start, std::int64_t count) const {
  const std::int64_t first = std::max<std::int64_t>(start, 1);
  const std::int64_t last = std::min(start + count - 1, Length());
  if (count <= 0 || first > last) return {};
  return bytes_.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

void ByteString::Insert(std::int64_t position, std::string_view bytes) {
  if (position < 1 || position > Length() + 1) return;
  bytes_.insert(static_cast<std::size_t>(position - 1), bytes);
}

void ByteString::Delete(std::int64_t start, std::int64_t count) {
  if (count <= 0 || start < 1 || start > Length()) return;
  bytes_.erase(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(std::min(count, Length() - start + 1)));
}

void ByteString::Replace(std::int64_t start, std::int64_t count, std::string_view bytes) {
  if (start < 1 || start > Length() + 1) return;
  const std::int64_t removed = std::clamp<std::int64_t>(count, 0, Length() - start + 1);
  bytes_.replace(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(removed), bytes);
}

}  // namespace lumatrel
