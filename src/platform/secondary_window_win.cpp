#include "platform/secondary_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/later_windows_win.h"
#include "platform/text_win.h"
#include "platform/win_util_win.h"

namespace velkor {

SecondaryWindow::~SecondaryWindow() {
  if (window_) DestroyWindow(window_);
}

void SecondaryWindow::OpenOnce() {
  if (window_) {
    if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    return;
  }
  RegisterWindowClass(design_.className, RoutedWindowProc<SecondaryWindow>);
  CreateDesignedWindow(design_, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, this);
  if (!window_) return;
  UseDialogKeys(window_);
  font_.reset(CreateMessageFont(Dpi()));
  CreateControls(window_, design_.controls, font_.get());
  for (const ControlSpec& item : design_.controls)
    if (item.kind == ControlKind::Edit)
      SetWindowSubclass(Control(item.id), EditProc, 0, reinterpret_cast<DWORD_PTR>(this));
  OnCreated();
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
}

void SecondaryWindow::Close() {
  if (window_) SendMessageW(window_, WM_CLOSE, 0, 0);
}

std::string SecondaryWindow::Text(int id) const { return WindowText(Control(id)); }

void SecondaryWindow::SetText(int id, const std::string& text) const { SetWindowTextUtf8(Control(id), text); }

bool SecondaryWindow::Checked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SecondaryWindow::SetChecked(int id, bool checked) const {
  SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Edit boxes report Enter to their window themselves, so the window knows which box
// it was pressed in.
LRESULT CALLBACK SecondaryWindow::EditProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  switch (msg) {
    case WM_GETDLGCODE:
      if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN &&
          reinterpret_cast<const MSG*>(lp)->wParam == VK_RETURN)
        return DLGC_WANTALLKEYS;
      break;
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        reinterpret_cast<SecondaryWindow*>(self)->OnEnter(GetDlgCtrlID(edit));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == '\r') return 0;
      break;
    case WM_NCDESTROY: RemoveWindowSubclass(edit, EditProc, 0); break;
  }
  return DefSubclassProc(edit, msg, wp, lp);
}

bool SecondaryWindow::HasTab() const {
  return std::any_of(design_.controls.begin(), design_.controls.end(),
                     [](const ControlSpec& s) { return s.kind == ControlKind::Tab; });
}

// Labels are transparent; on a window whose pages sit on a tab control, check boxes
// and labels take the tab's window colour instead of the dialog colour.
LRESULT SecondaryWindow::ColorStatic(HDC dc, HWND control) {
  const bool onTab = HasTab();
  wchar_t cls[16] = L"";
  GetClassNameW(control, cls, 16);
  const bool label = _wcsicmp(cls, L"Static") == 0 && IsWindowEnabled(control);
  if (label) SetBkMode(dc, TRANSPARENT);
  if (onTab) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

LRESULT SecondaryWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  switch (msg) {
    case WM_COMMAND:
      // Esc comes as IDCANCEL from the dialog keyboard handling.
      if (LOWORD(wp) == IDCANCEL) {
        OnEscape();
        return 0;
      }
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_CLOSE:
      if (CanClose()) DestroyWindow(window_);
      return 0;
    case WM_DPICHANGED:
      FollowDpiChange(window_, lp);
      font_.reset(CreateMessageFont(Dpi()));
      LayoutControls(window_, design_.controls, font_.get());
      return 0;
    case WM_NCDESTROY: {
      HWND window = window_;
      window_ = nullptr;
      font_.reset();
      UseDialogKeys(window, false);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      OnDestroyed();
      return DefWindowProcW(window, msg, wp, lp);
    }
  }
  if (OnMessage(msg, wp, lp, result)) return result;
  if (msg == WM_CTLCOLORSTATIC) return ColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
  if (msg == WM_ERASEBKGND && HasTab()) {
    // Frames on a tab page draw their parent's background: make it the page's colour.
    RECT client;
    GetClientRect(window_, &client);
    FillRect(reinterpret_cast<HDC>(wp), &client, GetSysColorBrush(COLOR_WINDOW));
    return 1;
  }
  return DefWindowProcW(window_, msg, wp, lp);
}

}  // namespace velkor
