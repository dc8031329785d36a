// The way back: the user's own shell folders kept before the first change and written
// back exactly, and no step of switching or restoring left half done.
#include <gtest/gtest.h>

#include "catalogue/catalogue_view.h"
#include "fake_platform.h"
#include "memory_rows.h"
#include "switching/restore.h"
#include "switching/shell_backup.h"
#include "switching/switching.h"

namespace velkor {
namespace {

using test::FakePlatform;
using test::MemoryRows;

constexpr char kRunDir[] = "C:\\app";
const std::string kConfig = "C:\\app\\软件配置\\";
const std::string kProfiles = kConfig + "桌面配置\\";
const std::string kBackupFile = kConfig + kBackupFileName;
const std::string kBackupCopy = std::string("HKCU\\") + kProgramKey + "\\" + kBackupValueName;

RegValue Sz(const std::string& name, const std::string& text) { return {name, kRegSz, RegTextData(text)}; }
RegValue Expand(const std::string& name, const std::string& text) { return {name, kRegExpandSz, RegTextData(text)}; }

// The user's own folders: a mix of types, another drive, a value longer than MAX_PATH,
// an unterminated text and a type the program never writes.
struct UserFolders {
  UserFolders() {
    for (const RegValue& v : {Sz("Desktop", "C:\\Users\\me\\Desktop"), Sz("Personal", "E:\\文档"),
                              Sz("AppData", "C:\\Users\\me\\AppData\\Roaming"), Sz("Long", std::string(300, 'L')),
                              RegValue{"Odd", kRegSz, std::string("E\0:\0\\\0", 6)},
                              RegValue{"Blob", 0x4242, std::string("\x01\x00\xff", 3)}})
      ops.SetRegValue(kShellFoldersKey, v);
    for (const RegValue& v : {Expand("Desktop", "%USERPROFILE%\\Desktop"), Expand("Personal", "E:\\文档"),
                              Sz("Cache", "%USERPROFILE%\\Cache"), RegValue{"Empty", kRegExpandSz, ""}})
      ops.SetRegValue(kUserShellFoldersKey, v);
    ops.AddDir(kProfiles);
    ops.AddDir(kProfiles + "工作\\Desktop");
    ops.AddDir(kProfiles + "工作\\Favorites");
    ops.AddDir(kProfiles + "工作\\Personal");
    ops.AddDir(kProfiles + "游戏\\Desktop");
    ops.AddDir(kProfiles + "游戏\\AppData");
    ops.processes = {{10, "explorer.exe"}};
    rows.AddTexts({"0", "工作", "---", kProfiles + "工作\\Desktop", "-"});
    rows.AddTexts({"1", "游戏", "---", kProfiles + "游戏\\Desktop", "-"});
  }
  ShellFolderSnapshot Now() { return *ReadShellFolders(ops); }
  void SwitchTo(int row) {
    rows.Select(row);
    SwitchToProfile(rows, ops, kRunDir);
  }
  FakePlatform ops;
  MemoryRows rows;
};

class WayBackTest : public ::testing::Test, protected UserFolders {};

TEST_F(WayBackTest, BackupIsTakenOnceBeforeTheFirstWrite) {
  const ShellFolderSnapshot before = Now();
  SwitchTo(0);
  ASSERT_TRUE(ops.HasFile(kBackupFile));
  EXPECT_EQ(DecodeBackup(ops.files[kBackupFile]), before);
  ASSERT_TRUE(ops.regTyped.count(kBackupCopy));
  EXPECT_EQ(DecodeBackup(ops.regTyped[kBackupCopy].data), before);
  const std::string firstFile = ops.files[kBackupFile];
  SwitchTo(1);
  SwitchTo(0);
  EXPECT_EQ(ops.files[kBackupFile], firstFile) << "a later switch never replaces the backup";
  EXPECT_EQ(DecodeBackup(ops.regTyped[kBackupCopy].data), before);
  EXPECT_TRUE(ops.messages.empty());
}

TEST_F(WayBackTest, ExactRestoreBringsBackTypesBytesAndRemovesWhatDidNotExist) {
  const ShellFolderSnapshot before = Now();
  SwitchTo(0);
  SwitchTo(1);
  ASSERT_NE(Now(), before);
  ASSERT_TRUE(ops.ReadRegText(RegRoot::CurrentUser, std::string(kShellFoldersKey) + "\\Favorites").size());
  ops.processes = {{20, "explorer.exe"}};
  ops.messages.clear();
  RestoreFromBackup(ops, rows, kConfig);
  EXPECT_EQ(Now(), before);  // byte for byte and type for type; Favorites is gone again
  EXPECT_EQ(ops.endedProcesses.back(), 20u);
  EXPECT_EQ(ops.shellOpens.back(), "open|C:\\Windows\\explorer.exe") << "the shell is started again";
  ASSERT_EQ(ops.messages.size(), 2u);
  EXPECT_EQ(ops.messages[0], kAskExactRestore);
  EXPECT_EQ(ops.messageButtons[0], Buttons::OkCancel);
  EXPECT_NE(ops.messages[1].find("Favorites"), std::string::npos) << "says what it wrote: " << ops.messages[1];
  EXPECT_EQ(rows.Cell(0, kColState), "-");
  EXPECT_EQ(rows.Cell(1, kColState), "-");
}

TEST_F(WayBackTest, FixedRestoreKeepsTheUserValuesBeforeItsFirstWrite) {
  const ShellFolderSnapshot before = Now();
  RestoreOriginalFolders(ops, rows, "abc", AppPaths{kRunDir, "v.exe"});
  EXPECT_EQ(DecodeBackup(ops.files[kBackupFile]), before);
  ASSERT_FALSE(ops.regWriteLog.empty());
  EXPECT_EQ(ops.regWriteLog[0].rfind(kBackupCopy, 0), 0u) << ops.regWriteLog[0];
  ops.processes = {{30, "explorer.exe"}};
  RestoreFromBackup(ops, rows, kConfig);
  EXPECT_EQ(Now(), before);
}

TEST_F(WayBackTest, ExactRestoreCancelledChangesNothing) {
  SwitchTo(0);
  const ShellFolderSnapshot switched = Now();
  ops.endedProcesses.clear();
  ops.regWriteLog.clear();
  ops.messageAnswers = {kCancel};
  RestoreFromBackup(ops, rows, kConfig);
  EXPECT_EQ(Now(), switched);
  EXPECT_TRUE(ops.endedProcesses.empty());
  EXPECT_TRUE(ops.regWriteLog.empty());
}

TEST_F(WayBackTest, RefusedSwitchWriteRollsTheStepBack) {
  const ShellFolderSnapshot before = Now();
  // The third write of the switch (Desktop written to both keys, then Favorites).
  ops.refusedRegWrites = {"HKCU\\" + ShellFoldersValue("Favorites")};
  SwitchTo(0);
  EXPECT_EQ(Now(), before);
  EXPECT_EQ(ops.shellOpens, std::vector<std::string>{"open|C:\\Windows\\explorer.exe"}) << "the shell comes back";
  ASSERT_EQ(ops.messages.size(), 1u);
  EXPECT_NE(ops.messages[0].find(ShellFoldersValue("Favorites")), std::string::npos) << ops.messages[0];
  EXPECT_EQ(rows.Cell(0, kColState), "载入出错");
  EXPECT_EQ(rows.Cell(1, kColState), "-");
}

TEST_F(WayBackTest, RefusedRestoreWriteRollsTheStepBack) {
  SwitchTo(0);
  SwitchTo(1);
  const ShellFolderSnapshot switched = Now();
  ops.messages.clear();
  ops.refusedRegWrites = {"HKCU\\" + UserShellFoldersValue("Personal")};
  RestoreFromBackup(ops, rows, kConfig);
  EXPECT_EQ(Now(), switched);
  ASSERT_EQ(ops.messages.size(), 2u);
  EXPECT_NE(ops.messages[1].find(UserShellFoldersValue("Personal")), std::string::npos) << ops.messages[1];
  EXPECT_EQ(ops.shellOpens.back(), "open|C:\\Windows\\explorer.exe");
  EXPECT_EQ(rows.Cell(1, kColState), "运行中");
}

TEST_F(WayBackTest, UnreadableKeyStopsTheSwitchBeforeAnythingChanges) {
  ops.unreadableRegKeys = {std::string("HKCU\\") + kUserShellFoldersKey};
  SwitchTo(0);
  EXPECT_TRUE(ops.regWriteLog.empty());
  EXPECT_TRUE(ops.endedProcesses.empty());
  EXPECT_FALSE(ops.HasFile(kBackupFile));
  EXPECT_EQ(ops.messages.size(), 1u);
}

TEST_F(WayBackTest, DamagedFileFallsBackToTheRegistryCopy) {
  const ShellFolderSnapshot before = Now();
  SwitchTo(0);
  const std::string whole = ops.files[kBackupFile];
  struct Case {
    const char* what;
    std::string file;
    bool keepCopy;
    bool restored;
  } cases[] = {
      {"truncated", whole.substr(0, whole.size() / 2), true, true},
      {"one byte changed", std::string(whole).replace(whole.size() / 3, 1, "#"), true, true},
      {"empty", "", true, true},
      {"neither copy valid", whole.substr(0, whole.size() - 1), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UserFolders u;
    u.SwitchTo(0);
    u.SwitchTo(1);
    const ShellFolderSnapshot switched = u.Now();
    u.ops.files[kBackupFile] = c.file;
    if (!c.keepCopy) u.ops.regTyped[kBackupCopy].data.resize(10);
    EXPECT_EQ(BackupAvailable(u.ops, kConfig), c.keepCopy);
    u.ops.messages.clear();
    u.ops.regWriteLog.clear();
    u.ops.endedProcesses.clear();
    RestoreFromBackup(u.ops, u.rows, kConfig);
    ASSERT_FALSE(u.ops.messages.empty());
    if (c.restored) {
      EXPECT_EQ(u.ops.messages[0], kBackupFileDamaged);
      EXPECT_EQ(u.Now(), before);
    } else {
      EXPECT_EQ(u.ops.messages, std::vector<std::string>{kNoBackup});
      EXPECT_TRUE(u.ops.regWriteLog.empty());
      EXPECT_TRUE(u.ops.endedProcesses.empty());
      EXPECT_EQ(u.Now(), switched);
    }
  }
}

TEST(BackupFile, RoundTripKeepsEveryValueExactly) {
  const ShellFolderSnapshot snapshot = {
      {kShellFoldersKey,
       {Sz("Desktop", "D:\\桌面"), Sz("", "default value"), RegValue{"Odd", kRegSz, std::string("a\0b", 3)},
        RegValue{"Long", kRegExpandSz, RegTextData(std::string(600, 'x'))}, RegValue{"Bin", kRegBinary, ""},
        RegValue{"名 字\n", 0xFFFFFFFF, std::string("\0\0\xff\n END", 8)}}},
      {kUserShellFoldersKey, {}},
  };
  const std::string bytes = EncodeBackup(snapshot);
  EXPECT_EQ(DecodeBackup(bytes), snapshot);
  for (size_t cut = 0; cut < bytes.size(); cut += 7)
    EXPECT_FALSE(DecodeBackup(bytes.substr(0, cut))) << "cut at " << cut;
  for (size_t at = 0; at < bytes.size(); at += 5) {
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x01);
    EXPECT_FALSE(DecodeBackup(damaged)) << "byte " << at;
  }
  EXPECT_FALSE(DecodeBackup(bytes + "x"));
}

TEST(ExactRestorePlan, WritesWhatDiffersRemovesShellFoldersThatDidNotExist) {
  const ShellFolderSnapshot backup = {{kShellFoldersKey, {Sz("Desktop", "C:\\d"), Sz("Personal", "E:\\p")}},
                                      {kUserShellFoldersKey, {Expand("Desktop", "%USERPROFILE%\\Desktop")}}};
  const ShellFolderSnapshot current = {
      {kShellFoldersKey, {Sz("Desktop", "C:\\x"), Sz("Personal", "E:\\p"), Sz("Favorites", "C:\\f"), Sz("Other", "o")}},
      {kUserShellFoldersKey, {Sz("Desktop", "%USERPROFILE%\\Desktop")}}};
  EXPECT_EQ(ExactRestorePlan(backup, current),
            (RegChangePlan{{kShellFoldersKey, Sz("Desktop", "C:\\d")},
                           {kShellFoldersKey, {"Favorites", kRegSz, ""}, true},
                           {kUserShellFoldersKey, Expand("Desktop", "%USERPROFILE%\\Desktop")}}))
      << "Personal is equal, Other is no shell folder of the program's, REG_SZ differs from REG_EXPAND_SZ";
}

TEST_F(WayBackTest, SyncedDesktopIsWarnedAboutOnceBeforeTheFirstSwitch) {
  ops.SetRegValue("Software\\Microsoft\\OneDrive", Sz("UserFolder", "c:\\users\\me"));
  // Cancel: nothing ended, written or kept.
  ops.messageAnswers = {kCancel};
  SwitchTo(0);
  ASSERT_EQ(ops.messages.size(), 1u);
  EXPECT_NE(ops.messages[0].find("还原到切换前的文件夹"), std::string::npos) << ops.messages[0];
  EXPECT_EQ(ops.messageButtons[0], Buttons::OkCancel);
  EXPECT_TRUE(ops.endedProcesses.empty());
  EXPECT_TRUE(ops.regWriteLog.empty());
  EXPECT_FALSE(ops.HasFile(kBackupFile));
  // OK switches; the next switch does not ask again.
  SwitchTo(0);
  EXPECT_EQ(ops.messages.size(), 2u);
  EXPECT_EQ(rows.Cell(0, kColState), "运行中");
  SwitchTo(1);
  EXPECT_EQ(ops.messages.size(), 2u);
}

TEST(SyncFolders, FromOneDriveKeysAndTheUserEnvironment) {
  FakePlatform ops;
  ops.regText["HKCU\\Software\\Microsoft\\OneDrive\\Accounts\\Business1\\UserFolder"] = "D:\\OneDrive - Firma";
  ops.regText["HKCU\\Environment\\OneDrive"] = "C:\\Users\\me\\OneDrive";
  const std::vector<std::string> folders = SyncFolders(ops);
  EXPECT_NE(std::find(folders.begin(), folders.end(), "D:\\OneDrive - Firma"), folders.end());
  EXPECT_NE(std::find(folders.begin(), folders.end(), "C:\\Users\\me\\OneDrive"), folders.end());
  for (const std::string& f : folders) EXPECT_FALSE(f.empty());
}

TEST_F(WayBackTest, ValuesAlreadyInAProfileAreSaidAndKeptAsTheFirstBackup) {
  ops.SetRegValue(kShellFoldersKey, Sz("Desktop", kProfiles + "游戏\\Desktop"));
  const ShellFolderSnapshot before = Now();
  SwitchTo(0);
  ASSERT_EQ(ops.messages.size(), 1u);
  EXPECT_NE(ops.messages[0].find(kProfiles + "游戏\\Desktop"), std::string::npos) << ops.messages[0];
  EXPECT_EQ(DecodeBackup(ops.files[kBackupFile]), before);
  SwitchTo(1);
  EXPECT_EQ(ops.messages.size(), 1u);
}

TEST_F(WayBackTest, RunningOnlyWhenBothKeysNameTheDesktop) {
  SwitchTo(0);
  EXPECT_EQ(rows.Cell(0, kColState), "运行中");
  const std::string desktop = kProfiles + "工作\\Desktop";
  ops.SetRegValue(kUserShellFoldersKey, Sz("Desktop", "C:\\elsewhere"));
  RunningStateRefresh(rows, ops);
  EXPECT_EQ(rows.Cell(0, kColState), "-");
  ops.SetRegValue(kUserShellFoldersKey, Sz("Desktop", desktop));
  RefreshDisplay(rows, ops);
  EXPECT_EQ(rows.Cell(0, kColState), "运行中");
  // A refused User Shell Folders write after a good Shell Folders one is a load error.
  ops.refusedRegWrites = {"HKCU\\" + UserShellFoldersValue("Desktop")};
  SwitchTo(1);
  EXPECT_EQ(rows.Cell(1, kColState), "载入出错");
  EXPECT_EQ(rows.Cell(0, kColState), "运行中") << "rolled back: the first profile is still the one in use";
}

}  // namespace
}  // namespace velkor
