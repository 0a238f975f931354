// The scratch stream of the memory mode: the same in-place edits over a byte vector.
#include <cstring>
#include <vector>

#include "platform/FileStream.h"

namespace lumatrel {
namespace {

class MemoryStream final : public FileStream {
 public:
  explicit MemoryStream(std::size_t blockSize) : FileStream(blockSize) {}

 private:
  std::optional<std::int64_t> Size() override { return static_cast<std::int64_t>(bytes_.size()); }

  bool ReadAt(std::int64_t offset, char* data, std::size_t count) override {
    if (offset < 0 || static_cast<std::size_t>(offset) + count > bytes_.size()) return false;
    if (count > 0) std::memcpy(data, bytes_.data() + offset, count);
    return true;
  }

  bool WriteAt(std::int64_t offset, const char* data, std::size_t count) override {
    if (offset < 0) return false;
    const std::size_t end = static_cast<std::size_t>(offset) + count;
    if (end > bytes_.size()) bytes_.resize(end);
    if (count > 0) std::memcpy(bytes_.data() + offset, data, count);
    return true;
  }

  bool Resize(std::int64_t size) override {
    if (size < 0) return false;
    bytes_.resize(static_cast<std::size_t>(size));
    return true;
  }

  std::vector<char> bytes_;
};

}  // namespace

std::unique_ptr<FileStream> OpenMemoryStream(std::size_t blockSize) { return std::make_unique<MemoryStream>(blockSize); }

}  // namespace lumatrel
