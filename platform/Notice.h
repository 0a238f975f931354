// The settings store's message boxes. Tests install a hook that records them; without one the
// Windows build shows a real message box and the native build writes the notice to stderr.
#pragma once

#include <functional>
#include <string_view>

namespace lumatrel {

// The message box styles the store uses, with their Windows values.
inline constexpr unsigned kBoxOk = 0x0;
inline constexpr unsigned kBoxIconHand = 0x10;
inline constexpr unsigned kBoxIconQuestion = 0x20;
inline constexpr unsigned kBoxIconExclamation = 0x30;
inline constexpr unsigned kBoxIconInformation = 0x40;
inline constexpr unsigned kBoxSystemModal = 0x1000;
inline constexpr unsigned kBoxTaskModal = 0x2000;

// text and title are GBK text.
using MessageBoxHook = std::function<void(std::string_view text, std::string_view title, unsigned style)>;

// Installs hook (an empty function restores the default) and returns the one it replaces.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// Shows a message box without owner window; the answer is not used.
void ShowMessageBox(std::string_view text, std::string_view title, unsigned style);

// The default when no hook is installed: one implementation per platform.
void ShowSystemMessageBox(std::string_view text, std::string_view title, unsigned style);

}  // namespace lumatrel
