// The real registry through its ANSI functions: key paths, names and values are GBK bytes.
#include <windows.h>

#include <string>

#include "platform/Registry.h"

namespace lumatrel {
namespace {

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER; }

class KeyHandle {
 public:
  KeyHandle() = default;
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  ~KeyHandle() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

Text UpToZero(std::string bytes) {
  const auto zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
  return bytes;
}

std::optional<Text> ExpandEnvironment(const Text& text) {
  DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  // The needed size can grow between the two calls when the environment changes; try again then.
  for (int attempt = 0; attempt < 3 && size > 0; ++attempt) {
    std::string out(size, '\0');
    const DWORD got = ExpandEnvironmentStringsA(text.c_str(), out.data(), size);
    if (got == 0) return std::nullopt;
    if (got <= size) return UpToZero(std::move(out));
    size = got;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Text> RegistryReadText(RegistryRoot root, std::string_view key, std::string_view valueName) {
  const std::string keyPath(key);
  const std::string name(valueName);
  KeyHandle handle;
  if (RegOpenKeyExA(RootKey(root), keyPath.c_str(), 0, KEY_READ, handle.Out()) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::string data;
  LONG status = ERROR_MORE_DATA;
  // The value may grow between the size query and the read; then ask again.
  for (int attempt = 0; attempt < 3 && status == ERROR_MORE_DATA; ++attempt) {
    data.assign(size, '\0');
    status = RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size);
  }
  if (status != ERROR_SUCCESS) return std::nullopt;
  data.resize(size);
  // A stored string need not end with its zero byte; the text ends at the first one.
  Text text = UpToZero(std::move(data));
  if (type == REG_EXPAND_SZ) return ExpandEnvironment(text);
  if (type != REG_SZ) return std::nullopt;
  return text;
}

bool RegistryWriteText(RegistryRoot root, std::string_view key, std::string_view valueName, std::string_view value) {
  const std::string keyPath(key);
  const std::string name(valueName);
  const std::string data(value);
  KeyHandle handle;
  if (RegOpenKeyExA(RootKey(root), keyPath.c_str(), 0, KEY_WRITE, handle.Out()) != ERROR_SUCCESS &&
      RegCreateKeyA(RootKey(root), keyPath.c_str(), handle.Out()) != ERROR_SUCCESS) {
    return false;
  }
  // REG_SZ holds the text and its terminating zero byte.
  return RegSetValueExA(handle.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace lumatrel
