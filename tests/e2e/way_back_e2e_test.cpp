// The way back of the real program: the user's own shell folders are kept before the
// first switch and written back exactly; a refused write leaves no half switch. These
// cases end the shell, so their suite is named ...ShellE2E (see tests/CMakeLists.txt).
#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "catalogue/catalogue_view.h"
#include "driver_win.h"
#include "platform/handles_win.h"
#include "platform/platform_ops_win.h"
#include "platform/text_win.h"
#include "switching/shell_backup.h"

namespace velkor::e2e {
namespace {

using Rows = std::vector<std::vector<std::string>>;

RegValue Sz(const std::string& name, const std::string& text) { return {name, kRegSz, RegTextData(text)}; }
RegValue Expand(const std::string& name, const std::string& text) { return {name, kRegExpandSz, RegTextData(text)}; }

std::vector<DWORD> ShellPids() {
  std::vector<DWORD> pids;
  UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL ok = Process32FirstW(snapshot.get(), &entry); ok; ok = Process32NextW(snapshot.get(), &entry))
    if (wcscmp(entry.szExeFile, L"explorer.exe") == 0) pids.push_back(entry.th32ProcessID);
  return pids;
}

// Both shell-folder keys, every value, put back exactly at the end; the program's own
// key (the backup's second copy) is removed before and after.
class ShellFoldersKept {
 public:
  ShellFoldersKept() : before_(*ReadShellFolders(ops_)) { RemoveProgramKey(); }
  ~ShellFoldersKept() {
    const ShellFolderSnapshot now = *ReadShellFolders(ops_);
    for (const KeyValues& key : now)
      for (const RegValue& value : key.values) ops_.DeleteRegValue(RegRoot::CurrentUser, key.key, value.name);
    for (const KeyValues& key : before_)
      for (const RegValue& value : key.values) ops_.WriteRegValue(RegRoot::CurrentUser, key.key, value);
    RemoveProgramKey();
  }
  static void RemoveProgramKey() {
    const std::wstring key = Widen(kProgramKey);
    SHDeleteKeyW(HKEY_CURRENT_USER, key.c_str());  // the tree, on XP too
  }

 private:
  Win32PlatformOps ops_;
  ShellFolderSnapshot before_;
};

// Ends, at the end of a test, every explorer.exe started during it.
class NewShellsEnded {
 public:
  NewShellsEnded() : before_(ShellPids()) {}
  ~NewShellsEnded() {
    for (DWORD pid : ShellPids()) {
      if (std::find(before_.begin(), before_.end(), pid) != before_.end()) continue;
      UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
      if (process && TerminateProcess(process.get(), 0)) WaitForSingleObject(process.get(), 5000);
    }
  }

 private:
  std::vector<DWORD> before_;
};

// The user's own folders before any switch: a mix of types, another drive letter, a
// value longer than MAX_PATH and a text without terminator; Favorites and AppData
// missing from one key each.
class WayBackShellE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::RunningUnderWine());  // ends the shell and rewrites shell folders
    const std::string sf = kShellFoldersKey, usf = kUserShellFoldersKey;
    for (const char* name : {"Favorites", "AppData", "Personal"}) {
      ops.DeleteRegValue(RegRoot::CurrentUser, sf, name);
      ops.DeleteRegValue(RegRoot::CurrentUser, usf, name);
    }
    // Shell Folders agrees with User Shell Folders, as on a real system: a shell that
    // starts again may rewrite the first from the second.
    for (const RegValue& value :
         {Sz("Desktop", "D:\\我的\\Desktop"), Sz("Personal", "E:\\Documents"),
          Sz("AppData", "C:\\users\\me\\AppData\\Roaming"), Sz("Velkor Long", std::string(300, 'L')),
          RegValue{"Velkor Unterminated", kRegSz, std::string("D\0:\0\\\0", 6)}})
      ASSERT_TRUE(ops.WriteRegValue(RegRoot::CurrentUser, sf, value));
    for (const RegValue& value : {Expand("Desktop", "D:\\我的\\Desktop"), Expand("Personal", "E:\\Documents"),
                                  Sz("AppData", "C:\\users\\me\\AppData\\Roaming"), Sz("Favorites", "D:\\Favorites")})
      ASSERT_TRUE(ops.WriteRegValue(RegRoot::CurrentUser, usf, value));
    before = *ReadShellFolders(ops);

    for (const std::wstring& dir :
         {program.ConfigRoot(), program.ProfilesRoot(), Root(L"工作"), Root(L"工作\\Desktop"), Root(L"工作\\Favorites"),
          Root(L"工作\\AppData"), Root(L"游戏"), Root(L"游戏\\Desktop"), Root(L"游戏\\Personal")})
      CreateDirectoryW(dir.c_str(), nullptr);
    work = Narrow(Root(L"工作\\Desktop"));
    game = Narrow(Root(L"游戏\\Desktop"));
    ASSERT_TRUE(program.WriteCatalogue({{{"0", "工作", "---", work, ""}}, {{"1", "游戏", "---", game, ""}}}));
    program.Start();
    main = program.MainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitFor([&] { return ReadRows(program.List(), kColumnCount).size() == 2; }));
  }
  std::wstring Root(const std::wstring& below) const { return program.ProfilesRoot() + L"\\" + below; }
  std::string State(int row) {
    const Rows rows = ReadRows(program.List(), kColumnCount);
    return row < static_cast<int>(rows.size()) ? rows[row][kColState] : "<no row>";
  }
  ShellFolderSnapshot Now() { return *ReadShellFolders(ops); }
  // Every value from before is back with its type and bytes, and nothing left points
  // into the profiles: values the restarted shell adds on its own are its business.
  void ExpectAsBefore() {
    const ShellFolderSnapshot now = Now();
    const std::string profiles = Narrow(program.ProfilesRoot());
    for (size_t k = 0; k < before.size(); ++k) {
      SCOPED_TRACE(before[k].key);
      for (const RegValue& value : before[k].values) {
        const auto it = std::find_if(now[k].values.begin(), now[k].values.end(),
                                     [&](const RegValue& v) { return v.name == value.name; });
        ASSERT_NE(it, now[k].values.end()) << value.name;
        EXPECT_EQ(it->type, value.type) << value.name;
        EXPECT_EQ(it->data, value.data) << value.name << ": " << RegDataText(it->data);
      }
      for (const RegValue& value : now[k].values)
        EXPECT_EQ(RegDataText(value.data).find(profiles), std::string::npos) << value.name;
    }
  }
  void OpenSettingsMenu(const char* screenshot) {
    RECT area;
    GetWindowRect(main, &area);
    area.right += 200, area.bottom += 200;
    PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 0);
    PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
    Sleep(500);
    SaveScreenArea(area, screenshot);
    PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(300);
  }

  Win32PlatformOps ops;
  ShellFoldersKept kept;
  NewShellsEnded newShells;
  ShellFolderSnapshot before;
  ProgramUnderTest program;
  HWND main = nullptr;
  std::string work, game;
};

