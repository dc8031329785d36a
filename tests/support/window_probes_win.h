// What the Windows-layer tests read and do to windows of their own process: menu
// captions, counts of windows, and keys pressed as the program's message loop hands
// them over.
#pragma once

#include <windows.h>

#include <string>

#include "platform/text_win.h"

namespace velkor::test {

// The captions of a menu's items, "-" for separators, with "[...]" after a submenu.
inline std::string MenuCaptions(HMENU menu) {
  std::string out;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    wchar_t text[64] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 64;
    GetMenuItemInfoW(menu, i, TRUE, &info);
    const std::string caption = (info.fType & MFT_SEPARATOR) ? "-" : Narrow(text);
    if (!out.empty()) out.push_back(' ');
    out.append(caption);
    if (info.hSubMenu) out.append("[").append(MenuCaptions(info.hSubMenu)).append("]");
  }
  return out;
}

// How many top-level windows of class `cls` there are.
inline int CountWindows(const wchar_t* cls) {
  int n = 0;
  for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w; w = FindWindowExW(nullptr, w, cls, nullptr)) ++n;
  return n;
}

// Presses a key with the focus on `target`, as the program's message loop hands it over.
inline void PressKey(HWND window, HWND target, WPARAM key) {
  SetFocus(target);
  MSG msg{target, WM_KEYDOWN, key, 0, 0, {}};
  if (!IsDialogMessageW(window, &msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&m);
}

}  // namespace velkor::test
