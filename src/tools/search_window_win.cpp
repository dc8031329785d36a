#include "tools/search_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <span>

#include "platform/menu_builder_win.h"
#include "platform/text_win.h"
#include "platform/win_util_win.h"

namespace velkor {
namespace {

// Captions are clipped, never wrapped: the designed widths leave no room for a second line.
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP;

using namespace design;
// clang-format off
constexpr ControlSpec kSearchDesign[] = {
    Edit(kIdSearchDir,          "编辑框_目录路径",   {14, 24, 299, 20}),
    Button(kIdBrowse,           "按钮_目录",         {317, 22, 27, 22},  L"…"),
    Frame(kIdOptionsFrame,      "外形框1",           {12, 48, 332, 57}),
    Radio(kIdTextMode,          "单选框_文本",       {10, 9, 48, 18},    L"文本").Style(WS_GROUP).InFrame(kIdOptionsFrame),
    Radio(kIdHexMode,           "单选框_16进制",     {81, 9, 66, 18},    L"16进制").InFrame(kIdOptionsFrame),
    // 含子目录 moved left, under the piece size caption, to make room for 多种编码.
    CheckBox(kIdSubdirs,        "选择框_含子目录",   {157, 8, 72, 20},   L"含子目录").Style(WS_GROUP).InFrame(kIdOptionsFrame),
    CheckBox(kIdMultiEncoding,  "选择框_多种编码",   {241, 8, 80, 20},   L"多种编码").Style(WS_GROUP).InFrame(kIdOptionsFrame),
    Label(kIdThreadsLabel,      "标签7",             {11, 32, 62, 18},   L"最大线程：").Style(kLabel).InFrame(kIdOptionsFrame),
    DropList(kIdThreads,        "组合框_最大线程组", {74, 30, 46, 20}).InFrame(kIdOptionsFrame),
    Label(kIdChunkLabel,        "标签_单线内存",     {157, 32, 59, 18},  L"单线内存：").Style(kLabel).InFrame(kIdOptionsFrame),
    DropList(kIdChunk,          "组合框_单线内存",   {222, 30, 66, 20}).InFrame(kIdOptionsFrame),
    Frame(kIdPatternFrame,      "外形框2",           {12, 110, 331, 55}),
    Label(kIdTextLabel,         "标签5",             {20, 10, 32, 18},   L"文本：").Style(kLabel).InFrame(kIdPatternFrame),
    Edit(kIdTextPattern,        "文本查找框",        {53, 8, 218, 18}).InFrame(kIdPatternFrame),
    Label(kIdHexLabel,          "标签6",             {7, 32, 45, 18},    L"16进制：").Style(kLabel).InFrame(kIdPatternFrame),
    Edit(kIdHexPattern,         "进制查找框",        {53, 31, 218, 18}).InFrame(kIdPatternFrame),
    Button(kIdFind,             "按钮_查找",         {278, 4, 46, 21},   L"查找").InFrame(kIdPatternFrame),
    Button(kIdStop,             "按钮_停止",         {278, 30, 46, 21},  L"停止").InFrame(kIdPatternFrame),
    ListView(kIdResults,        "超级列表框_结果列表", {12, 168, 332, 168}).Style(LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS),
    StatusBar(kIdStatus,        "状态条1"),
    // Created last, so it lies below the controls that sit on it.
    Tab(kIdTab,                 "高级选择夹1",       {0, 0, 376, 344}),
};
// clang-format on

constexpr WindowDesign kSearchWindowDesign{kSearchWindowClass, L"搜索窗口", 380, 391, kSearchDesign};

// clang-format off
constexpr MenuItem kResultMenu[] = {
    {"右键菜单", 0, false, 0},
    {"默认方式打开", 1, true, kIdOpenResult},
    {"-", 1, true, 0},
    {"默认编辑器打开", 1, true, kIdEditResult},
    {"-", 1, true, 0},
    {"浏览所在文件夹", 1, true, kIdExploreResult},
};
// clang-format on

constexpr char kOpeningHint[] = "  请先选择需要查找的目录，进行相应设置后点击查找按钮。";
constexpr char kTextModeHint[] = "  请在查找内容-文本之后输入你需要查找的内容";
constexpr char kHexModeHint[] = "  请在查找内容-16进制之后输入你需要查找的内容";
constexpr char kBrowseTitle[] = "Please choose a catalogue";
constexpr int kStatusPartPadding = 14;

void EnableDebugPrivilege() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return;
  UniqueHandle token(raw);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueW(nullptr, SE_DEBUG_NAME, &privileges.Privileges[0].Luid))
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof(privileges), nullptr, nullptr);
}

