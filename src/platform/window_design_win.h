// Windows are described by tables of controls (kind, id, design name, place, size,
// caption) and built by one loop. Places are designed at 96 DPI and scaled.
#pragma once

#include <windows.h>

#include <span>

namespace velkor {

enum class ControlKind { ListView, Edit, Button, CheckBox, Radio, DropList, Tab, Frame, Label, StatusBar, Picture };

struct ControlSpec {
  ControlKind kind;
  int id;
  const char* name;  // the control's design name
  int x, y, width, height;
  const wchar_t* caption;
  DWORD extraStyle = 0;
  int frame = 0;  // id of the frame whose place this control's place is relative to
  int page = -1;  // tab page the control belongs to; -1 for every page
};

UINT WindowDpi(HWND window);
int Scale(int designPixels, UINT dpi);

// The system's message font at the window's DPI. Owned by the caller.
HFONT CreateMessageFont(UINT dpi);

// Creates every control of the table as a child of `window`, in table order (which
// is also the Tab order), with `font`.
void CreateControls(HWND window, std::span<const ControlSpec> design, HFONT font);

// Places every control of the table again, for the window's current DPI, with `font`.
void LayoutControls(HWND window, std::span<const ControlSpec> design, HFONT font);
// Moves the window to the rectangle a WM_DPICHANGED message suggests.
void FollowDpiChange(HWND window, LPARAM suggested);

// Shows the controls of `page` and hides the others that belong to a page.
void ShowPage(HWND window, std::span<const ControlSpec> design, int page);

// The wait cursor while work blocks the window thread.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

// The window procedure of a class T that owns its window: the object passed to
// CreateWindow comes back on WM_NCCREATE, is kept with the window, and gets every
// message through T::Handle. T makes this a friend and has a member window_.
template <typename T>
LRESULT CALLBACK RoutedWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->Handle(msg, wp, lp) : DefWindowProcW(window, msg, wp, lp);
}

// Registers a window class once; `proc` receives every message.
void RegisterWindowClass(const wchar_t* className, WNDPROC proc);

// Creates a top-level window whose outer size is the designed size, scaled; at the
// designed place, or centred on the work area for CW_USEDEFAULT.
HWND CreateDesignedWindow(const wchar_t* className, const wchar_t* title, DWORD style, int x, int y, int width,
                          int height, void* self, HMENU menu = nullptr);

}  // namespace velkor
