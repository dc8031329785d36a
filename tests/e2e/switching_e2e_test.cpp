// Switching, shell restart and restore of the real program. These cases end every
// explorer.exe of the prefix, so their suites are named ...ShellE2E and run in a test
// process of their own (see scripts/run-e2e).
#include <windows.h>
#include <psapi.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_view.h"
#include "driver_win.h"
#include "platform/handles_win.h"
#include "platform/platform_ops_win.h"
#include "platform/proc_address_win.h"
#include "switching/restore_window_win.h"
#include "switching/shell_backup.h"
#include "switching/shell_folders.h"

namespace velkor::e2e {
namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kKeys[] = {kShellFoldersKey, kUserShellFoldersKey};

std::string Reg(const char* key, const char* name) {
  Win32PlatformOps ops;
  return ops.ReadRegText(RegRoot::CurrentUser, std::string(key) + "\\" + name);
}

void SetReg(const char* key, const char* name, const std::string& value) {
  Win32PlatformOps ops;
  ops.WriteRegText(RegRoot::CurrentUser, std::string(key) + "\\" + name, value);
}

// The texts of every shell-folder value, both keys.
std::vector<std::string> AllShellFolders() {
  std::vector<std::string> values;
  for (const char* key : kKeys)
    for (const ShellFolder& folder : kShellFolderTable) values.push_back(Reg(key, folder.valueName));
  return values;
}

// Every shell-folder value switching and the restore may write, kept as it was (type and
// data, or its absence) and put back at the end.
class ShellFoldersGuard {
 public:
  ShellFoldersGuard() {
    for (const char* key : kKeys) {
      for (const ShellFolder& folder : kShellFolderTable) {
        Saved saved;
        saved.key = Widen(key);
        saved.name = Widen(folder.valueName);
        DWORD size = 0;
        saved.present = RegGetValueW(HKEY_CURRENT_USER, saved.key.c_str(), saved.name.c_str(),
                                     RRF_RT_ANY | RRF_NOEXPAND, &saved.type, nullptr, &size) == ERROR_SUCCESS;
        saved.data.resize(size);
        if (saved.present)
          RegGetValueW(HKEY_CURRENT_USER, saved.key.c_str(), saved.name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &saved.type,
                       saved.data.data(), &size);
        saved_.push_back(saved);
      }
    }
  }
  ~ShellFoldersGuard() {
    for (const Saved& s : saved_) {
      if (s.present)
        SHSetValueW(HKEY_CURRENT_USER, s.key.c_str(), s.name.c_str(), s.type, s.data.data(),
                    static_cast<DWORD>(s.data.size()));
      else
        SHDeleteValueW(HKEY_CURRENT_USER, s.key.c_str(), s.name.c_str());
    }
  }
  // Gives every value a recognisable text: "C:\before\" + value name.
  static void MarkAll() {
    for (const char* key : kKeys)
      for (const ShellFolder& folder : kShellFolderTable)
        SetReg(key, folder.valueName, std::string("C:\\before\\") + folder.valueName);
  }

 private:
  struct Saved {
    std::wstring key, name;
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
  };
  std::vector<Saved> saved_;
};

std::vector<DWORD> PidsNamed(const wchar_t* exactName) {
  std::vector<DWORD> pids;
  UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL ok = Process32FirstW(snapshot.get(), &entry); ok; ok = Process32NextW(snapshot.get(), &entry))
    if (wcscmp(entry.szExeFile, exactName) == 0) pids.push_back(entry.th32ProcessID);
  return pids;
}

bool AnyAlive(const std::vector<DWORD>& pids) {
  const std::vector<DWORD> now = PidsNamed(L"explorer.exe");
  return std::any_of(pids.begin(), pids.end(),
                     [&](DWORD p) { return std::find(now.begin(), now.end(), p) != now.end(); });
}

// Ends, at the end of a test, every explorer.exe the test (or the program) started.
class NewShellsEnded {
 public:
  NewShellsEnded() : before_(PidsNamed(L"explorer.exe")) {}
  ~NewShellsEnded() {
    for (DWORD pid : PidsNamed(L"explorer.exe")) {
      if (std::find(before_.begin(), before_.end(), pid) != before_.end()) continue;
      UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
      if (process && TerminateProcess(process.get(), 0)) WaitForSingleObject(process.get(), 5000);
    }
  }

