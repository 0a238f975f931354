// Letting pending window events run in the middle of long work on the one thread.
//
// The application shell installs the real hook (it dispatches queued window messages); tests
// install a scripted one, which is how re-entry is exercised deterministically. Without a hook,
// DispatchPendingEvents does nothing.
#pragma once

#include <functional>

namespace lumatrel {

using DispatchHook = std::function<void()>;

// Installs hook (an empty function removes it) and returns the one it replaces.
DispatchHook SetDispatchHook(DispatchHook hook);

void DispatchPendingEvents();

}  // namespace lumatrel
