#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "memory_rows.h"
#include "platform/text_win.h"
#include "tools/search_window_win.h"
#include "win_fixtures_win.h"

namespace velkor {
namespace {

using Names = std::vector<std::string>;
using test::WriteFileW;

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::string StatusText(HWND window, int part) {
  HWND status = GetDlgItem(window, kIdStatus);
  std::wstring text(LOWORD(SendMessageW(status, SB_GETTEXTLENGTHW, part, 0)) + 1, L'\0');
  SendMessageW(status, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
  return Narrow(text.c_str());
}

Names ResultRows(HWND window) {
  HWND list = GetDlgItem(window, kIdResults);
  Names rows;
  for (int i = 0, n = ListView_GetItemCount(list); i < n; ++i) {
    wchar_t text[1024] = L"";
    ListView_GetItemText(list, i, 0, text, 1024);
    rows.push_back(Narrow(text));
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::string ControlText(HWND window, int id) {
  wchar_t text[1024] = L"";
  GetDlgItemTextW(window, id, text, 1024);
  return Narrow(text);
}

bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; }
bool Checked(HWND window, int id) { return SendDlgItemMessageW(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Click(HWND window, int id) { SendDlgItemMessageW(window, id, BM_CLICK, 0, 0); }
void SetTextOf(HWND window, int id, const std::string& text) { SetDlgItemTextW(window, id, Widen(text).c_str()); }

// The background a pattern box would paint with.
COLORREF Background(HWND window, int id) {
  HWND box = GetDlgItem(window, id);
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(window, IsWindowEnabled(box) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(box));
  const COLORREF color = GetBkColor(dc);
  DeleteDC(dc);
  return color;
}

void SelectResult(HWND window, int row) {
  HWND list = GetDlgItem(window, kIdResults);
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  if (row >= 0) ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void DoubleClickResults(HWND window) {
  NMITEMACTIVATE activate{};
  activate.hdr.hwndFrom = GetDlgItem(window, kIdResults);
  activate.hdr.idFrom = kIdResults;
  activate.hdr.code = NM_DBLCLK;
  activate.iItem = -1;
  SendMessageW(window, WM_NOTIFY, kIdResults, reinterpret_cast<LPARAM>(&activate));
}

class SearchWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc{sizeof(icc),
                             ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
  void SetUp() override {
    rows.AddTexts({"0", "其他", "1 MB", "C:\\other", "-"});
    rows.AddTexts({"1", "工作", "1 MB", dir.utf8(), "-"});
    rows.Select(1);
  }
  HWND Open() {
    window.OpenOnce();
    return window.Handle();
  }

  test::TempDir dir;
  test::FakePlatform ops;
  test::MemoryRows rows;
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
  SearchWindow window{context};
};

TEST_F(SearchWindowTest, OpensAsDesignedWithTheSelectedDesktopPath) {
  HWND w = Open();
  ASSERT_TRUE(w);
  wchar_t title[64];
  GetWindowTextW(w, title, 64);
  EXPECT_STREQ(title, L"搜索窗口");
  EXPECT_EQ(ControlText(w, kIdSearchDir), dir.utf8());
  EXPECT_EQ(StatusText(w, 0), "  请先选择需要查找的目录，进行相应设置后点击查找按钮。");
  EXPECT_TRUE(Enabled(w, kIdFind));
  EXPECT_FALSE(Enabled(w, kIdStop));
  EXPECT_TRUE(Checked(w, kIdTextMode));
  EXPECT_FALSE(Checked(w, kIdHexMode));
  EXPECT_TRUE(Checked(w, kIdSubdirs));
  EXPECT_TRUE(Enabled(w, kIdTextPattern));
  EXPECT_FALSE(Enabled(w, kIdHexPattern));
  EXPECT_EQ(Background(w, kIdTextPattern), RGB(255, 255, 255));
  EXPECT_EQ(Background(w, kIdHexPattern), RGB(236, 236, 236));
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(REALTIME_PRIORITY_CLASS));

  for (auto [id, items, selected] : {std::tuple{kIdThreads, Names{"1", "2", "5", "10", "20"}, "5"},
                                     std::tuple{kIdChunk, Names{"256K", "512k", "1M", "2M", "10M", "1K"}, "256K"}}) {
    HWND box = GetDlgItem(w, id);
    Names texts;
    for (int i = 0, n = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0)); i < n; ++i) {
      wchar_t text[16] = L"";
      SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      texts.push_back(Narrow(text));
    }
    EXPECT_EQ(texts, items);
    EXPECT_EQ(texts.at(SendMessageW(box, CB_GETCURSEL, 0, 0)), selected);
  }
  HWND list = GetDlgItem(w, kIdResults);
  EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
  EXPECT_EQ(ListView_GetExtendedListViewStyle(list) & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES), 0u);

  // The pattern kinds swap which box is enabled and white; each box keeps its text.
  SetTextOf(w, kIdTextPattern, "kept");
  Click(w, kIdHexMode);
  EXPECT_EQ(StatusText(w, 0), "  请在查找内容-16进制之后输入你需要查找的内容");
  EXPECT_FALSE(Enabled(w, kIdTextPattern));
  EXPECT_TRUE(Enabled(w, kIdHexPattern));
  EXPECT_EQ(Background(w, kIdTextPattern), RGB(236, 236, 236));
  EXPECT_EQ(Background(w, kIdHexPattern), RGB(255, 255, 255));
  Click(w, kIdTextMode);
  EXPECT_EQ(StatusText(w, 0), "  请在查找内容-文本之后输入你需要查找的内容");
  EXPECT_TRUE(Enabled(w, kIdTextPattern));
  EXPECT_EQ(Background(w, kIdTextPattern), RGB(255, 255, 255));
  EXPECT_EQ(ControlText(w, kIdTextPattern), "kept");

  // The result list's pop-up menu.
  HMENU menu = BuildResultMenu();
  Names items;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    wchar_t text[64] = L"";
    GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
    items.push_back(text[0] ? Narrow(text) + "=" + std::to_string(GetMenuItemID(menu, i)) : "-");
  }
  DestroyMenu(menu);
  EXPECT_EQ(items, (Names{"默认方式打开=" + std::to_string(kIdOpenResult), "-",
                          "默认编辑器打开=" + std::to_string(kIdEditResult), "-",
                          "浏览所在文件夹=" + std::to_string(kIdExploreResult)}));
}

TEST_F(SearchWindowTest, SearchesAndActsOnTheFilesFound) {
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  WriteFileW(dir / L"a.txt", "with a needle inside");
  WriteFileW(dir / L"sub\\b.txt", "needle");
  WriteFileW(dir / L"sub\\c.txt", "NEEDLE");
  WriteFileW(dir / L"locked.txt", "needle");
  const std::string root = dir.utf8() + "\\";
  HWND w = Open();
  {
    // Held open by someone who shares nothing: passed over.
    UniqueFile locked(CreateFileW((dir / L"locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    SetTextOf(w, kIdTextPattern, "needle");
    Click(w, kIdFind);
    Pump();
  }
  EXPECT_EQ(ResultRows(w), (Names{"a.txt", "sub\\b.txt"}));
  EXPECT_TRUE(StatusText(w, 0).starts_with("  搜索完毕，总耗时")) << StatusText(w, 0);
  EXPECT_TRUE(StatusText(w, 0).ends_with("毫秒。找到文件总数2")) << StatusText(w, 0);
  EXPECT_EQ(StatusText(w, 1), "4");
  EXPECT_TRUE(Enabled(w, kIdFind));
  EXPECT_FALSE(Enabled(w, kIdStop));

  // Nothing selected: the menu items do nothing, the double click shows the directory.
  SelectResult(w, -1);
  for (int id : {kIdOpenResult, kIdEditResult, kIdExploreResult}) SendMessageW(w, WM_COMMAND, id, 0);
  DoubleClickResults(w);
  EXPECT_TRUE(ops.shellOpens.empty());
  EXPECT_EQ(ops.startedProcesses, Names{"\"C:\\Windows\\explorer.exe\" /n,/select,\"" + root + "\""});

  SelectResult(w, 1);  // sub\b.txt
  for (int id : {kIdOpenResult, kIdEditResult, kIdExploreResult}) SendMessageW(w, WM_COMMAND, id, 0);
  DoubleClickResults(w);
  EXPECT_EQ(ops.shellOpens,
            (Names{"|" + root + "sub\\b.txt", "edit|" + root + "sub\\b.txt", "explore|" + root + "sub\\"}));
  EXPECT_EQ(ops.startedProcesses.back(), "\"C:\\Windows\\explorer.exe\" /n,/select,\"" + root + "sub\\b.txt\"");

  // A flat walk with a hexadecimal pattern shows bare names.
  Click(w, kIdHexMode);
  SetTextOf(w, kIdHexPattern, "6e65656446");  // "needF": nowhere
  SendDlgItemMessageW(w, kIdSubdirs, BM_SETCHECK, BST_UNCHECKED, 0);
  Click(w, kIdFind);
  Pump();
  EXPECT_EQ(ResultRows(w), Names{});
  SetTextOf(w, kIdHexPattern, "6E6565646C65");
  Click(w, kIdFind);
  Pump();
  EXPECT_EQ(ResultRows(w), (Names{"a.txt", "locked.txt"}));
  EXPECT_TRUE(StatusText(w, 0).ends_with("找到文件总数2")) << StatusText(w, 0);

  // A directory chosen afterwards joins the old rows; a cancelled choice leaves the box.
  ops.browseAnswer = "D:\\elsewhere";
  Click(w, kIdBrowse);
  EXPECT_EQ(ControlText(w, kIdSearchDir), "D:\\elsewhere");
  EXPECT_EQ(StatusText(w, 0), "D:\\elsewhere\\");
  SelectResult(w, 0);
  SendMessageW(w, WM_COMMAND, kIdOpenResult, 0);
  EXPECT_EQ(ops.shellOpens.back(), "|D:\\elsewhere\\a.txt");
  ops.browseAnswer = "";
  Click(w, kIdBrowse);
  EXPECT_EQ(ControlText(w, kIdSearchDir), "D:\\elsewhere");
  EXPECT_EQ(StatusText(w, 0), "\\");
}

TEST_F(SearchWindowTest, RefusesPatternsItCannotSearchFor) {
  WriteFileW(dir / L"a.txt", "needle");
  HWND w = Open();
  SetTextOf(w, kIdTextPattern, std::string("needle") + test::kUnrepresentable);
  Click(w, kIdFind);
  Click(w, kIdHexMode);
  SetTextOf(w, kIdHexPattern, "6E 65");
  Click(w, kIdFind);
  Pump();
  EXPECT_EQ(ops.messages, (Names{kTextRefused, kHexRefused}));
  EXPECT_EQ(StatusText(w, 0), "  请在查找内容-16进制之后输入你需要查找的内容");  // no search ran
  EXPECT_EQ(ResultRows(w), Names{});

  // An empty pattern searches and finds nothing.
  SetTextOf(w, kIdHexPattern, "6");
  Click(w, kIdFind);
  Pump();
  EXPECT_TRUE(StatusText(w, 0).ends_with("找到文件总数0")) << StatusText(w, 0);
}

TEST_F(SearchWindowTest, ClosingDuringASearchStopsItFirst) {
  for (int i = 0; i < 50; ++i) WriteFileW(dir / (L"f" + std::to_wstring(i)), "needle");
  HWND w = Open();
  SetTextOf(w, kIdTextPattern, "needle");
  SendDlgItemMessageW(w, kIdThreads, CB_SETCURSEL, 0, 0);  // one worker
  // The close arrives while the search processes window events.
  PostMessageW(w, WM_CLOSE, 0, 0);
  Click(w, kIdFind);
  EXPECT_FALSE(window.IsOpen());
  Pump();

  // Opened again, it starts afresh.
  w = Open();
  ASSERT_TRUE(w);
  EXPECT_EQ(ResultRows(w), Names{});
  EXPECT_TRUE(Enabled(w, kIdFind));
  EXPECT_FALSE(Enabled(w, kIdStop));
  window.Close();
}

}  // namespace
}  // namespace velkor
