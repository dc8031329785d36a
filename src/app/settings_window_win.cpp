#include "app/settings_window_win.h"

#include "app/settings.h"

namespace velkor {
namespace {

enum : int { kIdGroup = 100, kIdAutoStart, kIdPassword };

using namespace design;
// clang-format off
constexpr ControlSpec kControls[] = {
    CheckBox(kIdAutoStart, "选择框1", {24, 27, 256, 24}, L"开启自动启动，默认托盘运行").InFrame(kIdGroup),
    CheckBox(kIdPassword,  "选择框2", {24, 60, 232, 16}, L"每次打开都需要进行密码认证").InFrame(kIdGroup),
    Frame(kIdGroup,        "分组框1", {0, -3, 367, 224}),
};
// clang-format on

constexpr WindowDesign kDesign{L"VelkorSettingsWindow", L"系统设置", 372, 250, kControls};

}  // namespace

SettingsWindow::SettingsWindow(PlatformOps& ops, std::string& heldPassword)
    : SecondaryWindow(kDesign), ops_(ops), heldPassword_(heldPassword) {}

void SettingsWindow::OnCommand(int id, int code) {
  if (id == kIdPassword && code == BN_CLICKED) PasswordToggled(ops_, heldPassword_, Checked(kIdPassword));
}

}  // namespace velkor
