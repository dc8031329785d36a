// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "tools/search_window_win.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "memory_rows.h"
#include "platform/handles_win.h"
#include "platform/proc_address_win.h"
#include "platform/text_win.h"
#include "platform/win_util_win.h"
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

// Whether the text of a status part fits inside the part, in the status bar's font.
bool StatusPartFits(HWND window, int part) {
  HWND status = GetDlgItem(window, kIdStatus);
  const std::wstring text = Widen(StatusText(window, part));
  RECT r;
  SendMessageW(status, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r));
  HDC dc = GetDC(status);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(status, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(status, dc);
  RECT window_rect;
  GetWindowRect(status, &window_rect);
  return size.cx + 4 <= r.right - r.left && r.right <= window_rect.right - window_rect.left;
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
  const UniqueDc dc(CreateCompatibleDC(nullptr));
  SendMessageW(window, IsWindowEnabled(box) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
               reinterpret_cast<LPARAM>(box));
  return GetBkColor(dc.get());
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

// Starts a Unix program of the machine under Wine (Wine runs ELF programs by their Z:
// path). Its handle cannot be waited for: callers poll for what it makes.
bool StartUnix(std::wstring command) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  return true;
}

bool PollFor(const std::function<bool()>& done) {
  for (int i = 0; i < 500; ++i, Sleep(10))
    if (done()) return true;
  return false;
}

std::wstring UnixName(const std::wstring& path) {
  using UnixNameFn = char*(CDECL*)(const wchar_t*);
  auto unixName = ProcAddress<UnixNameFn>(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
  char* name = unixName ? unixName(path.c_str()) : nullptr;
  std::wstring out = name ? Widen(name) : std::wstring();
  if (name) HeapFree(GetProcessHeap(), 0, name);
  return out;
}

// Folder links made as Unix symbolic links (Wine 8 cannot make Windows ones; it shows
// these as directory reparse points), removed again at the end.
class UnixLinks {
 public:
  ~UnixLinks() {
    for (const auto& [unixLink, link] : links_) {
      StartUnix(L"Z:\\bin\\rm -f \"" + unixLink + L"\"");
      PollFor([&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
    }
  }
  bool Make(const std::wstring& target, const std::wstring& link) {
    // Only an existing path has a Unix name: take the parent's.
    const size_t slash = link.rfind(L'\\');
    const std::wstring parent = UnixName(link.substr(0, slash));
    if (parent.empty()) return false;
    const std::wstring unixLink = parent + L"/" + link.substr(slash + 1);
    if (!StartUnix(L"Z:\\bin\\ln -s \"" + UnixName(target) + L"\" \"" + unixLink + L"\"")) return false;
    links_.emplace_back(unixLink, link);
    return PollFor([&] {
      const DWORD attributes = GetFileAttributesW(link.c_str());
      return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    });
  }

 private:
  std::vector<std::pair<std::wstring, std::wstring>> links_;  // Unix name, Windows name
};

// A window of the test's own that notes the process priority class when the search,
// processing window events, delivers the message posted to it.
class PriorityProbe {
 public:
  PriorityProbe() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VelkorPriorityProbe";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }
  ~PriorityProbe() { DestroyWindow(window_); }
  void Arm() {
    seen = 0;
    PostMessageW(window_, WM_APP, 0, 0);
  }
  static inline DWORD seen = 0;

 private:
  // A named function: a lambda has no WINAPI calling convention in the 32-bit build.
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) seen = GetPriorityClass(GetCurrentProcess());
    return DefWindowProcW(w, msg, wp, lp);
  }
  HWND window_;
};

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
  EXPECT_TRUE(StatusPartFits(w, 0));
  EXPECT_TRUE(Enabled(w, kIdFind));
  EXPECT_FALSE(Enabled(w, kIdStop));
  EXPECT_TRUE(Checked(w, kIdTextMode));
  EXPECT_FALSE(Checked(w, kIdHexMode));
  EXPECT_TRUE(Checked(w, kIdSubdirs));
  EXPECT_TRUE(Checked(w, kIdMultiEncoding));
  EXPECT_TRUE(Enabled(w, kIdTextPattern));
  EXPECT_FALSE(Enabled(w, kIdHexPattern));
  EXPECT_EQ(Background(w, kIdTextPattern), RGB(255, 255, 255));
  EXPECT_EQ(Background(w, kIdHexPattern), RGB(236, 236, 236));
  // The priority is raised for a search only, never to the real-time class.
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));

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
  const UniqueMenu menu = BuildResultMenu();
  Names items;
  for (int i = 0, n = GetMenuItemCount(menu.get()); i < n; ++i) {
    wchar_t text[64] = L"";
    GetMenuStringW(menu.get(), i, text, 64, MF_BYPOSITION);
    items.push_back(text[0] ? Narrow(text) + "=" + std::to_string(GetMenuItemID(menu.get(), i)) : "-");
  }
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
  EXPECT_TRUE(StatusPartFits(w, 0));
  EXPECT_TRUE(StatusPartFits(w, 1));
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

