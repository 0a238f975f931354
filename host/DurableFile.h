// Small POSIX file operations with durability: a write is on disk when it returns true.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumatrel::host {

// Creates path (which must not exist), writes data, fsyncs and closes it.
bool WriteNewFileDurably(const std::filesystem::path& path, std::string_view data);

// fsync of a directory, so that entries created or renamed in it survive a crash.
bool SyncDirectory(const std::filesystem::path& path);

// Creates the directory and any missing parents, syncing the parent of each one created.
bool MakeDirectoriesDurably(const std::filesystem::path& path);

// The whole content of a regular file, or nothing.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace lumatrel::host
