#include "platform/Events.h"

#include <utility>

namespace lumatrel {
namespace {
DispatchHook& CurrentHook() {
  static DispatchHook hook;
  return hook;
}
}  // namespace

DispatchHook SetDispatchHook(DispatchHook hook) { return std::exchange(CurrentHook(), std::move(hook)); }

void DispatchPendingEvents() {
  // Copy first: a handler may replace the hook while it runs.
  DispatchHook hook = CurrentHook();
  if (hook) hook();
}

}  // namespace lumatrel
