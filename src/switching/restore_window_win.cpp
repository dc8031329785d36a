#include "switching/restore_window_win.h"

#include "platform/text_win.h"
#include "switching/restore.h"

namespace velkor {

void RestoreWindow::OnCreated() {
  // The logon name replaces the designed text; it is empty when it cannot be read.
  SetText(kIdRestoreAccount, context_.ops.LogonName());
  SetWindowTextW(Handle(), Widen(RestoreWindowTitle(OsGenerationOf(context_.ops.Version()))).c_str());
}

void RestoreWindow::OnCommand(int id, int code) {
  if (id == kIdRestoreButton && code == BN_CLICKED)
    RestoreOriginalFolders(context_.ops, context_.rows, Text(kIdRestoreAccount), context_.paths);
}

}  // namespace velkor
