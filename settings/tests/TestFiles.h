// A fresh folder per test, removed afterwards, and whole-file helpers for checking bytes on disk.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace lumatrel::testing {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0;; ++attempt) {
      folder_ = base / ("lumatrel-settings-" + std::to_string(Stamp()) + "-" + std::to_string(counter++));
      if (std::filesystem::create_directory(folder_) || attempt > 100) break;
    }
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(folder_, ignored);
  }

  // The path of a file in the folder, as the store takes it (ASCII names only).
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  std::filesystem::path Folder() const { return folder_; }

 private:
  static unsigned Stamp() { return std::random_device{}(); }
  std::filesystem::path folder_;
};

inline bool Exists(const std::filesystem::path& path) { return std::filesystem::exists(path); }

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace lumatrel::testing
