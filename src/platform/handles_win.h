// One owner template for every kind of system handle, and a minimal COM pointer.
#pragma once

#include <windows.h>

#include <utility>

namespace velkor {

// `Invalid` gives the handle value that means none (INVALID_HANDLE_VALUE is not a
// constant expression, so it cannot be a template argument itself).
template <typename T, auto Close, T (*Invalid)()>
class Unique {
 public:
  Unique() = default;
  explicit Unique(T value) : value_(value) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : value_(std::exchange(other.value_, Invalid())) {}
  Unique& operator=(Unique&& other) noexcept {
    reset(std::exchange(other.value_, Invalid()));
    return *this;
  }
  ~Unique() { reset(); }

  T get() const { return value_; }
  T* put() {
    reset();
    return &value_;
  }
  T release() { return std::exchange(value_, Invalid()); }
  explicit operator bool() const { return value_ != Invalid(); }
  void reset(T value = Invalid()) {
    if (value_ != Invalid()) Close(value_);
    value_ = value;
  }

 private:
  T value_ = Invalid();
};

inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseFind(HANDLE h) { ::FindClose(h); }
inline void CloseKey(HKEY k) { ::RegCloseKey(k); }
inline void DeleteGdiObject(HGDIOBJ o) { ::DeleteObject(o); }
inline void DestroyIconHandle(HICON i) { ::DestroyIcon(i); }

template <typename T>
T NullHandle() {
  return nullptr;
}
inline HANDLE InvalidHandle() { return INVALID_HANDLE_VALUE; }

using UniqueHandle = Unique<HANDLE, CloseKernelHandle, NullHandle<HANDLE>>;
using UniqueFile = Unique<HANDLE, CloseKernelHandle, InvalidHandle>;
using UniqueFind = Unique<HANDLE, CloseFind, InvalidHandle>;
using UniqueKey = Unique<HKEY, CloseKey, NullHandle<HKEY>>;
using UniqueGdi = Unique<HGDIOBJ, DeleteGdiObject, NullHandle<HGDIOBJ>>;
using UniqueIcon = Unique<HICON, DestroyIconHandle, NullHandle<HICON>>;

template <typename I>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  I* operator->() const { return p_; }
  I* get() const { return p_; }
  I** put() { return &p_; }
  void** put_void() { return reinterpret_cast<void**>(&p_); }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  I* p_ = nullptr;
};

}  // namespace velkor
