#include "platform/Notice.h"

#include <utility>

namespace lumatrel {
namespace {
MessageBoxHook& CurrentHook() {
  static MessageBoxHook hook;
  return hook;
}
}  // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) { return std::exchange(CurrentHook(), std::move(hook)); }

void ShowMessageBox(std::string_view text, std::string_view title, unsigned style) {
  // Copy first: the hook may replace itself while it runs.
  MessageBoxHook hook = CurrentHook();
  if (hook) {
    hook(text, title, style);
  } else {
    ShowSystemMessageBox(text, title, style);
  }
}

}  // namespace lumatrel
