// The registry, as far as the program uses it: string values under two roots. The Windows build
// uses the real registry; the native build keeps an in-memory one that tests can fill.
#pragma once

#include <optional>
#include <string_view>

#include "text/Text.h"

namespace lumatrel {

enum class RegistryRoot { ClassesRoot, CurrentUser };

// A REG_SZ value as stored; a REG_EXPAND_SZ value with its environment references expanded;
// nothing for a missing key or value or a value of any other type.
std::optional<Text> RegistryReadText(RegistryRoot root, std::string_view key, std::string_view valueName);

// Opens the key for writing, creating it when that fails, and sets a REG_SZ value.
bool RegistryWriteText(RegistryRoot root, std::string_view key, std::string_view valueName, std::string_view value);

#ifndef _WIN32
// The native build's in-memory registry, for tests: values of every kind can be planted, and the
// whole store emptied. Key and value names match regardless of ASCII letter case, as on Windows.
enum class RegistryValueKind { String, ExpandString, Other };
void RegistryMemorySet(RegistryRoot root, std::string_view key, std::string_view valueName, RegistryValueKind kind,
                       std::string_view data);
void RegistryMemoryClear();
#endif

}  // namespace lumatrel
