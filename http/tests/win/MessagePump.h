// What the Windows tests of the request component need from a window thread: OLE initialised,
// a dispatch hook that pumps the thread's messages, and thread timers that run a function.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <functional>

#include "platform/Events.h"

namespace lumatrel::testing {

// OLE on the calling thread for the object's lifetime, as start-up does for the program.
class OleThread {
 public:
  OleThread() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  OleThread(const OleThread&) = delete;
  OleThread& operator=(const OleThread&) = delete;
  ~OleThread() {
    if (ok_) OleUninitialize();
  }
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

// Installs a dispatch hook that dispatches queued messages until the queue is empty, and puts
// the previous hook back at the end.
class MessagePumpHook {
 public:
  MessagePumpHook();
  MessagePumpHook(const MessagePumpHook&) = delete;
  MessagePumpHook& operator=(const MessagePumpHook&) = delete;
  ~MessagePumpHook();

 private:
  DispatchHook previous_;
};

// A thread timer (no window) that calls onTick each period until destroyed.
class ThreadTimer {
 public:
  ThreadTimer(UINT periodMs, std::function<void()> onTick);
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;
  ~ThreadTimer();

 private:
  UINT_PTR id_ = 0;
  std::function<void()> onTick_;
};

}  // namespace lumatrel::testing