 private:
  std::vector<DWORD> before_;
};

// A process that only waits, running under the given file name.
class Decoy {
 public:
  explicit Decoy(const std::wstring& fileName) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring sleeper = self;
    sleeper = sleeper.substr(0, sleeper.rfind(L'\\')) + L"\\sleeper.exe";
    const std::wstring exe = dir_ / fileName;
    CopyFileW(sleeper.c_str(), exe.c_str(), FALSE);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring line = L"\"" + exe + L"\"";
    if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      const UniqueHandle thread(pi.hThread);
      process_.reset(pi.hProcess);
      pid_ = pi.dwProcessId;
    }
  }
  ~Decoy() {
    if (Running()) TerminateProcess(process_.get(), 0);
    if (process_) WaitForSingleObject(process_.get(), 5000);
  }
  bool Running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
  DWORD Pid() const { return pid_; }

 private:
  test::TempDir dir_;
  UniqueHandle process_;
  DWORD pid_ = 0;
};

// The system version Wine reports to the program ("winxp", "win7"), for this test only.
class ReportedVersion {
 public:
  explicit ReportedVersion(const wchar_t* version) {
    const std::wstring v = version;
    SHSetValueW(HKEY_CURRENT_USER, kKey, L"Version", REG_SZ, v.c_str(),
                static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
  }
  ~ReportedVersion() { SHDeleteKeyW(HKEY_CURRENT_USER, kKey); }

 private:
  static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\" VELKOR_EXE_NAME;
};

std::string WindowTitle(HWND window) {
  wchar_t title[256] = L"";
  GetWindowTextW(window, title, 256);
  return Narrow(title);
}

// Two profiles beside the program: 工作 (a 1.5 MiB desktop, Favorites and AppData)
// and 游戏 (its desktop only), listed in that order; neither is in use at start.
class ProfilesFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::RunningUnderWine());  // these cases end the shell and rewrite shell folders
    for (const std::wstring& dir :
         {program.ConfigRoot(), program.ProfilesRoot(), Root(L"工作"), Root(L"工作\\Desktop"), Root(L"工作\\Favorites"),
          Root(L"工作\\AppData"), Root(L"游戏"), Root(L"游戏\\Desktop")})
      CreateDirectoryW(dir.c_str(), nullptr);
    test::WriteFileW(Root(L"工作\\Desktop\\big.bin"), std::string(1572864, 'x'));
    work = Narrow(Root(L"工作\\Desktop")) + "\\";  // a trailing backslash is kept as typed
    game = Narrow(Root(L"游戏\\Desktop"));
    WriteCatalogue({{{"0", "工作", "---", work, ""}}, {{"1", "游戏", "---", game, ""}}});
  }
  std::wstring Root(const std::wstring& below) const { return program.ProfilesRoot() + L"\\" + below; }
  void WriteCatalogue(std::vector<CatalogueRow> rows) { ASSERT_TRUE(program.WriteCatalogue(std::move(rows))); }
  HWND StartProgram() {
    program.Start();
    HWND main = program.MainWindow();
    if (main) WaitFor([&] { return ReadRows(program.List(), kColumnCount).size() == 2; });
    return main;
  }
  std::string State(int row) {
    const Rows rows = ReadRows(program.List(), kColumnCount);
    return row < static_cast<int>(rows.size()) ? rows[row][kColState] : "<no row>";
  }

  // The backup's second copy under the program's key would outlive the test.
  struct ProgramKeyRemoved {
    ProgramKeyRemoved() { Remove(); }
    ~ProgramKeyRemoved() { Remove(); }
    static void Remove() {
      const std::wstring key = Widen(kProgramKey);
      SHDeleteKeyW(HKEY_CURRENT_USER, key.c_str());  // the tree, on XP too
    }
  };

  ShellFoldersGuard shellFolders;
  ProgramKeyRemoved programKey;
  NewShellsEnded newShells;
  ProgramUnderTest program;
  std::string work, game;
};

