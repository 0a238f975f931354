// The request component over WinHttp.WinHttpRequest.5.1, called late-bound through IDispatch by
// name. Texts cross as BSTR through the GB18030 codec; the byte body as a VARIANT holding a
// SAFEARRAY of VT_UI1.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "http/RequestComponent.h"
#include "http/win/ComWrappers.h"
#include "platform/Events.h"
#include "text/Gb18030.h"

namespace lumatrel {

namespace {

// Milliseconds of the system's monotonic clock. (No <chrono>: its C++20 unit suffixes do not
// convert to the GBK execution character set.)
using Millis = ULONGLONG;
Millis Now() { return GetTickCount64(); }

// A slice that answers false sooner than this did not wait: the reply was already complete.
constexpr Millis kPromptAnswer = 500;
constexpr UINT kWatchdogMs = 20;

class WinHttpComponent;

// The component whose wait a watchdog timer currently guards (one thread runs everything).
WinHttpComponent* g_guarded = nullptr;
Millis g_deadline = 0;

class WinHttpComponent final : public RequestComponent {
 public:
  explicit WinHttpComponent(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

  bool Open(const Text& method, const Text& url, bool async) override {
    aborted_ = false;
    sent_ = false;
    return Invoke(L"Open", DISPATCH_METHOD, nullptr, Variant::FromText(WideFromText(method)),
                  Variant::FromText(WideFromText(url)), Variant::FromBool(async));
  }

  bool SetRequestHeader(const Text& name, const Text& value) override {
    return Invoke(L"SetRequestHeader", DISPATCH_METHOD, nullptr, Variant::FromText(WideFromText(name)),
                  Variant::FromText(WideFromText(value)));
  }

  bool SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                   std::int32_t receiveMs) override {
    return Invoke(L"SetTimeouts", DISPATCH_METHOD, nullptr, Variant::FromInt32(resolveMs),
                  Variant::FromInt32(connectMs), Variant::FromInt32(sendMs), Variant::FromInt32(receiveMs));
  }

  bool SetProxy(std::int32_t setting, const Text& server, const Text& bypassList) override {
    return Invoke(L"SetProxy", DISPATCH_METHOD, nullptr, Variant::FromInt32(setting),
                  Variant::FromText(WideFromText(server)), Variant::FromText(WideFromText(bypassList)));
  }

  bool Send(const RequestBody& body) override {
    std::vector<Variant> args;
    if (const auto* text = std::get_if<std::string_view>(&body)) {
      args.push_back(Variant::FromText(WideFromText(*text)));
    } else if (const auto* bytes = std::get_if<std::span<const std::uint8_t>>(&body)) {
      SafeArray array = SafeArray::CopyOf(*bytes);
      if (!array.Get()) return false;
      Variant value;
      V_VT(value.Get()) = VT_ARRAY | VT_UI1;
      V_ARRAY(value.Get()) = array.Detach();
      args.push_back(std::move(value));
    }
    sent_ = Call(L"Send", DISPATCH_METHOD, nullptr, args);
    return sent_;
  }

  // The wait is made of one-second waits of the component, with window events dispatched
  // between them and a watchdog timer that aborts the request at our own deadline. Under Wine the
  // component's wait dispatches the thread's messages itself, restarts its time-out on every one
  // of them (so a slice lasts until the reply or the abort) and answers false at once when the
  // reply was already complete; and the reply must complete while a wait is in progress, or the
  // instance fails its next request. So the component is always waiting, apart from the short
  // stretches between slices.
  bool WaitForResponse(std::int32_t seconds) override {
    if (!sent_ || aborted_) return false;
    const Millis deadline = Now() + static_cast<Millis>(std::max<std::int32_t>(seconds, 0)) * 1000;
    Watchdog watchdog(this, deadline);
    for (;;) {
      if (Now() >= deadline) {
        // A reply that is still coming must not be read half-way.
        Abort();
        return false;
      }
      const Millis asked = Now();
      Variant finished;
      if (!Invoke(L"WaitForResponse", DISPATCH_METHOD, &finished, Variant::FromInt32(1)) || aborted_) return false;
      if (IsTrue(finished) || Now() - asked < kPromptAnswer) return true;
      DispatchPendingEvents();
      if (aborted_) return false;
    }
  }

