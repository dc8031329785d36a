#include "switching/restore_window_win.h"

#include "platform/text_win.h"
#include "switching/restore.h"

namespace velkor {
namespace {

using namespace design;
// clang-format off
constexpr ControlSpec kControls[] = {
    Frame(kIdRestoreGroup,    "分组框1", {0, 3, 304, 112}, L"键入当前登录账户"),
    Edit(kIdRestoreAccount,   "编辑框1", {49, 37, 200, 32}, L"Administrator").InFrame(kIdRestoreGroup),
    Button(kIdRestoreButton,  "按钮1",   {76, 75, 148, 31}, L"立即还原").InFrame(kIdRestoreGroup),
};
// clang-format on

constexpr WindowDesign kDesign{kRestoreWindowClass, L"还原到系统原来的桌面", 306, 144, kControls};

}  // namespace

RestoreWindow::RestoreWindow(CatalogueContext& context) : SecondaryWindow(kDesign), context_(context) {}

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