using SwitchShellE2E = ProfilesFixture;

TEST_F(SwitchShellE2E, DoubleClickEndsEveryShellAndPointsTheShellFoldersIntoTheProfile) {
  ShellFoldersGuard::MarkAll();
  Decoy shell(L"explorer.exe"), other(L"EXPLORER.EXE");
  ASSERT_TRUE(shell.Running() && other.Running());
  HWND main = StartProgram();
  ASSERT_TRUE(main);
  ASSERT_EQ(State(0), "-");
  const std::vector<DWORD> shells = PidsNamed(L"explorer.exe");
  ASSERT_NE(std::find(shells.begin(), shells.end(), shell.Pid()), shells.end());

  DoubleClickRow(program.List(), 0);
  ASSERT_TRUE(WaitFor([&] { return State(0) == "运行中"; })) << State(0);
  EXPECT_TRUE(WaitFor([&] { return !AnyAlive(shells); })) << "every explorer.exe, Wine's own included, is ended";
  EXPECT_FALSE(shell.Running());
  EXPECT_TRUE(other.Running()) << "EXPLORER.EXE is not the shell";
  EXPECT_FALSE(FindWindowOf(program.Pid(), L"#32770", nullptr)) << "no question for a row not in use";
  EXPECT_EQ(ReadRows(program.List(), kColumnCount),
            (Rows{{"0", "工作", "1 MB", work, "运行中"}, {"1", "游戏", "0 MB", game, "-"}}));
  const std::string root = Narrow(Root(L"工作"));
  for (const char* key : kKeys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Reg(key, "Desktop"), work);
    EXPECT_EQ(Reg(key, "Favorites"), root + "\\Favorites");
    EXPECT_EQ(Reg(key, "AppData"), root + "\\AppData");
    for (const char* untouched : {"Cookies", "Personal", "History", "Cache", "Startup", "Local AppData"})
      EXPECT_EQ(Reg(key, untouched), std::string("C:\\before\\") + untouched);
  }
  SaveScreenshot(main, "main_window_after_switch");

  // "进入桌面" on a profile without those folders leaves them with the first profile.
  SelectRow(program.List(), 1);
  ChooseCommand(main, kCmdEnterDesktop);
  ASSERT_TRUE(WaitFor([&] { return State(1) == "运行中"; })) << State(1);
  EXPECT_EQ(State(0), "-");
  for (const char* key : kKeys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Reg(key, "Desktop"), game);
    EXPECT_EQ(Reg(key, "Favorites"), root + "\\Favorites");
    EXPECT_EQ(Reg(key, "AppData"), root + "\\AppData");
  }
}

TEST_F(SwitchShellE2E, RowInUseAsksFirstButEnterDesktopDoesNot) {
  ShellFoldersGuard::MarkAll();
  SetReg(kShellFoldersKey, "Desktop", game);
  SetReg(kUserShellFoldersKey, "Desktop", game);
  HWND main = StartProgram();
  ASSERT_TRUE(main);
  ASSERT_EQ(State(1), "运行中");
  Decoy shell(L"explorer.exe");
  ASSERT_TRUE(shell.Running());
  const std::vector<std::string> before = AllShellFolders();

  DoubleClickRow(program.List(), 1);
  HWND box = WaitMessageBox(program.Pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(MessageBoxText(box), "桌面已经在运行中了，是否重新载入？");
  EXPECT_TRUE(GetDlgItem(box, IDCANCEL)) << "the question can be cancelled";
  SaveScreenshot(box, "switch_reload_question");
  Answer(box, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  // Reading the list waits until the program is back in its message loop, so whatever
  // the answer led to has happened by now.
  EXPECT_EQ(State(1), "运行中");
  EXPECT_TRUE(shell.Running());
  EXPECT_EQ(AllShellFolders(), before);

  ChooseCommand(main, kCmdEnterDesktop);
  // No backup yet, and the values already name a profile: said once before the first change.
  box = WaitMessageBox(program.Pid());
  ASSERT_TRUE(box);
  EXPECT_NE(MessageBoxText(box).find(game), std::string::npos) << MessageBoxText(box);
  SaveScreenshot(box, "switch_values_already_in_profile");
  Answer(box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return !shell.Running(); }));
  EXPECT_TRUE(WaitFor([&] { return Reg(kUserShellFoldersKey, "Desktop") == game; }));
  EXPECT_FALSE(FindWindowOf(program.Pid(), L"#32770", nullptr));
  EXPECT_EQ(State(1), "运行中");

  // The question answered with OK switches as well.
  SetReg(kUserShellFoldersKey, "Desktop", "C:\\before\\Desktop");
  DoubleClickRow(program.List(), 1);
  box = WaitMessageBox(program.Pid());
  ASSERT_TRUE(box);
  Answer(box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return Reg(kUserShellFoldersKey, "Desktop") == game; }));
}

