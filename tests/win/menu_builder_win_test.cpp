#include "platform/menu_builder_win.h"

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "window_probes_win.h"

namespace velkor {
namespace {

using test::MenuCaptions;

TEST(MainMenus, BarAndPopupsHoldExactlyTheirVisibleItems) {
  const UniqueMenu bar = BuildMenuBar(kMainMenu);
  EXPECT_EQ(MenuCaptions(bar.get()),
            "程序设定[新增桌面 - 还原设置 还原到切换前的文件夹 - 托盘运行 - 退出软件] "
            "功能菜单[查找文件 桌面分类 - 重启桌面] "
            "关于产品[联系方式 - 公司网站 - 版本信息]");
  const UniqueMenu list = BuildPopupMenu(kMainMenu, "右键菜单");
  EXPECT_EQ(MenuCaptions(list.get()),
            "新建桌面 - 进入桌面 - 快捷工具[打开桌面 - 文件分类 - 快速检索] - 删除桌面 - 文件属性 刷新显示");
  const UniqueMenu tray = BuildPopupMenu(kMainMenu, "托盘菜单");
  EXPECT_EQ(MenuCaptions(tray.get()), "显示 - 退出");
}

}  // namespace
}  // namespace velkor
