#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "catalogue/creation_window_win.h"
#include "fake_platform.h"
#include "memory_rows.h"
#include "platform/menu_builder_win.h"
#include "platform/text_win.h"
#include "platform/window_design_win.h"

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

  SendMessageW(first, WM_KEYDOWN, VK_ESCAPE, 0);
  MSG msg{first, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  IsDialogMessageW(first, &msg);  // Esc closes it, as the message loop does
  EXPECT_FALSE(window.IsOpen());
  window.OpenOnce();
  EXPECT_TRUE(window.IsOpen());
  GetWindowTextW(FindWindowExW(window.Handle(), nullptr, L"EDIT", nullptr), text, 16);
  EXPECT_STREQ(text, L"");  // a new opening starts afresh
}

}  // namespace
}  // namespace velkor