TEST_F(SwitchShellE2E, MissingDesktopFolderIsReportedAndNothingChanges) {
  const std::string gone = Narrow(Root(L"丢失\\Desktop"));
  WriteCatalogue({{{"0", "工作", "---", work, ""}}, {{"1", "丢失", "---", gone, ""}}});
  // The prefix's own shell folders stay: the folder window below needs a real desktop.
  const std::vector<std::string> before = AllShellFolders();
  HWND main = StartProgram();
  ASSERT_TRUE(main);
  Decoy shell(L"explorer.exe");
  ASSERT_TRUE(shell.Running());

  DoubleClickRow(program.List(), 1);
  HWND box = WaitMessageBox(program.Pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(MessageBoxText(box), "桌面配置损坏或者丢失！点击确定立即查看软件根目录.");
  SaveScreenshot(box, "switch_missing_desktop");
  Answer(box, IDOK);
  // The run directory opens in a folder window of Wine's explorer, titled by the folder.
  const std::wstring runDirName = program.RunDir().wide().substr(program.RunDir().wide().rfind(L'\\') + 1);
  HWND folder = nullptr;
  EXPECT_TRUE(WaitFor(
      [&] {
        for (DWORD pid : PidsNamed(L"explorer.exe"))
          if ((folder = FindWindowOf(pid, L"ExplorerWClass", runDirName.c_str()))) return true;
        return false;
      },
      10000));
  if (folder) PostMessageW(folder, WM_CLOSE, 0, 0);
  EXPECT_TRUE(shell.Running());
  EXPECT_EQ(AllShellFolders(), before);
  EXPECT_EQ(ReadRows(program.List(), kColumnCount)[1], (std::vector<std::string>{"1", "丢失", "0 MB", gone, "-"}));
}

TEST_F(SwitchShellE2E, RefusedDesktopWriteShowsLoadError) {
  ShellFoldersGuard::MarkAll();
  HWND main = StartProgram();
  ASSERT_TRUE(main);
  test::DenyValueWrites locked(Widen(kShellFoldersKey));
  ASSERT_TRUE(locked.Applied());
  const std::vector<std::string> before = AllShellFolders();
  DoubleClickRow(program.List(), 0);
  // One step: the refused first write stops it, and the user is told which value.
  HWND box = WaitMessageBox(program.Pid(), 10000);
  ASSERT_TRUE(box);
  EXPECT_NE(MessageBoxText(box).find(std::string(kShellFoldersKey) + "\\Desktop"), std::string::npos)
      << MessageBoxText(box);
  Answer(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return State(0) == "载入出错"; })) << State(0);
  EXPECT_EQ(State(1), "-");
  EXPECT_EQ(AllShellFolders(), before);
  SaveScreenshot(main, "main_window_load_error");
}

