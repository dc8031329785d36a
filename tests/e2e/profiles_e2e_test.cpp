#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_view.h"
#include "driver_win.h"
#include "platform/platform_ops_win.h"
#include "platform/proc_address_win.h"
#include "unix_side_win.h"

namespace velkor::e2e {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Control ids of the creation window, as its design table numbers them.
enum : int { kTitleBox = 111, kCreateButton = 112, kNextPage = 113, kPreviousPage = 123, kSelectAll = 139 };

bool IsDir(const std::wstring& path) {
  const DWORD attrs = GetFileAttributesW(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}
bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

Rows SavedRows(const ProgramUnderTest& program) {
  Win32PlatformOps ops;
  Rows rows;
  for (const CatalogueRow& row : DecodeCatalogue(test::ReadFileW(program.CatalogueFile()), kColumnCount)) {
    rows.emplace_back();
    for (const std::string& cell : row.cells) rows.back().push_back(ops.FromAnsi(cell));
  }
  return rows;
}

class ProfilesE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::RunningUnderWine());
    program.Start();
    main = program.MainWindow();
    ASSERT_TRUE(main);
  }
  void TearDown() override {
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitExit(5000), 0u);
  }
  HWND OpenCreation() {
    ChooseCommand(main, kCmdNewDesktop);
    return WaitWindow(program.Pid(), L"创建新桌面");
  }
  // Types a title and presses the create button; returns the message shown.
  std::string CreateByButton(const std::string& title) {
    HWND window = OpenCreation();
    SetControlText(window, kTitleBox, title);
    ClickButton(window, kCreateButton);
    const std::string message = Reply(program.Pid(), IDOK);
    if (message.find("创建完毕") != std::string::npos) WaitFor([&] { return !IsWindow(window); });
    return message;
  }

  ProgramUnderTest program;
  HWND main = nullptr;
};

TEST_F(ProfilesE2E, CreateWithAllOptionsThenWithNone) {
  ChooseCommand(main, kCmdNewDesktop);  // chosen twice: still one window
  HWND window = OpenCreation();
  ASSERT_TRUE(window);
  int count = 0;
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, L"创建新桌面"));) count += IsWindowVisible(w) ? 1 : 0;
  EXPECT_EQ(count, 1);
  SaveScreenshot(window, "creation_page0");
  ClickButton(window, kNextPage);
  ClickButton(window, kSelectAll);
  ASSERT_TRUE(WaitFor([&] { return IsChecked(window, 131) && IsChecked(window, 138); }));
  SaveScreenshot(window, "creation_page1");
  ClickButton(window, kPreviousPage);
  SetControlText(window, kTitleBox, "工作");
  ClickButton(window, kCreateButton);
  EXPECT_EQ(Reply(program.Pid(), IDOK), "[工作]创建完毕！");
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(window); }));

  const std::wstring root = program.ProfilesRoot() + L"\\工作";
  for (const wchar_t* sub : {L"", L"\\Desktop", L"\\Cookies", L"\\Personal", L"\\Favorites", L"\\History",
                             L"\\Temporary Internet Files", L"\\Startup", L"\\Local AppData", L"\\AppData"})
    EXPECT_TRUE(IsDir(root + sub)) << Narrow(sub);
  EXPECT_TRUE(Exists(root + L"\\Desktop\\WinowsVelkor.lnk"));
  const Rows expected = {{"0", "工作", "---", Narrow(root + L"\\Desktop"), ""}};
  EXPECT_EQ(ReadRows(program.List(), kColumnCount), expected);
  EXPECT_EQ(SavedRows(program), expected);

  EXPECT_EQ(CreateByButton("plain"), "[plain]创建完毕！");
  const std::wstring plain = program.ProfilesRoot() + L"\\plain";
  EXPECT_TRUE(IsDir(plain + L"\\Desktop"));
  EXPECT_FALSE(IsDir(plain + L"\\Cookies"));  // a new opening starts with no option ticked
  SaveScreenshot(main, "main_window_rows");
}

