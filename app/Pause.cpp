#include "app/Pause.h"

#include "platform/Events.h"

namespace lumatrel {

void PauseWithEvents(int milliseconds, const bool& flag, Sleeper& sleeper) {
  // The flag is read afresh each round: an event handler run below may set it.
  for (int elapsed = 0; elapsed < milliseconds && !flag; elapsed += 10) {
    sleeper.SleepMilliseconds(10);
    DispatchPendingEvents();
  }
}

}  // namespace lumatrel