TEST_F(SwitchShellE2E, RestartShellLeavesExactlyOneNewExplorer) {
  HWND main = StartProgram();
  ASSERT_TRUE(main);
  Decoy shell(L"explorer.exe");
  ASSERT_TRUE(shell.Running());
  // A file named like the shell beside the program must not be what starts.
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring sleeper = std::wstring(self).substr(0, std::wstring(self).rfind(L'\\')) + L"\\sleeper.exe";
  ASSERT_TRUE(CopyFileW(sleeper.c_str(), (program.RunDir() / L"explorer.exe").c_str(), FALSE));
  const std::vector<DWORD> before = PidsNamed(L"explorer.exe");
  ChooseCommand(main, kCmdRestartShell);
  auto oneNew = [&] {
    const std::vector<DWORD> now = PidsNamed(L"explorer.exe");
    return now.size() == 1 && std::find(before.begin(), before.end(), now[0]) == before.end();
  };
  ASSERT_TRUE(WaitFor(oneNew, 10000)) << PidsNamed(L"explorer.exe").size() << " explorer.exe running";
  EXPECT_FALSE(shell.Running());
  Sleep(500);  // a second shell started late would show now
  EXPECT_TRUE(oneNew());
  wchar_t windows[MAX_PATH] = L"", image[MAX_PATH] = L"";
  GetWindowsDirectoryW(windows, MAX_PATH);
  UniqueHandle started(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, PidsNamed(L"explorer.exe").at(0)));
  ASSERT_TRUE(started && GetModuleFileNameExW(started.get(), nullptr, image, MAX_PATH));
  EXPECT_EQ(_wcsicmp(image, (std::wstring(windows) + L"\\explorer.exe").c_str()), 0) << Narrow(image);
}

// ---- restore ----

class RestoreShellE2E : public ProfilesFixture {
 protected:
  // Opens "还原设置", checks the account box holds the logon name, and runs the restore
  // for `account`: first answered Cancel (nothing changes), then OK.
  void Restore(const std::string& account, const char* expectedTitle, const char* screenshot) {
    ChooseCommand(program.MainWindow(), kCmdRestore);
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      return (window = FindWindowOf(program.Pid(), kRestoreWindowClass, nullptr)) && IsWindowVisible(window);
    }));
    EXPECT_EQ(WindowTitle(window), expectedTitle);
    wchar_t user[257];
    DWORD size = 257;
    ASSERT_TRUE(GetUserNameW(user, &size));
    EXPECT_EQ(ControlText(window, kIdRestoreAccount), Narrow(user));
    SetControlText(window, kIdRestoreAccount, account);
    SaveScreenshot(window, screenshot);

    Decoy shell(L"explorer.exe");
    ASSERT_TRUE(shell.Running());
    const std::vector<std::string> before = AllShellFolders();
    ClickButton(window, kIdRestoreButton);
    HWND box = WaitMessageBox(program.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), "您确定还原成为系统原来的桌面路径吗？");
    EXPECT_TRUE(GetDlgItem(box, IDCANCEL)) << "the question can be cancelled";
    Answer(box, IDCANCEL);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(shell.Running());
    EXPECT_EQ(AllShellFolders(), before);

    ClickButton(window, kIdRestoreButton);
    box = WaitMessageBox(program.Pid());
    ASSERT_TRUE(box);
    Answer(box, IDOK);
    ASSERT_TRUE(WaitFor([&] {
      box = WaitMessageBox(program.Pid(), 100);
      // Before its first write the restore keeps the user's values; it says so when
      // they already name a profile.
      if (box && MessageBoxText(box).rfind("注意：", 0) == 0) {
        Answer(box, IDOK);
        return false;
      }
      return box && MessageBoxText(box) == "恢复完毕！！";
    }));
    EXPECT_FALSE(shell.Running());
    SaveScreenshot(box, "restore_done");
    Answer(box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(window)) << "the window stays open";
    EXPECT_EQ(ControlText(window, kIdRestoreAccount), account);
  }

  // Starts the program with 工作 in use, then grows both desktops: only the second row
  // is measured again by the refresh after the restore.
  HWND StartWithWorkInUse() {
    ShellFoldersGuard::MarkAll();
    SetReg(kShellFoldersKey, "Desktop", work);
    SetReg(kUserShellFoldersKey, "Desktop", work);
    HWND main = StartProgram();
    if (main) {
      EXPECT_TRUE(WaitFor([&] { return State(0) == "运行中"; })) << State(0);
      test::WriteFileW(Root(L"工作\\Desktop\\more.bin"), std::string(1048576, 'y'));
      test::WriteFileW(Root(L"游戏\\Desktop\\game.bin"), std::string(2 * 1048576, 'z'));
    }
    return main;
  }

  void ExpectRefreshedList() {
    EXPECT_TRUE(WaitFor([&] { return State(0) == "-"; }));
    EXPECT_EQ(ReadRows(program.List(), kColumnCount),
              (Rows{{"0", "工作", "1 MB", work, "-"}, {"1", "游戏", "2 MB", game, "-"}}));
  }
};

