// Owning wrappers for the Windows handles the window layer holds.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <utility>

namespace lumatrel::win {

// A handle with a closing function; movable, not copyable.
template <typename Handle, auto Close>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(Handle handle) : handle_(handle) {}
  Scoped(Scoped&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  ~Scoped() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  // Gives the handle up without closing it.
  Handle Release() { return std::exchange(handle_, Handle{}); }
  void Reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

inline void CloseFile(HANDLE h) {
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}
inline void DeleteGdi(HGDIOBJ object) { DeleteObject(object); }
inline void DeleteMemoryDc(HDC dc) { DeleteDC(dc); }
inline void DestroyMenuHandle(HMENU menu) { DestroyMenu(menu); }
inline void DestroyImages(HIMAGELIST list) { ImageList_Destroy(list); }
inline void FreeGlobal(HGLOBAL memory) { GlobalFree(memory); }

using ScopedFile = Scoped<HANDLE, CloseFile>;
using ScopedBitmap = Scoped<HBITMAP, DeleteGdi>;
using ScopedFont = Scoped<HFONT, DeleteGdi>;
using ScopedBrush = Scoped<HBRUSH, DeleteGdi>;
using ScopedPen = Scoped<HPEN, DeleteGdi>;
using ScopedMemoryDc = Scoped<HDC, DeleteMemoryDc>;
using ScopedMenu = Scoped<HMENU, DestroyMenuHandle>;
using ScopedImageList = Scoped<HIMAGELIST, DestroyImages>;
using ScopedGlobal = Scoped<HGLOBAL, FreeGlobal>;

// Selects an object into a DC for the lifetime of the guard.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The clipboard, open for the lifetime of the guard when Opened() says so.
class ClipboardGuard {
 public:
  explicit ClipboardGuard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ClipboardGuard(const ClipboardGuard&) = delete;
  ClipboardGuard& operator=(const ClipboardGuard&) = delete;
  ~ClipboardGuard() {
    if (open_) CloseClipboard();
  }
  bool Opened() const { return open_; }

 private:
  bool open_;
};

// OLE for the thread, from start-up to exit.
class OleSession {
 public:
  OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
  ~OleSession() {
    if (ok_) OleUninitialize();
  }

 private:
  bool ok_;
};

}  // namespace lumatrel::win