TEST_F(WayBackShellE2E, TwoSwitchesThenTheExactRestoreBringsBackEveryValue) {
  OpenSettingsMenu("menu_way_back_disabled");  // no backup yet: the item is grey
  DoubleClickRow(program.List(), 0);
  ASSERT_TRUE(WaitFor([&] { return State(0) == "运行中"; })) << State(0);
  SelectRow(program.List(), 1);
  ChooseCommand(main, kCmdEnterDesktop);
  ASSERT_TRUE(WaitFor([&] { return State(1) == "运行中"; })) << State(1);
  EXPECT_EQ(State(0), "-");
  ASSERT_NE(Now(), before);
  std::string file;
  ASSERT_TRUE(ops.ReadWholeFile(Narrow(program.ConfigRoot()) + "\\" + kBackupFileName, file));
  EXPECT_EQ(DecodeBackup(file), before) << "the backup holds the values from before the first switch";
  OpenSettingsMenu("menu_way_back_enabled");

  ChooseCommand(main, kCmdExactRestore);
  HWND box = WaitMessageBox(program.Pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(MessageBoxText(box), kAskExactRestore);
  EXPECT_TRUE(GetDlgItem(box, IDCANCEL)) << "the question can be cancelled";
  SaveScreenshot(box, "way_back_question");
  Answer(box, IDOK);
  ASSERT_TRUE(WaitFor([&] {
    box = WaitMessageBox(program.Pid(), 100);
    return box && MessageBoxText(box).rfind("已还原到切换前的文件夹", 0) == 0;
  })) << (box ? MessageBoxText(box) : "no message");
  SaveScreenshot(box, "way_back_done");
  Answer(box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  ExpectAsBefore();  // every value of both keys, byte for byte and type for type
  EXPECT_TRUE(WaitFor([&] { return State(1) == "-"; }));
  // That the shell is started again is checked natively (way_back_test.cpp): Wine's own
  // explorer.exe, started on its own without a desktop, may end at once by a fault of
  // its own, so whether one is still running here says nothing about the program.
}

TEST_F(WayBackShellE2E, RefusedWriteLeavesTheKeysAsBeforeTheSwitch) {
  test::DenyValueWrites locked(Widen(kUserShellFoldersKey));
  ASSERT_TRUE(locked.Applied());
  DoubleClickRow(program.List(), 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = WaitMessageBox(program.Pid(), 100)) != nullptr; }, 10000));
  const std::string text = MessageBoxText(box);
  EXPECT_NE(text.find(std::string(kUserShellFoldersKey) + "\\Desktop"), std::string::npos) << text;
  SaveScreenshot(box, "switch_refused_rolled_back");
  Answer(box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  ExpectAsBefore();  // the Shell Folders values written first are back as they were
  EXPECT_EQ(State(0), "载入出错");
  EXPECT_EQ(State(1), "-");
}

TEST_F(WayBackShellE2E, DamagedBackupFileUsesTheRegistryCopy) {
  DoubleClickRow(program.List(), 0);
  ASSERT_TRUE(WaitFor([&] { return State(0) == "运行中"; })) << State(0);
  const std::wstring file = program.ConfigRoot() + L"\\" + Widen(kBackupFileName);
  test::WriteFileW(file, "VelkorShellFolders 1\nkey 00\n");  // cut short
  ChooseCommand(main, kCmdExactRestore);
  HWND box = WaitMessageBox(program.Pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(MessageBoxText(box), kBackupFileDamaged);
  Answer(box, IDOK);
  ASSERT_TRUE(WaitFor([&] {
    box = WaitMessageBox(program.Pid(), 100);
    return box && MessageBoxText(box) == kAskExactRestore;
  }));
  Answer(box, IDOK);
  ASSERT_TRUE(WaitFor([&] {
    box = WaitMessageBox(program.Pid(), 100);
    return box && MessageBoxText(box).rfind("已还原到切换前的文件夹", 0) == 0;
  }));
  Answer(box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  ExpectAsBefore();
}

}  // namespace
}  // namespace velkor::e2e
