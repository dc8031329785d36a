// "桌面文件快速分类": tick categories, press "快速分类", see which ran.
#pragma once

#include "catalogue/catalogue_context.h"
#include "platform/secondary_window_win.h"
#include "tools/classification.h"

namespace velkor {

class ClassificationWindow : public SecondaryWindow, private DoneMarks {
 public:
  explicit ClassificationWindow(CatalogueContext& context);

 protected:
  void OnCreated() override;
  void OnCommand(int id, int code) override;

 private:
  void HideAll() override;
  void Show(size_t category) override;

  CatalogueContext& context_;
};

}  // namespace velkor
