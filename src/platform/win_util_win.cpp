#include "platform/win_util_win.h"

#include <commctrl.h>

#include "platform/text_win.h"

namespace velkor {
namespace {

constexpr wchar_t kDialogKeysProperty[] = L"VelkorDialogKeys";

BOOL CALLBACK VisitWindow(HWND window, LPARAM visit) {
  return (*reinterpret_cast<const std::function<bool(HWND)>*>(visit))(window) ? TRUE : FALSE;
}

}  // namespace

std::string WindowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return Narrow(text);
}

void SetWindowTextUtf8(HWND window, const std::string& text) { SetWindowTextW(window, Widen(text).c_str()); }

std::string ListViewText(HWND list, int item, int column) {
  // The list answers with the length it copied; a full buffer may mean a longer text.
  std::wstring text(260, L'\0');
  for (;;) {
    LVITEMW lv{};
    lv.iSubItem = column;
    lv.pszText = text.data();
    lv.cchTextMax = static_cast<int>(text.size());
    const int n = static_cast<int>(SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lv)));
    if (n < static_cast<int>(text.size()) - 1) {
      text.resize(n);
      return Narrow(text);
    }
    text.resize(text.size() * 2);
  }
}

void PopUpMenuAtCursor(HWND owner, HMENU menu, int offset) {
  POINT at;
  GetCursorPos(&at);
  SetForegroundWindow(owner);  // so the menu closes when the user clicks elsewhere
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x + offset, at.y + offset, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
}

void ForEachTopLevelWindow(const std::function<bool(HWND)>& visit) {
  EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

void UseDialogKeys(HWND window, bool use) {
  if (use)
    SetPropW(window, kDialogKeysProperty, reinterpret_cast<HANDLE>(1));
  else
    RemovePropW(window, kDialogKeysProperty);
}

void DispatchWindowMessage(MSG& msg) {
  HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (top && GetPropW(top, kDialogKeysProperty) && IsDialogMessageW(top, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool PumpPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    DispatchWindowMessage(msg);
  }
  return true;
}

}  // namespace velkor
