// The pictures on disk: each id a folder holding the original and its two renditions, in a
// folder sharded by the id's first four digits. A picture's folder appears whole or not at all:
// it is filled and synced under tmp/, then renamed into place and its parent synced, so a crash
// at any moment leaves either nothing or three complete files.
//
//   DATA/pictures/ab/cd/abcd.../{original,2000.jpg,460.jpg}
//   DATA/tmp/        staging, emptied at start
#pragma once

#include <atomic>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "host/PicturePath.h"

namespace lumatrel::host {

class PictureStore {
 public:
  explicit PictureStore(std::filesystem::path dataDir);

  // Creates the folders and clears what an interrupted upload left in tmp/. False if the data
  // folder cannot be used.
  bool Open();

  // True when the picture with this id is stored whole.
  bool Holds(std::string_view id) const;

  // True when the picture with this id is stored whole and its original equals bytes.
  bool HoldsSame(std::string_view id, std::string_view original) const;

  // Stores the three files durably; returns only when they are on disk. Storing an id that is
  // already held whole with the same original keeps what is there.
  bool Save(std::string_view id, std::string_view original, std::string_view large, std::string_view small);

  // The rendition's bytes, or nothing when the id is not stored.
  std::optional<std::string> Read(std::string_view id, Rendition rendition) const;

  std::filesystem::path PictureFolder(std::string_view id) const;

 private:
  bool IsWhole(const std::filesystem::path& folder) const;
  std::filesystem::path NewStagingPath(std::string_view id);

  std::filesystem::path dataDir_;
  std::filesystem::path pictures_;
  std::filesystem::path staging_;
  std::atomic<unsigned long> stagingCounter_{0};
  std::mutex commitMutex_;  // one rename into place at a time
};

}  // namespace lumatrel::host