void FillChoices(HWND box, std::span<const SearchChoice> choices, int selected, UINT dpi) {
  for (const SearchChoice& choice : choices)
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(choice.caption).c_str()));
  SendMessageW(box, CB_SETCURSEL, selected, 0);
  // The designed height is the field's; the dropped list needs room for every item.
  RECT r;
  GetWindowRect(box, &r);
  SetWindowPos(box, nullptr, 0, 0, r.right - r.left, Scale(24 + 20 * static_cast<int>(choices.size()), dpi),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ChoiceIndex(HWND box, size_t count) {
  const LRESULT index = SendMessageW(box, CB_GETCURSEL, 0, 0);
  return index < 0 ? 0 : static_cast<int>(std::min<LRESULT>(index, static_cast<LRESULT>(count) - 1));
}

}  // namespace

UniqueMenu BuildResultMenu() { return BuildPopupMenu(kResultMenu, "右键菜单"); }

SearchWindow::SearchWindow(CatalogueContext& context)
    : SecondaryWindow(kSearchWindowDesign),
      context_(context),
      engine_(system_, *this),
      whiteBrush_(CreateSolidBrush(RGB(255, 255, 255))),
      greyBrush_(CreateSolidBrush(kDisabledPatternColor)) {}

void SearchWindow::OnCreated() {
  const UINT dpi = Dpi();
  FillChoices(Control(kIdThreads), kThreadLimitChoices, kDefaultThreadLimitChoice, dpi);
  FillChoices(Control(kIdChunk), kChunkSizeChoices, kDefaultChunkSizeChoice, dpi);

  HWND list = Control(kIdResults);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(L"搜寻结果");
  column.cx = Scale(307, dpi);
  ListView_InsertColumn(list, 0, &column);
  ListView_SetColumnWidth(list, 0, Scale(307, dpi));

  FitStatusParts();

  SetText(kIdSearchDir, context_.rows.Cell(context_.rows.Selected(), kColPath));
  if (context_.ops.Version().nt) EnableDebugPrivilege();
  SetStatus(0, kOpeningHint);
  SetChecked(kIdTextMode, true);
  SetChecked(kIdSubdirs, true);
  SetChecked(kIdMultiEncoding, true);
  Enable(kIdTextPattern, true);
  Enable(kIdHexPattern, false);
  Enable(kIdStop, false);
}

void SearchWindow::OnCommand(int id, int /*code*/) {
  switch (id) {
    case kIdFind: StartSearch(); break;
    case kIdStop: engine_.RequestStop(); break;
    case kIdTextMode: SetPatternMode(true); break;
    case kIdHexMode: SetPatternMode(false); break;
    case kIdBrowse: BrowseForDirectory(); break;
    case kIdOpenResult: ActOnSelection(ResultAction::Open, true); break;
    case kIdEditResult: ActOnSelection(ResultAction::Edit, true); break;
    case kIdExploreResult: ActOnSelection(ResultAction::ExploreFolder, true); break;
  }
}

bool SearchWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->idFrom != kIdResults) return false;
      if (header->code == NM_RCLICK) PopUpResultMenu();
      if (header->code == NM_DBLCLK) ActOnSelection(ResultAction::ShowInExplorer, false);
      return false;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: return OnColor(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp), result);
  }
  return false;
}

bool SearchWindow::CanClose() {
  if (!engine_.Searching()) return true;
  // The search runs further down this thread's stack: stop it, let its workers
  // finish, and close once it has returned.
  engine_.RequestStop();
  closeAfterSearch_ = true;
  return false;
}

void SearchWindow::SetSearching(bool searching) {
  Enable(kIdFind, !searching);
  Enable(kIdStop, searching);
}

void SearchWindow::ClearResults() { ListView_DeleteAllItems(Control(kIdResults)); }

