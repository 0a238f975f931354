// Owners for the COM and automation resources the request component is driven through: an
// interface pointer, a BSTR, a VARIANT and a SAFEARRAY. Each frees what it holds exactly once,
// can be moved and not copied.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace lumatrel {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(T* owned) : ptr_(owned) {}
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.ptr_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  T* Get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  // For functions that hand out a new reference: drops the current one first.
  T** Put() {
    Reset();
    return &ptr_;
  }
  void Reset(T* owned = nullptr) {
    if (T* old = std::exchange(ptr_, owned)) old->Release();
  }

 private:
  T* ptr_ = nullptr;
};

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text) : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(Bstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) {
      SysFreeString(bstr_);
      bstr_ = std::exchange(other.bstr_, nullptr);
    }
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(bstr_); }

  BSTR Get() const { return bstr_; }
  // Gives up ownership, for a VARIANT that will free it.
  BSTR Detach() { return std::exchange(bstr_, nullptr); }
  std::wstring_view View() const { return bstr_ ? std::wstring_view(bstr_, SysStringLen(bstr_)) : std::wstring_view(); }

 private:
  BSTR bstr_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  Variant(Variant&& other) noexcept : Variant() { std::swap(value_, other.value_); }
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      VariantClear(&value_);
      std::swap(value_, other.value_);
    }
    return *this;
  }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&value_); }

  static Variant FromBool(bool value) {
    Variant v;
    V_VT(&v.value_) = VT_BOOL;
    V_BOOL(&v.value_) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
  }
  static Variant FromInt32(std::int32_t value) {
    Variant v;
    V_VT(&v.value_) = VT_I4;
    V_I4(&v.value_) = value;
    return v;
  }
  static Variant FromText(std::wstring_view text) {
    Variant v;
    V_VT(&v.value_) = VT_BSTR;
    V_BSTR(&v.value_) = Bstr(text).Detach();
    return v;
  }

  VARIANT* Get() { return &value_; }
  const VARIANT* Get() const { return &value_; }
  VARTYPE Type() const { return V_VT(&value_); }
  // Clears the current value first, for functions that fill the VARIANT.
  VARIANT* Put() {
    VariantClear(&value_);
    return &value_;
  }

 private:
  VARIANT value_;
};

// A one-dimensional SAFEARRAY of VT_UI1.
class SafeArray {
 public:
  SafeArray() = default;
  explicit SafeArray(SAFEARRAY* owned) : array_(owned) {}
  SafeArray(SafeArray&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}
  SafeArray& operator=(SafeArray&& other) noexcept {
    if (this != &other) {
      if (array_) SafeArrayDestroy(array_);
      array_ = std::exchange(other.array_, nullptr);
    }
    return *this;
  }
  SafeArray(const SafeArray&) = delete;
  SafeArray& operator=(const SafeArray&) = delete;
  ~SafeArray() {
    if (array_) SafeArrayDestroy(array_);
  }

  // A new array holding a copy of the bytes; empty on failure.
  static SafeArray CopyOf(std::span<const std::uint8_t> bytes) {
    SafeArray result(SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size())));
    if (!result.array_ || bytes.empty()) return result;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(result.array_, &data))) return SafeArray();
    std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(data));
    SafeArrayUnaccessData(result.array_);
    return result;
  }

  SAFEARRAY* Get() const { return array_; }
  SAFEARRAY* Detach() { return std::exchange(array_, nullptr); }

 private:
  SAFEARRAY* array_ = nullptr;
};

// A copy of the bytes of a VT_ARRAY | VT_UI1 variant (also by reference); empty for anything else.
inline std::vector<std::uint8_t> CopyBytesOfVariant(const VARIANT& value) {
  SAFEARRAY* array = nullptr;
  if (V_VT(&value) == (VT_ARRAY | VT_UI1)) array = V_ARRAY(&value);
  if (V_VT(&value) == (VT_ARRAY | VT_UI1 | VT_BYREF) && V_ARRAYREF(&value)) array = *V_ARRAYREF(&value);
  if (!array || SafeArrayGetDim(array) != 1) return {};
  LONG lower = 0;
  LONG upper = -1;
  if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper))) return {};
  void* data = nullptr;
  if (upper < lower || FAILED(SafeArrayAccessData(array, &data))) return {};
  const auto* first = static_cast<const std::uint8_t*>(data);
  std::vector<std::uint8_t> bytes(first, first + static_cast<std::size_t>(upper - lower) + 1);
  SafeArrayUnaccessData(array);
  return bytes;
}

}  // namespace lumatrel
