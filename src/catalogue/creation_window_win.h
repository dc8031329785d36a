// "创建新桌面": a title, or on the second page a custom path and the optional folders.
#pragma once

#include "catalogue/catalogue_context.h"
#include "platform/secondary_window_win.h"

namespace velkor {

class CreationWindow : public SecondaryWindow {
 public:
  explicit CreationWindow(CatalogueContext& context);

 protected:
  void OnCreated() override;
  void OnCommand(int id, int code) override;
  void OnEnter(int id) override;
  void OnEscape() override;

 private:
  void Create(bool askAboutDuplicates);

  CatalogueContext& context_;
};

}  // namespace velkor