void SearchWindow::AddResults(const std::vector<std::string>& rows) {
  HWND list = Control(kIdResults);
  // The list lays itself out and paints once per group, not once per row: under Wine
  // each row cost some 15 ms of drawing, far more than finding it.
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  int at = ListView_GetItemCount(list);
  for (const std::string& row : rows) {
    std::wstring text = Widen(row);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = at++;
    item.pszText = text.data();
    ListView_InsertItem(list, &item);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void SearchWindow::SetStatus(int part, const std::string& text) {
  SendMessageW(Control(kIdStatus), SB_SETTEXTW, part, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  if (part == 1) FitStatusParts();
}

void SearchWindow::FitStatusParts() {
  // Part 0 was designed 300 pixels wide, too narrow for its own first hint (27 wide
  // characters). It now takes everything the count in part 1 does not need, so the
  // hints and the summary stay readable at any DPI in a window of the designed size.
  HWND status = Control(kIdStatus);
  RECT client;
  GetClientRect(status, &client);
  const int count = LOWORD(SendMessageW(status, SB_GETTEXTLENGTHW, 1, 0));
  int need = 0;
  if (count > 0) {
    std::wstring text(static_cast<size_t>(count) + 1, L'\0');
    SendMessageW(status, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text.data()));
    HDC dc = GetDC(status);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(status, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), count, &size);
    SelectObject(dc, old);
    ReleaseDC(status, dc);
    need = size.cx;
  }
  // Room for the part's frame and a little air on either side of its text.
  need += Scale(kStatusPartPadding, Dpi());
  const int parts[] = {std::max<int>(client.right - need, 0), -1};
  SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void SearchWindow::StartSearch() {
  if (engine_.Searching()) return;
  SearchRequest request;
  std::string message;
  SearchPattern pattern;
  if (!MakeSearchPattern(context_.ops, Checked(kIdTextMode), Checked(kIdMultiEncoding), Text(kIdTextPattern),
                         Text(kIdHexPattern), pattern, message)) {
    context_.ops.ShowMessage(message, Buttons::Ok);
    return;
  }
  request.patterns = std::move(pattern.forms);
  if (!pattern.bigEndian.empty()) request.afterBigEndianMark = {std::move(pattern.bigEndian)};
  if (pattern.ansiLeftOut) request.summaryNote = kAnsiLeftOut;
  request.directory = Text(kIdSearchDir);
  request.chunkSize = kChunkSizeChoices[ChoiceIndex(Control(kIdChunk), std::size(kChunkSizeChoices))].value;
  request.threadLimit = kThreadLimitChoices[ChoiceIndex(Control(kIdThreads), std::size(kThreadLimitChoices))].value;
  request.includeSubdirs = Checked(kIdSubdirs);
  {
    // Raised for the search only, and never to the real-time class, whose threads
    // would starve the system's own (input, disk writes); in the high class the
    // system still lends the starved threads time.
    ScopedPriorityClass raised(HIGH_PRIORITY_CLASS);
    engine_.StartSearch(request);
  }
  if (closeAfterSearch_) {
    closeAfterSearch_ = false;
    Close();
  }
}

void SearchWindow::SetPatternMode(bool text) {
  SetChecked(kIdTextMode, text);
  SetChecked(kIdHexMode, !text);
  Enable(kIdTextPattern, text);
  Enable(kIdHexPattern, !text);
  InvalidateRect(Control(kIdTextPattern), nullptr, TRUE);
  InvalidateRect(Control(kIdHexPattern), nullptr, TRUE);
  SetStatus(0, text ? kTextModeHint : kHexModeHint);
}

void SearchWindow::BrowseForDirectory() {
  const std::string chosen = context_.ops.BrowseForFolder(kBrowseTitle);
  if (!chosen.empty()) SetText(kIdSearchDir, chosen);
  std::string dir = chosen;
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  // The rows of a running search stay joined to the directory they were found in.
  engine_.SetSearchDir(dir);
  SetStatus(0, dir);
}

void SearchWindow::PopUpResultMenu() {
  const UniqueMenu menu = BuildResultMenu();
  PopUpMenuAtCursor(Handle(), menu.get());
}

void SearchWindow::ActOnSelection(ResultAction action, bool needsRow) {
  HWND list = Control(kIdResults);
  const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  if (selected < 0 && needsRow) return;
  RunResultAction(context_.ops, action, engine_.SearchDir(),
                  selected < 0 ? std::string() : ListViewText(list, selected));
}

bool SearchWindow::OnColor(HWND control, HDC dc, LRESULT& result) const {
  const int id = GetDlgCtrlID(control);
  if (id != kIdTextPattern && id != kIdHexPattern) return false;
  // The box of the selected kind is white, the other one grey.
  const bool white = (id == kIdTextPattern) == Checked(kIdTextMode);
  SetBkColor(dc, white ? RGB(255, 255, 255) : kDisabledPatternColor);
  result = reinterpret_cast<LRESULT>(white ? whiteBrush_.get() : greyBrush_.get());
  return true;
}

}  // namespace velkor
