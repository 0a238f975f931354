// The native build's registry: an in-memory map, filled by the program's writes and by tests.
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>

#include "platform/Registry.h"

namespace lumatrel {
namespace {

struct StoredValue {
  RegistryValueKind kind = RegistryValueKind::String;
  std::string data;
};

using Address = std::tuple<RegistryRoot, std::string, std::string>;

std::map<Address, StoredValue>& Store() {
  static std::map<Address, StoredValue> store;
  return store;
}

// Registry names ignore the case of ASCII letters; bytes of double-byte characters stay as they are.
std::string FoldName(std::string_view name) {
  std::string folded(name);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto c = static_cast<unsigned char>(folded[i]);
    if (c >= 0x80) {
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      folded[i] = static_cast<char>(c + 32);
    }
  }
  return folded;
}

Address AddressOf(RegistryRoot root, std::string_view key, std::string_view valueName) {
  return {root, FoldName(key), FoldName(valueName)};
}

// %NAME% becomes the variable's value; an unknown or unclosed reference stays as written.
std::string ExpandEnvironment(const std::string& text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto open = text.find('%', i);
    const auto close = open == std::string::npos ? std::string::npos : text.find('%', open + 1);
    if (close == std::string::npos) break;
    out.append(text, i, open - i);
    const std::string name = text.substr(open + 1, close - open - 1);
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    if (value) {
      out += value;
      i = close + 1;
    } else {
      out += '%';
      i = open + 1;
    }
  }
  out.append(text, i);
  return out;
}

}  // namespace

std::optional<Text> RegistryReadText(RegistryRoot root, std::string_view key, std::string_view valueName) {
  const auto found = Store().find(AddressOf(root, key, valueName));
  if (found == Store().end()) return std::nullopt;
  const StoredValue& value = found->second;
  std::string text = value.data.substr(0, value.data.find('\0'));
  switch (value.kind) {
    case RegistryValueKind::String: return text;
    case RegistryValueKind::ExpandString: return ExpandEnvironment(text);
    case RegistryValueKind::Other: break;
  }
  return std::nullopt;
}

bool RegistryWriteText(RegistryRoot root, std::string_view key, std::string_view valueName, std::string_view value) {
  RegistryMemorySet(root, key, valueName, RegistryValueKind::String, value);
  return true;
}

void RegistryMemorySet(RegistryRoot root, std::string_view key, std::string_view valueName, RegistryValueKind kind,
                       std::string_view data) {
  Store()[AddressOf(root, key, valueName)] = StoredValue{kind, std::string(data)};
}

void RegistryMemoryClear() { Store().clear(); }

}  // namespace lumatrel
