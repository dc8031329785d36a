// "还原到系统原来的桌面": the account whose default shell folders are written back.
#pragma once

#include "catalogue/catalogue_context.h"
#include "platform/secondary_window_win.h"

namespace velkor {

enum RestoreControl : int { kIdRestoreGroup = 100, kIdRestoreAccount = 101, kIdRestoreButton = 102 };

// clang-format off
inline constexpr ControlSpec kRestoreDesign[] = {
    {ControlKind::Frame, kIdRestoreGroup, "分组框1", 0, 3, 304, 112, L"键入当前登录账户"},
    {ControlKind::Edit, kIdRestoreAccount, "编辑框1", 49, 37, 200, 32, L"Administrator", 0, kIdRestoreGroup},
    {ControlKind::Button, kIdRestoreButton, "按钮1", 76, 75, 148, 31, L"立即还原", 0, kIdRestoreGroup},
};
// clang-format on

inline constexpr wchar_t kRestoreWindowClass[] = L"VelkorRestoreWindow";

class RestoreWindow : public SecondaryWindow {
 public:
  explicit RestoreWindow(CatalogueContext& context)
      : SecondaryWindow({kRestoreWindowClass, L"还原到系统原来的桌面", 306, 144, kRestoreDesign}), context_(context) {}

 protected:
  void OnCreated() override;
  void OnCommand(int id, int code) override;

 private:
  CatalogueContext& context_;
};

}  // namespace velkor