TEST_F(ProfilesE2E, DuplicateQuestionEnterAndRefusedTitles) {
  ASSERT_EQ(CreateByButton("desk"), "[desk]创建完毕！");
  HWND window = OpenCreation();
  SetControlText(window, kTitleBox, "DESK");
  ClickButton(window, kCreateButton);
  HWND reminder = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (reminder = FindWindowOf(program.Pid(), L"#32770", L"友情提醒")) != nullptr; }));
  EXPECT_EQ(MessageBoxText(reminder), "列表中存在重复的名称了,您确定继续创建吗？");
  SaveScreenshot(reminder, "creation_reminder");
  Answer(reminder, IDCANCEL);
  EXPECT_TRUE(WaitFor([&] { return ControlText(window, kTitleBox).empty(); }));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(ReadRows(program.List(), kColumnCount).size(), 1u);

  // Enter in the title box creates without asking.
  SetControlText(window, kTitleBox, "desk");
  SetForegroundWindow(window);
  PostMessageW(GetDlgItem(window, kTitleBox), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(Reply(program.Pid(), IDOK), "[desk]创建完毕！");
  EXPECT_EQ(ReadRows(program.List(), kColumnCount).size(), 2u);

  for (const char* bad : {"..\\x", "a:b"}) {
    const std::string message = CreateByButton(bad);
    EXPECT_EQ(message.find("创建完毕"), std::string::npos) << message;
    EXPECT_FALSE(Exists(program.ProfilesRoot() + L"\\a"));
    EXPECT_FALSE(Exists(program.RunDir() / L"软件配置\\x"));
    EXPECT_EQ(SavedRows(program).size(), 2u);
    PostMessageW(WaitWindow(program.Pid(), L"创建新桌面"), WM_CLOSE, 0, 0);
  }
}

TEST_F(ProfilesE2E, PropertiesAndDeletion) {
  ASSERT_EQ(CreateByButton("工作"), "[工作]创建完毕！");
  const std::wstring root = program.ProfilesRoot() + L"\\工作";
  HWND list = program.List();
  SelectRow(list, 0);
  ChooseCommand(main, kCmdProperties);
  HWND properties = WaitWindow(program.Pid(), L"桌面属性");
  ASSERT_TRUE(properties);
  EXPECT_EQ(ControlText(properties, 102), "工作");
  EXPECT_EQ(ControlText(properties, 106), "---");
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(ControlText(properties, 104).rfind(std::to_string(now.wYear) + "年", 0), 0u)
      << ControlText(properties, 104);
  SaveScreenshot(properties, "properties");
  // With no row selected, the open window is brought back, not refused.
  ShowWindow(properties, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(properties) != FALSE; }));
  SelectRow(list, -1);
  ChooseCommand(main, kCmdProperties);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(properties); }));
  EXPECT_FALSE(WaitMessageBox(program.Pid(), 500)) << "no question about the selection";
  EXPECT_EQ(ControlText(properties, 102), "工作");
  ClickButton(properties, 107);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(properties); }));

  // A link inside the profile that points outside it: the folder it points to keeps
  // its files. (Wine shows a Unix symbolic link as a directory reparse point.) Beside
  // it a real folder "a." that the system would trim to the link's name "a".
  const std::wstring outside = program.RunDir() / L"outside";
  CreateDirectoryW(outside.c_str(), nullptr);
  test::WriteFileW(outside + L"\\precious.txt", "keep");
  ASSERT_TRUE(test::MakeUnixLink(outside, root + L"\\Desktop\\link"));
  ASSERT_TRUE(test::MakeUnixLink(outside, root + L"\\Desktop\\a"));
  ASSERT_TRUE(test::MakeUnixFolder(root + L"\\Desktop", "a."));
  test::WriteFileW(L"\\\\?\\" + root + L"\\Desktop\\a.\\inside.txt", "x");
  ASSERT_TRUE(WaitFor([&] { return Exists(root + L"\\Desktop\\link\\precious.txt"); }));

  SelectRow(list, 0);
  ChooseCommand(main, kCmdDeleteDesktop);
  EXPECT_EQ(Reply(program.Pid(), IDCANCEL), "您确认删除桌面信息吗？删除后将无法进行恢复！工作");
  ChooseCommand(main, kCmdDeleteDesktop);
  Reply(program.Pid(), IDOK);
  EXPECT_EQ(Reply(program.Pid(), IDCANCEL), "最后一次确认啦！~你真的真的要删除吗？删除后将无法进行恢复！工作");
  EXPECT_TRUE(IsDir(root + L"\\Desktop"));
  EXPECT_EQ(SavedRows(program).size(), 1u);

  ChooseCommand(main, kCmdDeleteDesktop);
  Reply(program.Pid(), IDOK);
  Reply(program.Pid(), IDOK);
  // Wine cannot remove the links themselves, so the one closing message says the row
  // went and the links stayed, as links.
  const std::string left = Reply(program.Pid(), IDOK);
  EXPECT_TRUE(left.starts_with("桌面已经从列表中删除，但以下文件夹没有完全删除")) << left;
  EXPECT_NE(left.find("2 个链接无法删除"), std::string::npos) << left;
  EXPECT_EQ(left.find("正在使用"), std::string::npos) << left;
  EXPECT_EQ(test::ReadFileW(outside + L"\\precious.txt"), "keep");
  EXPECT_FALSE(Exists(L"\\\\?\\" + root + L"\\Desktop\\a."));
  EXPECT_TRUE(ReadRows(list, kColumnCount).empty());
  EXPECT_TRUE(SavedRows(program).empty());
}

