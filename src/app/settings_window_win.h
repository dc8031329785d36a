// "系统设置": the password option (kept in memory only) and the inert auto-start box.
#pragma once

#include <string>

#include "platform/platform_ops.h"
#include "platform/secondary_window_win.h"

namespace velkor {

class SettingsWindow : public SecondaryWindow {
 public:
  SettingsWindow(PlatformOps& ops, std::string& heldPassword);

 protected:
  void OnCommand(int id, int code) override;

 private:
  PlatformOps& ops_;
  std::string& heldPassword_;  // the password lives in memory only, for the whole run
};

}  // namespace velkor