TEST_F(RestoreShellE2E, Win7WritesElevenDefaults) {
  ReportedVersion win7(L"win7");
  ASSERT_EQ(GetFileAttributesW(L"C:\\Documents and settings\\abc\\My Documents"), INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(StartWithWorkInUse());
  EXPECT_EQ(WindowTitle(program.MainWindow()), "Windows多Velkor[Win7]");
  Restore("abc", "还原到系统原来的桌面[Win7]", "restore_window_win7");

  const std::string u = "C:\\Users\\abc";
  for (const char* key : kKeys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Reg(key, "Desktop"), u + "\\Desktop");
    EXPECT_EQ(Reg(key, "AppData"), u + "\\AppData\\Roaming");
    EXPECT_EQ(Reg(key, "Cookies"), u + "\\AppData\\Roaming\\Microsoft\\Windows\\Cookies");
    EXPECT_EQ(Reg(key, "Startup"), u + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup");
    EXPECT_EQ(Reg(key, "History"), u + "\\AppData\\Local\\Microsoft\\Windows\\History");
    for (const char* untouched : {"Favorites", "Cache", "Local AppData"})
      EXPECT_EQ(Reg(key, untouched), std::string("C:\\before\\") + untouched);
  }
  EXPECT_EQ(Reg(kUserShellFoldersKey, "Personal"), "D:\\My Documents\\");
  EXPECT_EQ(Reg(kShellFoldersKey, "Personal"), "C:\\before\\Personal");
  ExpectRefreshedList();
}

TEST_F(RestoreShellE2E, XpWritesFourMore) {
  ReportedVersion xp(L"winxp");
  const std::wstring documents = L"C:\\Documents and settings";
  ASSERT_EQ(GetFileAttributesW(documents.c_str()), INVALID_FILE_ATTRIBUTES);
  struct RemovedAtEnd {
    std::wstring path;
    ~RemovedAtEnd() { test::RemoveTreeW(path); }
  } made{documents};
  for (const wchar_t* dir : {L"", L"\\abc", L"\\abc\\My Documents"})
    CreateDirectoryW((documents + dir).c_str(), nullptr);
  ASSERT_TRUE(StartWithWorkInUse());
  EXPECT_EQ(WindowTitle(program.MainWindow()), "Windows多Velkor[XP]");
  Restore("abc", "还原到系统原来的桌面[WinXP]", "restore_window_xp");

  const std::string u = "C:\\Users\\abc", xpRoot = "C:\\Documents and Settings\\abc";
  for (const char* key : kKeys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Reg(key, "Desktop"), xpRoot + "\\桌面");
    EXPECT_EQ(Reg(key, "AppData"), u + "\\AppData\\Roaming");
    EXPECT_EQ(Reg(key, "Cookies"), u + "\\AppData\\Roaming\\Microsoft\\Windows\\Cookies");
    EXPECT_EQ(Reg(key, "History"), u + "\\AppData\\Local\\Microsoft\\Windows\\History");
  }
  EXPECT_EQ(Reg(kShellFoldersKey, "Personal"), xpRoot + "\\My Documents");
  EXPECT_EQ(Reg(kShellFoldersKey, "Startup"), xpRoot + "\\「开始」菜单\\程序\\启动");
  EXPECT_EQ(Reg(kUserShellFoldersKey, "Personal"), "C:\\Documents and settings\\abc\\My Documents");
  EXPECT_EQ(Reg(kUserShellFoldersKey, "Startup"),
            u + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup");
  ExpectRefreshedList();
}

#if !defined(_WIN64)
// ---- the 32-bit program on 64-bit Windows ----

// What a 64-bit process reads: the registry view a 64-bit shell has.
std::string Reg64(const char* key, const char* name) {
  UniqueKey k;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, k.put()) !=
      ERROR_SUCCESS)
    return "<no key>";
  wchar_t text[1024] = L"";
  DWORD size = sizeof(text) - sizeof(wchar_t), type = REG_NONE;
  if (RegQueryValueExW(k.get(), Widen(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
      ERROR_SUCCESS)
    return "<missing>";
  return type == REG_SZ ? Narrow(text) : "<not REG_SZ>";
}

bool Is64BitProcess(DWORD pid) {
  UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
  BOOL wow64 = TRUE;
  return process && IsWow64Process(process.get(), &wow64) && !wow64;
}

// Starts the system's own 64-bit explorer.exe (a folder window), as a 64-bit shell to end:
// Wine's desktop process may already have been ended by an earlier case. System32 is
// the 64-bit folder only with the file-system redirection of 32-bit programs turned off.
UniqueHandle Start64BitExplorer() {
  using DisableFn = BOOL(WINAPI*)(PVOID*);
  using RevertFn = BOOL(WINAPI*)(PVOID);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto disable = ProcAddress<DisableFn>(kernel, "Wow64DisableWow64FsRedirection");
  const auto revert = ProcAddress<RevertFn>(kernel, "Wow64RevertWow64FsRedirection");
  wchar_t system[MAX_PATH];
  if (!disable || !revert || !GetSystemDirectoryW(system, MAX_PATH)) return UniqueHandle();
  const std::wstring exe = std::wstring(system) + L"\\explorer.exe";
  std::wstring line = L"\"" + exe + L"\" C:\\";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  PVOID redirection = nullptr;
  if (!disable(&redirection)) return UniqueHandle();
  const BOOL started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  revert(redirection);
  if (!started) return UniqueHandle();
  const UniqueHandle thread(pi.hThread);
  return UniqueHandle(pi.hProcess);
}

// Under a 64-bit prefix only (scripts/test leaves it out of the 32-bit prefix run).
using Wow64ShellE2E = ProfilesFixture;

// The per-user shell-folder keys are not redirected for 32-bit programs: a switch from
// the 32-bit program writes the texts the 64-bit program writes (the expectations of
// DoubleClickEndsEveryShell... above), where the 64-bit shell reads them, and it ends
// a 64-bit shell too.
TEST_F(Wow64ShellE2E, SwitchWritesWhereThe64BitShellReadsAndEndsIt) {
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64) && wow64) << "a 32-bit test under a 64-bit prefix";
  ShellFoldersGuard::MarkAll();
  const UniqueHandle shell64 = Start64BitExplorer();
  ASSERT_TRUE(shell64);
  ASSERT_TRUE(Is64BitProcess(GetProcessId(shell64.get())));
  HWND main = StartProgram();
  ASSERT_TRUE(main);
  const std::vector<DWORD> shells = PidsNamed(L"explorer.exe");
  ASSERT_NE(std::find(shells.begin(), shells.end(), GetProcessId(shell64.get())), shells.end());

  DoubleClickRow(program.List(), 0);
  ASSERT_TRUE(WaitFor([&] { return State(0) == "运行中"; })) << State(0);
  EXPECT_TRUE(WaitFor([&] { return !AnyAlive(shells); })) << "the 64-bit explorer.exe is ended as well";
  EXPECT_EQ(WaitForSingleObject(shell64.get(), 0), WAIT_OBJECT_0);
  const std::string root = Narrow(Root(L"工作"));
  for (const char* key : kKeys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Reg64(key, "Desktop"), work);
    EXPECT_EQ(Reg64(key, "Favorites"), root + "\\Favorites");
    EXPECT_EQ(Reg64(key, "AppData"), root + "\\AppData");
    for (const char* untouched : {"Cookies", "Personal", "History", "Cache", "Startup", "Local AppData"})
      EXPECT_EQ(Reg64(key, untouched), std::string("C:\\before\\") + untouched);
    for (const ShellFolder& folder : kShellFolderTable)
      EXPECT_EQ(Reg64(key, folder.valueName), Reg(key, folder.valueName)) << "one value for both views";
  }
}
#endif

}  // namespace
}  // namespace velkor::e2e
