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

// How long a wait may outlive an abort before it is taken as lost (see Revive).
constexpr Millis kLostSignalMs = 200;

// The component whose wait a watchdog timer currently guards (one thread runs everything).
WinHttpComponent* g_guarded = nullptr;

class WinHttpComponent final : public RequestComponent {
 public:
  explicit WinHttpComponent(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

  bool Open(const Text& method, const Text& url, bool async) override {
    aborted_ = false;
    sent_ = false;
    revived_ = false;
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
  // between them and a watchdog timer that keeps our own deadline. What shapes it is Wine's
  // component: its wait dispatches the thread's messages itself and restarts its time-out on every
  // one of them (so under Wine a slice lasts until the reply or an abort); it answers false at once
  // when the reply was already complete; a reply that completes while no wait is in progress makes
  // the instance fail its next request; and an abort during its wait can lose the signal that
  // would end that wait. So the component is always waiting, and the watchdog both aborts at the
  // deadline and revives a wait that outlives an abort (see Revive).
  bool WaitForResponse(std::int32_t seconds) override {
    if (!sent_ || aborted_) return false;
    deadline_ = Now() + static_cast<Millis>(std::max<std::int32_t>(seconds, 0)) * 1000;
    Watchdog watchdog(this);
    for (;;) {
      if (Now() >= deadline_) {
        // A reply that is still coming must not be read half-way.
        Abort();
        return false;
      }
      const Millis asked = Now();
      Variant finished;
      inWait_ = true;
      const bool answered = Invoke(L"WaitForResponse", DISPATCH_METHOD, &finished, Variant::FromInt32(1));
      inWait_ = false;
      if (!answered || aborted_) return false;
      // A signal left over from an earlier abort can end a wait before the reply has even begun.
      if ((IsTrue(finished) || Now() - asked < kPromptAnswer) && HeadersArrived()) return true;
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
    if (!aborted_) abortedAt_ = Now();
    aborted_ = true;
    Invoke(L"Abort", DISPATCH_METHOD, nullptr);
  }

 private:
  static std::wstring_view BstrView(const VARIANT& value) {
    BSTR text = V_BSTR(&value);
    return text ? std::wstring_view(text, SysStringLen(text)) : std::wstring_view();
  }

  static bool IsTrue(const Variant& value) { return value.Type() == VT_BOOL && V_BOOL(value.Get()) != VARIANT_FALSE; }

  // The status line has been read: the reply has begun.
  bool HeadersArrived() {
    Variant status;
    return Invoke(L"Status", DISPATCH_PROPERTYGET, &status);
  }

  // Each watchdog tick, while a wait of ours runs.
  void OnWatchdog() {
    if (!aborted_ && Now() >= deadline_) Abort();
    if (aborted_ && inWait_ && !revived_ && Now() - abortedAt_ >= kLostSignalMs) Revive();
  }

  // Wine's Abort waits for the request's worker to finish and can swallow the one signal that
  // would end the component's wait in progress, which then goes on for as long as messages
  // arrive. A request to a closed loopback port fails at once and gives the wait its signal; the
  // aborted exchange is over anyway, and the next one opens the instance afresh.
  void Revive() {
    revived_ = true;
    Invoke(L"Open", DISPATCH_METHOD, nullptr, Variant::FromText(L"GET"), Variant::FromText(L"http://127.0.0.1:1/"),
           Variant::FromBool(true));
    Invoke(L"Send", DISPATCH_METHOD, nullptr);
  }

  // A thread timer for the length of a wait: its messages are delivered by the component's own
  // wait (or the dispatch between slices).
  class Watchdog {
   public:
    explicit Watchdog(WinHttpComponent* component) : previous_(std::exchange(g_guarded, component)) {
      timer_ = SetTimer(nullptr, 0, kWatchdogMs, &Watchdog::OnTimer);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog() {
      if (timer_) KillTimer(nullptr, timer_);
      g_guarded = previous_;
    }

   private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
      if (g_guarded) g_guarded->OnWatchdog();
    }
    WinHttpComponent* previous_;
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
  bool inWait_ = false;
  bool revived_ = false;
  Millis deadline_ = 0;
  Millis abortedAt_ = 0;
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