  Text GetAllResponseHeaders() override {
    Variant result;
    if (!Invoke(L"GetAllResponseHeaders", DISPATCH_METHOD, &result) || result.Type() != VT_BSTR) return {};
    return TextFromWide(BstrView(*result.Get()));
  }

  Bytes ResponseBody() override {
    Variant result;
    if (!Invoke(L"ResponseBody", DISPATCH_PROPERTYGET, &result)) return {};
    return CopyBytesOfVariant(*result.Get());
  }

  Text ResponseText() override {
    Variant result;
    if (!Invoke(L"ResponseText", DISPATCH_PROPERTYGET, &result) || result.Type() != VT_BSTR) return {};
    return TextFromWide(BstrView(*result.Get()));
  }

  void Abort() override {
    aborted_ = true;
    Invoke(L"Abort", DISPATCH_METHOD, nullptr);
  }

  // Called by the watchdog timer while the component's own wait holds the thread.
  void AbortIfLate(Millis deadline) {
    if (!aborted_ && Now() >= deadline) Abort();
  }

 private:
  static std::wstring_view BstrView(const VARIANT& value) {
    BSTR text = V_BSTR(&value);
    return text ? std::wstring_view(text, SysStringLen(text)) : std::wstring_view();
  }

  static bool IsTrue(const Variant& value) { return value.Type() == VT_BOOL && V_BOOL(value.Get()) != VARIANT_FALSE; }

  // Aborts the guarded request once the deadline has passed, from a thread timer whose messages
  // the component's own wait (or the dispatch between slices) delivers.
  class Watchdog {
   public:
    Watchdog(WinHttpComponent* component, Millis deadline)
        : previousGuarded_(std::exchange(g_guarded, component)),
          previousDeadline_(std::exchange(g_deadline, deadline)) {
      timer_ = SetTimer(nullptr, 0, kWatchdogMs, &Watchdog::OnTimer);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog() {
      if (timer_) KillTimer(nullptr, timer_);
      g_guarded = previousGuarded_;
      g_deadline = previousDeadline_;
    }

   private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
      if (g_guarded) g_guarded->AbortIfLate(g_deadline);
    }
    WinHttpComponent* previousGuarded_;
    Millis previousDeadline_;
    UINT_PTR timer_ = 0;
  };

  DISPID IdOf(const wchar_t* name) {
    auto found = ids_.find(name);
    if (found != ids_.end()) return found->second;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return DISPID_UNKNOWN;
    ids_.emplace(name, id);
    return id;
  }

  template <typename... Args>
  bool Invoke(const wchar_t* name, WORD flags, Variant* result, Args&&... args) {
    std::array<Variant, sizeof...(Args)> values{std::forward<Args>(args)...};
    return Call(name, flags, result, values);
  }

  // Invokes a member by name with the arguments in their natural order; false on any failure.
  bool Call(const wchar_t* name, WORD flags, Variant* result, std::span<Variant> args) {
    if (!dispatch_) return false;
    const DISPID id = IdOf(name);
    if (id == DISPID_UNKNOWN) return false;
    // IDispatch takes the arguments last first.
    std::vector<VARIANT> reversed;
    reversed.reserve(args.size());
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->Get());
    DISPPARAMS params{};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    Variant ignored;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                         result ? result->Put() : ignored.Put(), &exception, &badArgument);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return SUCCEEDED(hr);
  }

  ComPtr<IDispatch> dispatch_;
  std::map<std::wstring, DISPID> ids_;
  bool aborted_ = false;
  bool sent_ = false;
};

}  // namespace

std::unique_ptr<RequestComponent> CreateRequestComponent() {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ComPtr<IDispatch> dispatch;
  CLSID clsid{};
  if (SUCCEEDED(CLSIDFromProgID(L"WinHttp.WinHttpRequest.5.1", &clsid))) {
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(dispatch.Put()));
  }
  // Only balances this function's own initialisation: the thread keeps OLE from start-up.
  if (SUCCEEDED(init)) CoUninitialize();
  if (!dispatch) return nullptr;
  return std::make_unique<WinHttpComponent>(std::move(dispatch));
}

}  // namespace lumatrel
