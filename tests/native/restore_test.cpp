#include "switching/restore.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "catalogue/catalogue_view.h"
#include "fake_platform.h"
#include "memory_rows.h"
#include "switching/shell_backup.h"

namespace velkor {
namespace {

using test::FakePlatform;
using test::MemoryRows;

const AppPaths kPaths{"C:\\app", "v.exe"};

RegWritePlan Win7Writes(const std::string& name, const std::string& personal) {
  const std::string u = "C:\\Users\\" + name;
  return {
      {ShellFoldersValue("Desktop"), u + "\\Desktop"},
      {UserShellFoldersValue("Desktop"), u + "\\Desktop"},
      {ShellFoldersValue("AppData"), u + "\\AppData\\Roaming"},
      {UserShellFoldersValue("AppData"), u + "\\AppData\\Roaming"},
      {ShellFoldersValue("Cookies"), u + "\\AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
      {UserShellFoldersValue("Cookies"), u + "\\AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
      {UserShellFoldersValue("Personal"), personal},
      {ShellFoldersValue("Startup"), u + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
      {UserShellFoldersValue("Startup"), u + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
      {ShellFoldersValue("History"), u + "\\AppData\\Local\\Microsoft\\Windows\\History"},
      {UserShellFoldersValue("History"), u + "\\AppData\\Local\\Microsoft\\Windows\\History"},
  };
}

RegWritePlan XpWrites(const std::string& name) {
  const std::string d = "C:\\Documents and Settings\\" + name;
  return {
      {ShellFoldersValue("Desktop"), d + "\\桌面"},
      {UserShellFoldersValue("Desktop"), d + "\\桌面"},
      {ShellFoldersValue("Personal"), d + "\\My Documents"},
      {ShellFoldersValue("Startup"), d + "\\「开始」菜单\\程序\\启动"},
  };
}

RegWritePlan Append(RegWritePlan first, const RegWritePlan& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

TEST(RestorePlan, DefaultsForTheAccountAsTyped) {
  const auto none = [](const std::string&) { return false; };
  struct Case {
    std::string name;
    OsGeneration generation;
    bool xpDocumentsExist;
    RegWritePlan expected;
  } cases[] = {
      {"abc", OsGeneration::Win7, false, Win7Writes("abc", "D:\\My Documents\\")},
      {"abc", OsGeneration::Other, false, Win7Writes("abc", "D:\\My Documents\\")},
      {"abc", OsGeneration::Win7, true, Win7Writes("abc", "C:\\Documents and settings\\abc\\My Documents")},
      {"", OsGeneration::Win7, false, Win7Writes("", "D:\\My Documents\\")},
      {"a\\..\\b ", OsGeneration::Win7, false, Win7Writes("a\\..\\b ", "D:\\My Documents\\")},
      {"张三", OsGeneration::XP, true,
       Append(Win7Writes("张三", "C:\\Documents and settings\\张三\\My Documents"), XpWrites("张三"))},
  };
  for (const Case& c : cases) {
    std::string asked;
    const RegWritePlan plan = RestorePlan(c.name, c.generation, [&](const std::string& path) {
      asked = path;
      return c.xpDocumentsExist;
    });
    EXPECT_EQ(plan, c.expected) << c.name;
    EXPECT_EQ(asked, "C:\\Documents and settings\\" + c.name + "\\My Documents");
  }
  EXPECT_EQ(RestorePlan("", OsGeneration::Win7, none)[0].value, "C:\\Users\\\\Desktop");
}

TEST(RestorePlan, WindowTitleBySystem) {
  EXPECT_EQ(RestoreWindowTitle(OsGeneration::XP), "还原到系统原来的桌面[WinXP]");
  EXPECT_EQ(RestoreWindowTitle(OsGeneration::Win7), "还原到系统原来的桌面[Win7]");
  EXPECT_EQ(RestoreWindowTitle(OsGeneration::Other), "还原到系统原来的桌面");
}

class RestoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ops.processes = {{20, "explorer.exe"}, {21, "EXPLORER.EXE"}};
    ops.AddFile("C:\\p\\a\\Desktop\\a.bin", std::string(2 * 1048576, 'a'));
    ops.AddFile("C:\\p\\b\\Desktop\\b.bin", std::string(3 * 1048576, 'b'));
    ops.regText["HKCU\\" + ShellFoldersValue("Desktop")] = "C:\\p\\a\\Desktop";
    ops.regText["HKCU\\" + UserShellFoldersValue("Desktop")] = "C:\\p\\a\\Desktop";
    // The way back is kept already: these cases are about the fixed defaults.
    ops.AddFile(kPaths.ConfigRoot() + kBackupFileName, EncodeBackup({}));
    rows.AddTexts({"0", "a", "7 MB", "C:\\p\\a\\Desktop", "运行中"});
    rows.AddTexts({"1", "b", "7 MB", "C:\\p\\b\\Desktop", "-"});
  }
  FakePlatform ops;
  MemoryRows rows;
};

TEST_F(RestoreTest, CancelChangesNothing) {
  ops.messageAnswers = {kCancel};
  RestoreOriginalFolders(ops, rows, "abc", kPaths);
  EXPECT_EQ(ops.messages, (std::vector<std::string>{kAskRestore}));
  EXPECT_EQ(ops.messageButtons, std::vector<Buttons>{Buttons::OkCancel}) << "the question has a Cancel button";
  EXPECT_TRUE(ops.endedProcesses.empty());
  EXPECT_TRUE(ops.regWriteLog.empty());
  EXPECT_EQ(rows.Cell(1, kColSize), "7 MB");
}

TEST_F(RestoreTest, EndsShellWritesReportsThenRefreshes) {
  for (OsVersion version : {OsVersion{true, 6, 1}, OsVersion{true, 5, 1}}) {
    SCOPED_TRACE(version.minor);
    FakePlatform fresh = ops;
    MemoryRows list = rows;
    fresh.version = version;
    RestoreOriginalFolders(fresh, list, "abc", kPaths);
    EXPECT_EQ(fresh.messages, (std::vector<std::string>{kAskRestore, kRestoreDone}));
    EXPECT_EQ(fresh.endedProcesses, (std::vector<uint32_t>{20}));
    const RegWritePlan win7 = Win7Writes("abc", "D:\\My Documents\\");
    const RegWritePlan expected = version.major == 5 ? Append(win7, XpWrites("abc")) : win7;
    std::vector<std::string> log;
    for (const RegWrite& w : expected) log.push_back("HKCU\\" + w.path + "=" + w.value);
    EXPECT_EQ(fresh.regWriteLog, log);
    // The list follows the registry again; the first row keeps its size.
    EXPECT_EQ(list.Cell(0, kColState), "-");
    EXPECT_EQ(list.Cell(0, kColSize), "7 MB");
    EXPECT_EQ(list.Cell(1, kColSize), "3 MB");
  }
}

// The fake, keeping one log of ending processes and writing values.
class OrderedRestorePlatform : public FakePlatform {
 public:
  std::vector<std::string> steps;
  bool EndProcess(uint32_t id) override {
    steps.push_back("end " + std::to_string(id));
    return FakePlatform::EndProcess(id);
  }
  bool WriteRegText(RegRoot root, const std::string& path, const std::string& value) override {
    steps.push_back("write");
    return FakePlatform::WriteRegText(root, path, value);
  }
};

TEST_F(RestoreTest, EndsTheShellBeforeTheFirstWrite) {
  OrderedRestorePlatform ordered;
  ordered.AddFile(kPaths.ConfigRoot() + kBackupFileName, EncodeBackup({}));
  ordered.processes = {{20, "explorer.exe"}, {22, "explorer.exe"}};
  RestoreOriginalFolders(ordered, rows, "abc", kPaths);
  ASSERT_EQ(ordered.steps.size(), 13u);
  EXPECT_EQ(ordered.steps[0], "end 20");
  EXPECT_EQ(ordered.steps[1], "end 22");
  EXPECT_EQ(std::count(ordered.steps.begin(), ordered.steps.end(), "write"), 11);
}

TEST_F(RestoreTest, RefusedWritesArePassedOver) {
  for (const RegWrite& w : Win7Writes("abc", "D:\\My Documents\\")) ops.refusedRegWrites.insert("HKCU\\" + w.path);
  RestoreOriginalFolders(ops, rows, "abc", kPaths);
  EXPECT_EQ(ops.regWriteLog.size(), 11u);
  EXPECT_EQ(ops.messages.back(), kRestoreDone);
  EXPECT_EQ(rows.Cell(0, kColState), "运行中");  // the read-back shows the Desktop did not change
}

}  // namespace
}  // namespace velkor