TEST_F(ProfilesE2E, RowCommandsWithoutSelectionTell) {
  ChooseCommand(main, kCmdDeleteDesktop);
  EXPECT_EQ(Reply(program.Pid(), IDOK), "请先在列表中选择一个桌面！");
}

TEST(ProfilesOnDiskE2E, MissingFolderDateAndRunningProfileRefusal) {
  ASSERT_TRUE(test::RunningUnderWine());
  ProgramUnderTest program;
  CreateDirectoryW(program.ConfigRoot().c_str(), nullptr);
  const std::wstring running = program.RunDir() / L"running";
  CreateDirectoryW(running.c_str(), nullptr);
  RegistryTextGuard desktop(std::string(kShellFoldersKey) + "\\Desktop");
  desktop.Set(Narrow(running));
  // A profile runs only when both keys name its desktop.
  RegistryTextGuard userDesktop(std::string(kUserShellFoldersKey) + "\\Desktop");
  userDesktop.Set(Narrow(running));
  ASSERT_TRUE(program.WriteCatalogue(
      {{{"0", "gone", "---", Narrow(program.RunDir() / L"gone"), ""}}, {{"1", "in use", "---", Narrow(running), ""}}}));
  program.Start();
  HWND main = program.MainWindow();
  ASSERT_TRUE(main);

  SelectRow(program.List(), 0);
  ChooseCommand(main, kCmdProperties);
  HWND properties = WaitWindow(program.Pid(), L"桌面属性");
  ASSERT_TRUE(properties);
  EXPECT_EQ(ControlText(properties, 104), "1899年12月30日");
  EXPECT_EQ(ControlText(properties, 106), "0 MB");
  PostMessageW(properties, WM_CLOSE, 0, 0);

  SelectRow(program.List(), 1);
  ChooseCommand(main, kCmdDeleteDesktop);
  EXPECT_EQ(Reply(program.Pid(), IDOK), "您的桌面正在运行中，请先退出该桌面或切换其他桌面后再进行删除！");
  EXPECT_NE(GetFileAttributesW(running.c_str()), INVALID_FILE_ATTRIBUTES);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitExit(5000), 0u);
}

TEST_F(ProfilesE2E, SettingsPasswordTrayAndExit) {
  ChooseCommand(main, kCmdSettings);
  HWND settings = WaitWindow(program.Pid(), L"系统设置");
  ASSERT_TRUE(settings);
  SaveScreenshot(settings, "settings");
  ClickButton(settings, 102);
  HWND input = WaitWindow(program.Pid(), L"安全密码");
  ASSERT_TRUE(input);
  SaveScreenshot(input, "settings_password");
  SetControlText(input, 101, "pw1");
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Reply(program.Pid(), IDOK), "记录已更新，请牢记密码：pw1");
  PostMessageW(settings, WM_CLOSE, 0, 0);

  ChooseCommand(main, kCmdVersion);
  EXPECT_EQ(Reply(program.Pid(), IDOK), "本软件版本为:1.2");

  PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
  PostMessageW(main, WM_APP + 1, 1, WM_LBUTTONDBLCLK);  // the tray icon's double click
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) && !IsIconic(main); }));

  ChooseCommand(main, kCmdExit);
  EXPECT_EQ(Reply(program.Pid(), IDCANCEL), "您确定退出软件吗？");
  EXPECT_EQ(program.WaitExit(500), static_cast<DWORD>(STILL_ACTIVE));
  ChooseCommand(main, kCmdExit);
  Reply(program.Pid(), IDOK);
  EXPECT_EQ(program.WaitExit(3000), 0u);
}

