// The main list view seen as catalogue rows: the list is the catalogue.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "catalogue/row_list.h"

namespace velkor {

class ListViewRows : public RowList {
 public:
  explicit ListViewRows(HWND list = nullptr) : list_(list) {}
  void Attach(HWND list) { list_ = list; }
  HWND Handle() const { return list_; }

  int RowCount() const override;
  int ColumnCount() const override;
  std::string Cell(int row, int column) const override;
  void SetCell(int row, int column, const std::string& text) override;
  CatalogueRow Row(int row) const override;
  int AppendRow(const CatalogueRow& row) override;
  void DeleteRow(int row) override;
  void Clear() override;
  int Selected() const override;

  // Answers the list's question for a row's hover tip (the list needs LVS_EX_INFOTIP).
  void FillInfoTip(NMLVGETINFOTIPW& request) const;

 private:
  HWND list_;
  // The rows' hover tips, by row. The list view keeps no tip text of its own; every
  // row enters through AppendRow and leaves through DeleteRow or Clear.
  std::vector<std::wstring> tips_;
};

// The main list's columns: heading and alignment; their designed widths, scaled.
void AddCatalogueColumns(HWND list);
void ScaleCatalogueColumns(HWND list, UINT dpi);

}  // namespace velkor
