#include "catalogue/list_view_rows_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/text_win.h"
#include "platform/win_util_win.h"
#include "platform/window_design_win.h"

namespace velkor {
namespace {

struct ColumnDesign {
  const wchar_t* heading;
  int width;
  int format;
};

// clang-format off
constexpr ColumnDesign kColumns[kColumnCount] = {
    {L"序", 30, LVCFMT_LEFT},
    {L"桌面标题", 150, LVCFMT_CENTER},
    {L"占用空间", 60, LVCFMT_CENTER},
    {L"桌面路径", 150, LVCFMT_CENTER},
    {L"运行状态", 90, LVCFMT_CENTER},
};
// clang-format on

}  // namespace

void ScaleCatalogueColumns(HWND list, UINT dpi) {
  for (int c = 0; c < kColumnCount; ++c) ListView_SetColumnWidth(list, c, Scale(kColumns[c].width, dpi));
}

void AddCatalogueColumns(HWND list) {
  for (int c = 0; c < kColumnCount; ++c) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    col.pszText = const_cast<wchar_t*>(kColumns[c].heading);
    col.fmt = kColumns[c].format;
    col.iSubItem = c;
    ListView_InsertColumn(list, c, &col);
  }
}

int ListViewRows::RowCount() const { return ListView_GetItemCount(list_); }

int ListViewRows::ColumnCount() const { return Header_GetItemCount(ListView_GetHeader(list_)); }

std::string ListViewRows::Cell(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return {};
  return ListViewText(list_, row, column);
}

void ListViewRows::SetCell(int row, int column, const std::string& text) {
  if (row < 0 || row >= RowCount()) return;
  std::wstring wide = Widen(text);
  ListView_SetItemText(list_, row, column, wide.data());
}

CatalogueRow ListViewRows::Row(int row) const {
  CatalogueRow out;
  for (int c = 0, n = ColumnCount(); c < n; ++c) out.cells.push_back(Cell(row, c));
  LVITEMW item{};
  item.mask = LVIF_PARAM | LVIF_INDENT;
  item.iItem = row;
  if (ListView_GetItem(list_, &item)) {
    out.itemValue = static_cast<int32_t>(item.lParam);
    out.indent = item.iIndent;
  }
  if (row >= 0 && static_cast<size_t>(row) < tips_.size()) out.tip = Narrow(tips_[row]);
  return out;
}

int ListViewRows::AppendRow(const CatalogueRow& row) {
  std::wstring first = Widen(row.cells.empty() ? std::string() : row.cells[0]);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_INDENT;
  item.iItem = RowCount();
  item.pszText = first.data();
  item.lParam = row.itemValue;
  item.iIndent = row.indent;
  const int index = ListView_InsertItem(list_, &item);
  if (index < 0) return index;
  tips_.insert(tips_.begin() + std::min<size_t>(index, tips_.size()), Widen(row.tip));
  for (size_t c = 1; c < row.cells.size(); ++c) SetCell(index, static_cast<int>(c), row.cells[c]);
  return index;
}

void ListViewRows::DeleteRow(int row) {
  if (ListView_DeleteItem(list_, row) && row >= 0 && static_cast<size_t>(row) < tips_.size())
    tips_.erase(tips_.begin() + row);
}

void ListViewRows::Clear() {
  ListView_DeleteAllItems(list_);
  tips_.clear();
}

void ListViewRows::FillInfoTip(NMLVGETINFOTIPW& request) const {
  if (!request.pszText || request.cchTextMax <= 0) return;
  // An empty tip shows none, not the row's own text.
  const std::wstring tip =
      request.iItem >= 0 && static_cast<size_t>(request.iItem) < tips_.size() ? tips_[request.iItem] : std::wstring();
  const size_t n = std::min(tip.size(), static_cast<size_t>(request.cchTextMax - 1));
  tip.copy(request.pszText, n);
  request.pszText[n] = L'\0';
}

int ListViewRows::Selected() const { return ListView_GetNextItem(list_, -1, LVNI_SELECTED); }

}  // namespace velkor
