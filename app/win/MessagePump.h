// The window thread's message handling: the loop of the program, and the dispatching of pending
// messages that long work calls through the dispatch hook.
#pragma once

namespace lumatrel::win {

// Dispatches queued messages until the queue is empty or WM_QUIT is next; a WM_QUIT taken off
// the queue is posted again, so that the outer loop still ends.
void DispatchWindowMessages();

// The message loop: runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace lumatrel::win
