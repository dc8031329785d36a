#include "catalogue/list_view_rows_win.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "platform/text_win.h"

namespace velkor {
namespace {

std::string TipOf(const ListViewRows& rows, int row) {
  wchar_t text[64] = L"(unchanged)";
  NMLVGETINFOTIPW request{};
  request.iItem = row;
  request.pszText = text;
  request.cchTextMax = 64;
  rows.FillInfoTip(request);
  return Narrow(text);
}

TEST(CatalogueList, HoverTipsFollowTheirRows) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", LVS_REPORT, 0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(list);
  AddCatalogueColumns(list);
  ListViewRows rows(list);
  for (const char* tip : {"first tip", "", "第三个"}) {
    CatalogueRow row;
    row.cells = {"0", "t", "---", "D:\\t", ""};
    row.tip = tip;
    rows.AppendRow(row);
  }
  EXPECT_EQ(TipOf(rows, 0), "first tip");
  EXPECT_EQ(TipOf(rows, 1), "");  // an empty tip shows none, not the row's text
  EXPECT_EQ(TipOf(rows, 2), "第三个");
  rows.DeleteRow(0);
  EXPECT_EQ(rows.Row(0).tip, "");
  EXPECT_EQ(rows.Row(1).tip, "第三个");
  EXPECT_EQ(TipOf(rows, 1), "第三个");
  rows.Clear();
  EXPECT_EQ(TipOf(rows, 0), "");
  DestroyWindow(list);
}

}  // namespace
}  // namespace velkor
