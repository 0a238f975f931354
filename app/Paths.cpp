#include "app/Paths.h"

namespace lumatrel {
namespace {
// Searched character by character: the second byte of a double-byte character may be 0x5C, and
// such a byte is no folder separator.
int LastBackslash(std::string_view path) {
  return FindBackward(path, "\\", static_cast<int>(path.size()) + 1);
}
}  // namespace

Text NameFromPath(std::string_view path) {
  const int at = LastBackslash(path);
  return at < 0 ? Text(path) : Mid(path, at + 1);
}

Text FolderFromPath(std::string_view path) {
  const int at = LastBackslash(path);
  return at < 0 ? Text() : Left(path, at - 1);
}

}  // namespace lumatrel
