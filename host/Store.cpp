#include "host/Store.h"

#include <cstdio>
#include <system_error>
#include <unistd.h>

#include "host/DurableFile.h"

namespace lumatrel::host {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kOriginalName = "original";

bool IsRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

}  // namespace

PictureStore::PictureStore(fs::path dataDir)
    : dataDir_(std::move(dataDir)), pictures_(dataDir_ / "pictures"), staging_(dataDir_ / "tmp") {}

bool PictureStore::Open() {
  if (!MakeDirectoriesDurably(pictures_) || !MakeDirectoriesDurably(staging_)) return false;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(staging_, error)) {
    std::error_code ignored;
    fs::remove_all(entry.path(), ignored);
  }
  if (error) return false;
  // The folder must be writable now, not at the first upload.
  return ::access(pictures_.c_str(), W_OK) == 0 && ::access(staging_.c_str(), W_OK) == 0;
}

fs::path PictureStore::PictureFolder(std::string_view id) const {
  const std::string text(id);
  return pictures_ / text.substr(0, 2) / text.substr(2, 2) / text;
}

bool PictureStore::IsWhole(const fs::path& folder) const {
  return IsRegularFile(folder / kOriginalName) && IsRegularFile(folder / RenditionFileName(Rendition::Large)) &&
         IsRegularFile(folder / RenditionFileName(Rendition::Small));
}

bool PictureStore::Holds(std::string_view id) const { return IsPictureId(id) && IsWhole(PictureFolder(id)); }

bool PictureStore::HoldsSame(std::string_view id, std::string_view original) const {
  if (!IsPictureId(id)) return false;
  const fs::path folder = PictureFolder(id);
  if (!IsWhole(folder)) return false;
  const auto stored = ReadWholeFile(folder / kOriginalName);
  return stored && *stored == original;
}

fs::path PictureStore::NewStagingPath(std::string_view id) {
  return staging_ / (std::string(id) + "." + std::to_string(::getpid()) + "." + std::to_string(++stagingCounter_));
}

bool PictureStore::Save(std::string_view id, std::string_view original, std::string_view large, std::string_view small) {
  if (!IsPictureId(id)) return false;
  const fs::path staging = NewStagingPath(id);
  std::error_code error;
  const bool staged = fs::create_directory(staging, error) &&
                      WriteNewFileDurably(staging / kOriginalName, original) &&
                      WriteNewFileDurably(staging / RenditionFileName(Rendition::Large), large) &&
                      WriteNewFileDurably(staging / RenditionFileName(Rendition::Small), small) &&
                      SyncDirectory(staging);
  const fs::path folder = PictureFolder(id);
  bool saved = false;
  if (staged && MakeDirectoriesDurably(folder.parent_path())) {
    std::lock_guard<std::mutex> lock(commitMutex_);
    if (HoldsSame(id, original)) {
      saved = true;  // the same picture, stored before or by a concurrent upload
    } else {
      // A folder that is not whole or holds other bytes (damage on disk) is moved aside first:
      // renaming onto a non-empty folder fails.
      const fs::path aside = NewStagingPath(id);
      const bool cleared = !fs::exists(folder, error) || std::rename(folder.c_str(), aside.c_str()) == 0;
      saved = cleared && std::rename(staging.c_str(), folder.c_str()) == 0 && SyncDirectory(folder.parent_path());
      fs::remove_all(aside, error);
    }
  }
  fs::remove_all(staging, error);
  return saved;
}

std::optional<std::string> PictureStore::Read(std::string_view id, Rendition rendition) const {
  // Only a whole picture is served, even if something other than this store left a part of one.
  if (!Holds(id)) return std::nullopt;
  return ReadWholeFile(PictureFolder(id) / RenditionFileName(rendition));
}

}  // namespace lumatrel::host
