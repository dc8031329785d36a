// One owner template for every kind of system handle, and a minimal COM pointer.
#pragma once

#include <windows.h>
#include <objbase.h>

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
template <typename T>
void DeleteGdiObject(T o) {
  ::DeleteObject(o);
}
inline void DestroyIconHandle(HICON i) { ::DestroyIcon(i); }
inline void DestroyMenuHandle(HMENU m) { ::DestroyMenu(m); }
inline void DeleteMemoryDc(HDC dc) { ::DeleteDC(dc); }
inline void CloseModule(HMODULE m) { ::FreeLibrary(m); }
inline void FreeLocal(HLOCAL m) { ::LocalFree(m); }
inline void FreeSidHandle(PSID s) { ::FreeSid(s); }

template <typename T>
T NullHandle() {
  return nullptr;
}
inline HANDLE InvalidHandle() { return INVALID_HANDLE_VALUE; }

using UniqueHandle = Unique<HANDLE, CloseKernelHandle, NullHandle<HANDLE>>;
using UniqueFile = Unique<HANDLE, CloseKernelHandle, InvalidHandle>;
using UniqueFind = Unique<HANDLE, CloseFind, InvalidHandle>;
using UniqueKey = Unique<HKEY, CloseKey, NullHandle<HKEY>>;
using UniqueFont = Unique<HFONT, DeleteGdiObject<HFONT>, NullHandle<HFONT>>;
using UniqueBrush = Unique<HBRUSH, DeleteGdiObject<HBRUSH>, NullHandle<HBRUSH>>;
using UniqueBitmap = Unique<HBITMAP, DeleteGdiObject<HBITMAP>, NullHandle<HBITMAP>>;
using UniqueIcon = Unique<HICON, DestroyIconHandle, NullHandle<HICON>>;
using UniqueMenu = Unique<HMENU, DestroyMenuHandle, NullHandle<HMENU>>;
using UniqueDc = Unique<HDC, DeleteMemoryDc, NullHandle<HDC>>;  // from CreateCompatibleDC
using UniqueModule = Unique<HMODULE, CloseModule, NullHandle<HMODULE>>;
using UniqueLocal = Unique<HLOCAL, FreeLocal, NullHandle<HLOCAL>>;  // LocalAlloc and the APIs that use it
using UniqueSid = Unique<PSID, FreeSidHandle, NullHandle<PSID>>;    // AllocateAndInitializeSid

// A window's (or the screen's, for null) device context, released at scope end.
class WindowDc {
 public:
  explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context; the previous one is selected back at
// scope end, before the object itself may be deleted.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// COM on this thread for the object's lifetime; uninitialised only if it succeeded.
class ComInit {
 public:
  explicit ComInit(DWORD model = COINIT_APARTMENTTHREADED) : ok_(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
  ~ComInit() {
    if (ok_) CoUninitialize();
  }
  ComInit(const ComInit&) = delete;
  ComInit& operator=(const ComInit&) = delete;

 private:
  bool ok_;
};

// Memory the shell or COM hands out (CoTaskMemAlloc), freed at scope end.
template <typename T>
class TaskMem {
 public:
  explicit TaskMem(T* p = nullptr) : p_(p) {}
  ~TaskMem() { CoTaskMemFree(p_); }
  TaskMem(const TaskMem&) = delete;
  TaskMem& operator=(const TaskMem&) = delete;
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_;
};

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
