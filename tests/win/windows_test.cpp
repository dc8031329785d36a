#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "catalogue/creation_window_win.h"
#include "fake_platform.h"
#include "memory_rows.h"
#include "platform/menu_builder_win.h"
#include "platform/text_win.h"
#include "platform/window_design_win.h"
#include "tools/classification_window_win.h"

namespace velkor {
namespace {

// The captions of a menu's items, "-" for separators, with "[...]" after a submenu.
std::string Captions(HMENU menu) {
  std::string out;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    wchar_t text[64] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 64;
    GetMenuItemInfoW(menu, i, TRUE, &info);
    const std::string caption = (info.fType & MFT_SEPARATOR) ? "-" : Narrow(text);
    if (!out.empty()) out.push_back(' ');
    out.append(caption);
    if (info.hSubMenu) out.append("[").append(Captions(info.hSubMenu)).append("]");
  }
  return out;
}

// A window design whose controls share an id does not compile; the check it uses:
constexpr ControlSpec kTwoOfOneId[] = {design::Button(7, "a", {}, L"a"), design::Button(7, "b", {}, L"b")};
static_assert(!IdsAreUnique(kTwoOfOneId));
static_assert(IdsAreUnique(std::span(kTwoOfOneId).first(1)));

TEST(MainMenus, BarAndPopupsHoldExactlyTheirVisibleItems) {
  const UniqueMenu bar = BuildMenuBar(kMainMenu);
  EXPECT_EQ(Captions(bar.get()),
            "程序设定[新增桌面 - 还原设置 还原到切换前的文件夹 - 托盘运行 - 退出软件] "
            "功能菜单[查找文件 桌面分类 - 重启桌面] "
            "关于产品[联系方式 - 公司网站 - 版本信息]");
  const UniqueMenu list = BuildPopupMenu(kMainMenu, "右键菜单");
  EXPECT_EQ(Captions(list.get()),
            "新建桌面 - 进入桌面 - 快捷工具[打开桌面 - 文件分类 - 快速检索] - 删除桌面 - 文件属性 刷新显示");
  const UniqueMenu tray = BuildPopupMenu(kMainMenu, "托盘菜单");
  EXPECT_EQ(Captions(tray.get()), "显示 - 退出");
}

int CountWindows(const wchar_t* cls) {
  int n = 0;
  for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w; w = FindWindowExW(nullptr, w, cls, nullptr)) ++n;
  return n;
}

