// The main window's menu tree as one ordered table: the menu bar and the two popup
// menus are all built from it.
#pragma once

#include "platform/menu_table.h"

namespace velkor {

enum Command : int {
  kCmdNone = 0,
  kCmdNewDesktop = 40001,
  kCmdSettings,
  kCmdRestore,
  kCmdToTray,
  kCmdExit,
  kCmdSearch,
  kCmdClassify,
  kCmdRestartShell,
  kCmdEnterDesktop,
  kCmdOpenDesktop,
  kCmdDeleteDesktop,
  kCmdProperties,
  kCmdRefresh,
  kCmdContact,
  kCmdWebsite,
  kCmdVersion,
  kCmdShow,
  kCmdExactRestore,
};

// clang-format off
inline constexpr MenuItem kMainMenu[] = {
    {"程序设定", 0, true, kCmdNone},
    {"新增桌面", 1, true, kCmdNewDesktop},
    {"-", 1, true, kCmdNone},
    {"系统设置", 1, false, kCmdSettings},
    {"-", 1, false, kCmdNone},
    {"还原设置", 1, true, kCmdRestore},
    {"还原到切换前的文件夹", 1, true, kCmdExactRestore},  // enabled only while a backup exists
    {"-", 1, true, kCmdNone},
    {"托盘运行", 1, true, kCmdToTray},
    {"-", 1, true, kCmdNone},
    {"退出软件", 1, true, kCmdExit},
    {"功能菜单", 0, true, kCmdNone},
    {"查找文件", 1, true, kCmdSearch},
    {"桌面分类", 1, true, kCmdClassify},
    {"-", 1, true, kCmdNone},
    {"重启桌面", 1, true, kCmdRestartShell},
    {"右键菜单", 0, false, kCmdNone},
    {"新建桌面", 1, true, kCmdNewDesktop},
    {"-", 1, true, kCmdNone},
    {"进入桌面", 1, true, kCmdEnterDesktop},
    {"-", 1, true, kCmdNone},
    {"快捷工具", 1, true, kCmdNone},
    {"打开桌面", 2, true, kCmdOpenDesktop},
    {"-", 2, true, kCmdNone},
    {"文件分类", 2, true, kCmdClassify},
    {"-", 2, true, kCmdNone},
    {"快速检索", 2, true, kCmdSearch},
    {"-", 1, true, kCmdNone},
    {"删除桌面", 1, true, kCmdDeleteDesktop},
    {"-", 1, true, kCmdNone},
    {"文件属性", 1, true, kCmdProperties},
    {"刷新显示", 1, true, kCmdRefresh},
    {"关于产品", 0, true, kCmdNone},
    {"联系方式", 1, true, kCmdContact},
    {"-", 1, true, kCmdNone},
    {"公司网站", 1, true, kCmdWebsite},
    {"-", 1, true, kCmdNone},
    {"版本信息", 1, true, kCmdVersion},
    {"托盘菜单", 0, false, kCmdNone},
    {"显示", 1, true, kCmdShow},
    {"-", 1, true, kCmdNone},
    {"退出", 1, true, kCmdExit},
};
// clang-format on

}  // namespace velkor
