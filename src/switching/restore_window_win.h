// "还原到系统原来的桌面": the account whose default shell folders are written back.
#pragma once

#include "catalogue/catalogue_context.h"
#include "platform/secondary_window_win.h"

namespace velkor {

enum RestoreControl : int { kIdRestoreGroup = 100, kIdRestoreAccount = 101, kIdRestoreButton = 102 };

inline constexpr wchar_t kRestoreWindowClass[] = L"VelkorRestoreWindow";

class RestoreWindow : public SecondaryWindow {
 public:
  explicit RestoreWindow(CatalogueContext& context);

 protected:
  void OnCreated() override;
  void OnCommand(int id, int code) override;

 private:
  CatalogueContext& context_;
};

}  // namespace velkor