TEST(SecondaryWindows, OpenOnceBringsBackTheOpenWindow) {
  test::FakePlatform ops;
  test::MemoryRows rows;
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
  CreationWindow window(context);
  window.OpenOnce();
  ASSERT_TRUE(window.IsOpen());
  HWND first = window.Handle();
  HWND title = FindWindowExW(first, nullptr, L"EDIT", nullptr);
  SetWindowTextW(title, L"typed");
  ShowWindow(first, SW_MINIMIZE);
  window.OpenOnce();
  EXPECT_EQ(window.Handle(), first);
  EXPECT_FALSE(IsIconic(first));
  EXPECT_EQ(CountWindows(L"VelkorCreationWindow"), 1);
  wchar_t text[16] = L"";
  GetWindowTextW(title, text, 16);
  EXPECT_STREQ(text, L"typed");  // the creation handler did not run again

  MSG msg{first, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  IsDialogMessageW(first, &msg);  // Esc, as the message loop hands it over; asked, OK closes
  EXPECT_FALSE(window.IsOpen());
  window.OpenOnce();
  EXPECT_TRUE(window.IsOpen());
  GetWindowTextW(FindWindowExW(window.Handle(), nullptr, L"EDIT", nullptr), text, 16);
  EXPECT_STREQ(text, L"");  // a new opening starts afresh
}

// Presses a key with the focus on `target`, as the program's message loop hands it over.
void Press(HWND window, HWND target, WPARAM key) {
  SetFocus(target);
  MSG msg{target, WM_KEYDOWN, key, 0, 0, {}};
  if (!IsDialogMessageW(window, &msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&m);
}

enum : int { kIdTitle = 111, kIdCreate = 112, kIdPath = 121, kIdFirstOption = 131 };

struct CreationFixture {
  test::FakePlatform ops;
  test::MemoryRows rows;
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
  CreationWindow window{context};
  HWND Item(int id) const { return GetDlgItem(window.Handle(), id); }
};

TEST(CreationWindowKeys, EnterCreatesOnlyFromTheTitleBox) {
  CreationFixture f;
  f.window.OpenOnce();
  ASSERT_TRUE(f.window.IsOpen());
  SetWindowTextW(f.Item(kIdTitle), L"desk");
  // Enter anywhere else: in the custom path box, on a check box, with the window itself focused.
  SetWindowTextW(f.Item(kIdPath), L"C:\\elsewhere");
  for (HWND target : {f.Item(kIdPath), f.Item(kIdFirstOption), f.window.Handle()})
    Press(f.window.Handle(), target, VK_RETURN);
  EXPECT_EQ(f.rows.RowCount(), 0);
  EXPECT_TRUE(f.ops.messages.empty());
  EXPECT_TRUE(f.window.IsOpen());

  Press(f.window.Handle(), f.Item(kIdTitle), VK_RETURN);
  EXPECT_EQ(f.rows.RowCount(), 1);
  EXPECT_FALSE(f.window.IsOpen());
}

TEST(CreationWindowKeys, EscapeAsksBeforeItDropsWhatWasTyped) {
  struct Case {
    const wchar_t* title;
    const wchar_t* path;
    bool ticked;
    bool asks;
  } cases[] = {
      {L"", L"", false, false},  // nothing to lose: Esc closes at once
      {L"desk", L"", false, true},
      {L"", L"C:\\x", false, true},
      {L"", L"", true, true},
  };
  for (const Case& c : cases) {
    CreationFixture f;
    f.window.OpenOnce();
    SetWindowTextW(f.Item(kIdTitle), c.title);
    SetWindowTextW(f.Item(kIdPath), c.path);
    SendMessageW(f.Item(kIdFirstOption), BM_SETCHECK, c.ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    f.ops.messageAnswers = {kCancel};
    Press(f.window.Handle(), f.Item(kIdTitle), VK_ESCAPE);
    EXPECT_EQ(f.ops.messages.size(), c.asks ? 1u : 0u) << Narrow(c.title) << Narrow(c.path);
    EXPECT_EQ(f.window.IsOpen(), c.asks) << "Cancel keeps the window and its texts";
    if (!c.asks) continue;
    wchar_t text[32] = L"";
    GetWindowTextW(f.Item(kIdTitle), text, 32);
    EXPECT_STREQ(text, c.title);
    f.ops.messageAnswers = {kOk};
    Press(f.window.Handle(), f.Item(kIdTitle), VK_ESCAPE);
    EXPECT_FALSE(f.window.IsOpen());
    EXPECT_EQ(f.rows.RowCount(), 0);
  }
}

TEST(ClassificationWindowKeys, EnterNeverRunsTheClassification) {
  test::FakePlatform ops;
  ops.AddFile("C:\\d\\a.txt", "x");
  test::MemoryRows rows;
  rows.AppendRow({{"0", "d", "---", "C:\\d", ""}});
  rows.Select(0);
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
  ClassificationWindow window(context);
  window.OpenOnce();
  HWND w = window.Handle();
  HWND box = GetDlgItem(w, 101);
  SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
  for (HWND target : {box, w}) Press(w, target, VK_RETURN);
  EXPECT_TRUE(ops.HasFile("C:\\d\\a.txt"));
  EXPECT_TRUE(ops.messages.empty());

  // Clicked: the button takes the focus, and a later stray Enter must not run it again.
  HWND run = GetDlgItem(w, 121);
  SetFocus(run);
  SendMessageW(run, BM_CLICK, 0, 0);
  EXPECT_FALSE(ops.HasFile("C:\\d\\a.txt"));
  EXPECT_EQ(ops.messages, std::vector<std::string>{"整理完毕！"});
  Press(w, GetFocus(), VK_RETURN);
  EXPECT_EQ(ops.messages.size(), 1u);
  window.Close();
}

}  // namespace
}  // namespace velkor
