// "桌面属性": the selected profile's title, creation date and size, read once when
// the window opens.
#pragma once

#include "catalogue/catalogue_context.h"
#include "platform/secondary_window_win.h"

namespace velkor {

class PropertiesWindow : public SecondaryWindow {
 public:
  explicit PropertiesWindow(CatalogueContext& context);

 protected:
  void OnCreated() override;
  void OnCommand(int id, int code) override;

 private:
  CatalogueContext& context_;
};

}  // namespace velkor