TEST_F(ProfilesE2E, EscapeClosesEverySecondaryWindow) {
  ASSERT_EQ(CreateByButton("esc"), "[esc]创建完毕！");
  SelectRow(program.List(), 0);
  const struct {
    int command;
    const wchar_t* prefix;  // the title, up to any system suffix
  } windows[] = {{kCmdNewDesktop, L"创建新桌面"}, {kCmdRestore, L"还原到系统原来的桌面"},
                 {kCmdProperties, L"桌面属性"},   {kCmdClassify, L"桌面文件快速分类"},
                 {kCmdSearch, L"搜索窗口"},       {kCmdSettings, L"系统设置"}};
  for (const auto& w : windows) {
    ChooseCommand(main, w.command);
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, nullptr));) {
        wchar_t title[64] = L"";
        GetWindowTextW(h, title, 64);
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == program.Pid() && IsWindowVisible(h) && wcsncmp(title, w.prefix, wcslen(w.prefix)) == 0) window = h;
      }
      return window != nullptr;
    })) << Narrow(w.prefix);
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(window); })) << Narrow(w.prefix);
  }
}

TEST_F(ProfilesE2E, EscapeAsksBeforeDroppingATypedTitle) {
  HWND window = OpenCreation();
  ASSERT_TRUE(window);
  SetControlText(window, kTitleBox, "未保存");
  PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  HWND box = WaitMessageBox(program.Pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(MessageBoxText(box), "关闭窗口将丢弃已填写的内容，确定关闭吗？");
  SaveScreenshot(box, "creation_escape_question");
  Answer(box, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(ControlText(window, kTitleBox), "未保存");
  PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(Reply(program.Pid(), IDOK), "关闭窗口将丢弃已填写的内容，确定关闭吗？");
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(window); }));
  EXPECT_TRUE(ReadRows(program.List(), kColumnCount).empty());
}

// The menus of another process cannot be read under Wine; they are opened the way a
// user's keyboard and clicks would open them, and photographed.
TEST_F(ProfilesE2E, MenusOpenForTheEye) {
  // A popup menu is a visible window of the menu class in the program's process.
  const auto popupShown = [&] {
    for (HWND menu = nullptr; (menu = FindWindowExW(nullptr, menu, L"#32768", nullptr));) {
      DWORD pid = 0;
      GetWindowThreadProcessId(menu, &pid);
      if (pid == program.Pid() && IsWindowVisible(menu)) return true;
    }
    return false;
  };
  RECT area;
  GetWindowRect(main, &area);
  area.right += 200, area.bottom += 200;

  PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 0);
  PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_TRUE(WaitFor(popupShown)) << "menu bar";
  Sleep(300);
  SaveScreenArea(area, "menu_bar_open");
  PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !popupShown(); }));

  RECT list;
  GetWindowRect(program.List(), &list);
  SetCursorPos(list.left + 100, list.top + 60);
  PostMessageW(main, WM_APP + 1, 1, WM_RBUTTONUP);  // the tray icon's right button
  EXPECT_TRUE(WaitFor(popupShown)) << "tray menu";
  Sleep(300);
  SaveScreenArea(area, "tray_menu_open");
  PostMessageW(main, WM_CANCELMODE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !popupShown(); }));

  // A right click on an empty part of the list opens the list's menu.
  PostMessageW(program.List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 150));
  PostMessageW(program.List(), WM_RBUTTONUP, 0, MAKELPARAM(100, 150));
  EXPECT_TRUE(WaitFor(popupShown)) << "list menu";
  Sleep(300);
  SaveScreenArea(area, "list_menu_open");
  PostMessageW(main, WM_CANCELMODE, 0, 0);
  Sleep(300);
  EXPECT_TRUE(IsWindowVisible(main));
}

}  // namespace
}  // namespace velkor::e2e
