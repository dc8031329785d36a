// Windows are described by tables of controls (kind, id, design name, place, size,
// caption) and built by one loop. Places are designed at 96 DPI and scaled.
#pragma once

#include <windows.h>

#include <span>

namespace velkor {

enum class ControlKind { ListView, Edit, Button, CheckBox, Radio, DropList, Tab, Frame, Label, StatusBar, Picture };

// A place and size in pixels at 96 DPI.
struct Place {
  int x, y, width, height;
};

struct ControlSpec {
  ControlKind kind;
  int id;
  const char* name;  // the control's design name
  int x, y, width, height;
  const wchar_t* caption;
  DWORD extraStyle = 0;
  int frame = 0;  // id of the frame whose place this control's place is relative to
  int page = -1;  // tab page the control belongs to; -1 for every page

  // Refinements named in the table, so a row says what its extra values mean.
  constexpr ControlSpec Style(DWORD style) const {
    ControlSpec c = *this;
    c.extraStyle |= style;
    return c;
  }
  constexpr ControlSpec InFrame(int frameId) const {
    ControlSpec c = *this;
    c.frame = frameId;
    return c;
  }
  constexpr ControlSpec OnPage(int tabPage) const {
    ControlSpec c = *this;
    c.page = tabPage;
    return c;
  }
};

// One maker per kind of control, for the rows of design tables.
namespace design {
constexpr ControlSpec Make(ControlKind kind, int id, const char* name, Place p, const wchar_t* caption) {
  return {kind, id, name, p.x, p.y, p.width, p.height, caption};
}
constexpr ControlSpec ListView(int id, const char* name, Place p) {
  return Make(ControlKind::ListView, id, name, p, nullptr);
}
constexpr ControlSpec Edit(int id, const char* name, Place p, const wchar_t* text = nullptr) {
  return Make(ControlKind::Edit, id, name, p, text);
}
constexpr ControlSpec Button(int id, const char* name, Place p, const wchar_t* caption) {
  return Make(ControlKind::Button, id, name, p, caption);
}
constexpr ControlSpec CheckBox(int id, const char* name, Place p, const wchar_t* caption) {
  return Make(ControlKind::CheckBox, id, name, p, caption);
}
constexpr ControlSpec Radio(int id, const char* name, Place p, const wchar_t* caption) {
  return Make(ControlKind::Radio, id, name, p, caption);
}
constexpr ControlSpec DropList(int id, const char* name, Place p) {
  return Make(ControlKind::DropList, id, name, p, nullptr);
}
constexpr ControlSpec Tab(int id, const char* name, Place p) { return Make(ControlKind::Tab, id, name, p, nullptr); }
constexpr ControlSpec Frame(int id, const char* name, Place p, const wchar_t* caption = nullptr) {
  return Make(ControlKind::Frame, id, name, p, caption);
}
constexpr ControlSpec Label(int id, const char* name, Place p, const wchar_t* caption) {
  return Make(ControlKind::Label, id, name, p, caption);
}
constexpr ControlSpec StatusBar(int id, const char* name, Place p = {}) {
  return Make(ControlKind::StatusBar, id, name, p, nullptr);
}
constexpr ControlSpec Picture(int id, const char* name, Place p) {
  return Make(ControlKind::Picture, id, name, p, nullptr);
}
}  // namespace design

constexpr bool IdsAreUnique(std::span<const ControlSpec> controls) {
  for (size_t i = 0; i < controls.size(); ++i)
    for (size_t j = i + 1; j < controls.size(); ++j)
      if (controls[i].id == controls[j].id) return false;
  return true;
}

// A window as designed: class, title, outer size at 96 DPI and its controls, and a
// place (by default the middle of the work area). Checked when compiled: two controls
// with one id would make one of them unreachable.
struct WindowDesign {
  static constexpr int kCentred = CW_USEDEFAULT;

  consteval WindowDesign(const wchar_t* className, const wchar_t* title, int width, int height,
                         std::span<const ControlSpec> controls, int x = kCentred, int y = kCentred)
      : className(className), title(title), width(width), height(height), controls(controls), x(x), y(y) {
    if (!IdsAreUnique(controls)) throw "two controls of a window design share one id";
  }

  const wchar_t* className;
  const wchar_t* title;  // null: set by the window when it is created
  int width, height;
  std::span<const ControlSpec> controls;
  int x, y;
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

// Creates the top-level window of a design, its outer size and place scaled; `self`
// comes back with WM_NCCREATE.
HWND CreateDesignedWindow(const WindowDesign& design, DWORD style, void* self, HMENU menu = nullptr);

}  // namespace velkor