TEST_F(SearchWindowTest, RaisesThePriorityForTheSearchOnly) {
  WriteFileW(dir / L"a.txt", "needle");
  HWND w = Open();
  SetTextOf(w, kIdTextPattern, "needle");
  PriorityProbe probe;
  for (bool tree : {true, false}) {
    SendDlgItemMessageW(w, kIdSubdirs, BM_SETCHECK, tree ? BST_CHECKED : BST_UNCHECKED, 0);
    probe.Arm();
    Click(w, kIdFind);
    Pump();
    // The highest class below real time: real time would starve the system's own threads.
    EXPECT_EQ(PriorityProbe::seen, static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(ResultRows(w), Names{"a.txt"});
  }
}

TEST_F(SearchWindowTest, NeverFollowsFolderLinks) {
  ASSERT_TRUE(test::RunningUnderWine()) << "the links are made as Unix symbolic links";
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  WriteFileW(dir / L"a.txt", "needle");
  WriteFileW(dir / L"sub\\b.txt", "needle");
  test::TempDir outside;
  WriteFileW(outside / L"c.txt", "needle");
  UnixLinks links;
  // A link to the folder itself, one to its parent's child (a loop two deep) and one
  // to a folder outside the tree.
  ASSERT_TRUE(links.Make(dir.wide(), dir / L"self"));
  ASSERT_TRUE(links.Make(dir.wide(), dir / L"sub\\loop"));
  ASSERT_TRUE(links.Make(outside.wide(), dir / L"away"));
  HWND w = Open();
  SetTextOf(w, kIdTextPattern, "needle");
  Click(w, kIdFind);
  Pump();
  EXPECT_EQ(ResultRows(w), (Names{"a.txt", "sub\\b.txt"}));
  EXPECT_TRUE(StatusText(w, 0).ends_with("找到文件总数2")) << StatusText(w, 0);
}

TEST_F(SearchWindowTest, FindsFilesBeyondTheShortPathLimit) {
  // A tree whose paths run past MAX_PATH (260) characters.
  std::wstring deep = L"\\\\?\\" + dir.wide();
  std::string row;
  for (int i = 0; i < 6; ++i) {
    const std::wstring part(60, static_cast<wchar_t>(L'a' + i));
    deep += L"\\" + part;
    row += Narrow(part) + "\\";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
  }
  WriteFileW(deep + L"\\deep.txt", "needle");
  ASSERT_GT(deep.size(), 300u);
  HWND w = Open();
  SetTextOf(w, kIdTextPattern, "needle");
  Click(w, kIdFind);
  Pump();
  EXPECT_EQ(ResultRows(w), Names{row + "deep.txt"});
  EXPECT_EQ(StatusText(w, 1), "1");
  // The scratch folder's own removal uses short paths.
  DeleteFileW((deep + L"\\deep.txt").c_str());
  for (int i = 0; i < 6; ++i, deep.resize(deep.rfind(L'\\'))) RemoveDirectoryW(deep.c_str());
}

TEST_F(SearchWindowTest, RefusesPatternsItCannotSearchFor) {
  WriteFileW(dir / L"a.txt", "needle");
  HWND w = Open();
  // With 多种编码 unticked a text the code page cannot hold is refused.
  Click(w, kIdMultiEncoding);
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

  // Ticked, the same text is looked for in its UTF-8 and UTF-16 forms, and the summary
  // says the ANSI form was left out.
  Click(w, kIdTextMode);
  Click(w, kIdMultiEncoding);
  ASSERT_TRUE(Checked(w, kIdMultiEncoding));
  WriteFileW(dir / L"b.txt", std::string("needle") + test::kUnrepresentable);
  Click(w, kIdFind);
  Pump();
  EXPECT_EQ(ops.messages.size(), 2u);
  EXPECT_EQ(ResultRows(w), Names{"b.txt"});
  EXPECT_TRUE(StatusText(w, 0).ends_with(std::string("找到文件总数1") + kAnsiLeftOut)) << StatusText(w, 0);
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
