// "系统设置": the password option (kept in memory only) and the inert auto-start box.
#pragma once

#include "app/app_context.h"
#include "app/secondary_window_win.h"

namespace velkor {

class SettingsWindow : public SecondaryWindow {
 public:
  explicit SettingsWindow(AppContext& context);

 protected:
  void OnCommand(int id, int code) override;

 private:
  AppContext& context_;
};

}  // namespace velkor
