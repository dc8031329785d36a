// Small Win32 chores with one home: window and list-view texts in UTF-8, a popup menu
// at the cursor, the walk over top-level windows and the message pump.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace velkor {

std::string WindowText(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& text);
// The text of one cell of a list view of this process, however long.
std::string ListViewText(HWND list, int item, int column = 0);

// Shows `menu` at the cursor (moved by `offset` pixels) for `owner`, which gets the
// chosen command as WM_COMMAND.
void PopUpMenuAtCursor(HWND owner, HMENU menu, int offset = 0);

// Visits every top-level window until `visit` returns false.
void ForEachTopLevelWindow(const std::function<bool(HWND)>& visit);

// Windows that want Tab, Enter and Esc handled as in a dialog say so once; the pump
// gives them the dialog keyboard handling.
void UseDialogKeys(HWND window, bool use = true);
// Hands one message on: dialog keys for the top-level window it belongs to when that
// window asked for them, otherwise translated and dispatched.
void DispatchWindowMessage(MSG& msg);
// Dispatches every pending message. False when it met WM_QUIT, which it posts again
// so that the outer loop ends too.
bool PumpPendingMessages();

}  // namespace velkor
