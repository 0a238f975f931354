#include "http/tests/win/MessagePump.h"

#include <map>
#include <utility>

namespace lumatrel::testing {

namespace {

std::map<UINT_PTR, std::function<void()>*>& Timers() {
  static std::map<UINT_PTR, std::function<void()>*> timers;
  return timers;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  auto found = Timers().find(id);
  if (found == Timers().end()) return;
  // Copied: the function may end this very timer.
  const std::function<void()> tick = *found->second;
  if (tick) tick();
}

}  // namespace

MessagePumpHook::MessagePumpHook()
    : previous_(SetDispatchHook([] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
          TranslateMessage(&message);
          DispatchMessageW(&message);
        }
      })) {}

MessagePumpHook::~MessagePumpHook() { SetDispatchHook(std::move(previous_)); }

ThreadTimer::ThreadTimer(UINT periodMs, std::function<void()> onTick) : onTick_(std::move(onTick)) {
  id_ = SetTimer(nullptr, 0, periodMs, &OnTimer);
  if (id_) Timers()[id_] = &onTick_;
}

ThreadTimer::~ThreadTimer() {
  if (!id_) return;
  KillTimer(nullptr, id_);
  Timers().erase(id_);
}

}  // namespace lumatrel::testing
