// Waiting on the one thread while window events keep running.
#pragma once

#include "app/Seams.h"

namespace lumatrel {

// While elapsed < milliseconds and flag is clear: sleep 10 ms, count 10, dispatch pending events.
void PauseWithEvents(int milliseconds, const bool& flag, Sleeper& sleeper);

}  // namespace lumatrel
