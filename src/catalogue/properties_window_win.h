// "桌面属性": the selected profile's title, creation date and size, read once when
// the window opens.
#pragma once

#include "app/app_context.h"
#include "app/secondary_window_win.h"

namespace velkor {

class PropertiesWindow : public SecondaryWindow {
 public:
  explicit PropertiesWindow(AppContext& context);

 protected:
  void OnCreated() override;
  void OnCommand(int id, int code) override;

 private:
  AppContext& context_;
};

}  // namespace velkor
