// The settings document in memory: a growable byte string with 1-based positions. Searching is
// byte for byte, with no regard to double-byte characters, and the bytes may include zeros.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumatrel {

class ByteString {
 public:
  std::int64_t Length() const { return static_cast<std::int64_t>(bytes_.size()); }
  void Clear() { bytes_.clear(); }
  void Append(std::string_view bytes) { bytes_.append(bytes); }

  // The first occurrence beginning at or after start (0 or less: from the beginning), or -1.
  std::int64_t Find(std::string_view pattern, std::int64_t start) const;
  // The same, counting only occurrences that begin at or before last.
  std::int64_t Find(std::string_view pattern, std::int64_t start, std::int64_t last) const;
  // The bytes from start on, at most count of them; only positions inside the string count.
  std::string Get(std::int64_t start, std::int64_t count) const;
  // position may be Length() + 1, which appends; a position outside 1 .. Length() + 1 is ignored.
  void Insert(std::int64_t position, std::string_view bytes);
  // count 0 or less does nothing; a range running past the end is cut there.
  void Delete(std::int64_t start, std::int64_t count);
  // Delete, then insert at start, moving the bytes after the range only once.
  void Replace(std::int64_t start, std::int64_t count, std::string_view bytes);

  std::string_view View() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace lumatrel
