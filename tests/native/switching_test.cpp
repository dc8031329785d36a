#include "switching/switching.h"

#include <gtest/gtest.h>
#include <set>

#include "catalogue/catalogue_view.h"
#include "fake_platform.h"
#include "memory_rows.h"
#include "switching/shell_backup.h"
#include "switching/shell_restart.h"

namespace velkor {
namespace {

using test::FakePlatform;
using test::MemoryRows;
using Texts = std::vector<std::vector<std::string>>;

constexpr char kRunDir[] = "C:\\app";

RegWritePlan Both(const std::string& name, const std::string& value) {
  return {{ShellFoldersValue(name), value}, {UserShellFoldersValue(name), value}};
}

RegWritePlan Join(std::initializer_list<RegWritePlan> parts) {
  RegWritePlan all;
  for (const RegWritePlan& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The fake, also keeping one log of the steps whose order matters.
class OrderedPlatform : public FakePlatform {
 public:
  std::vector<std::string> steps;

  std::vector<ProcessEntry> ProcessList() override {
    steps.push_back("snapshot");
    return FakePlatform::ProcessList();
  }
  bool EndProcess(uint32_t id) override {
    steps.push_back("end " + std::to_string(id));
    return FakePlatform::EndProcess(id);
  }
  bool WriteRegText(RegRoot root, const std::string& path, const std::string& value) override {
    steps.push_back("write " + path.substr(path.rfind('\\') + 1));
    return FakePlatform::WriteRegText(root, path, value);
  }
  std::string ReadRegText(RegRoot root, const std::string& path) override {
    steps.push_back("read");
    return FakePlatform::ReadRegText(root, path);
  }
  uint64_t FolderSize(const std::string& path) override {
    steps.push_back("size " + path);
    return FakePlatform::FolderSize(path);
  }
  int ShowMessage(const std::string& text, Buttons buttons) override {
    steps.push_back("message " + text);
    return FakePlatform::ShowMessage(text, buttons);
  }
  bool ShellOpen(const std::string& verb, const std::string& file) override {
    steps.push_back("open " + file);
    return FakePlatform::ShellOpen(verb, file);
  }
};

TEST(SwitchPlan, DesktopFirstThenFoldersFromRootOrDesktopFolder) {
  const std::string root = "C:\\p\\工作";
  struct Case {
    const char* what;
    std::string desktop;
    std::set<std::string> existing;
    RegWritePlan expected;
  } cases[] = {
      {"no further folders", root + "\\Desktop", {}, Both("Desktop", root + "\\Desktop")},
      {"root wins over the desktop folder, table order kept",
       root + "\\Desktop",
       {root + "\\AppData", root + "\\Favorites", root + "\\Desktop\\Favorites", root + "\\Desktop\\Cookies"},
       Join({Both("Desktop", root + "\\Desktop"), Both("Cookies", root + "\\Desktop\\Cookies"),
             Both("Favorites", root + "\\Favorites"), Both("AppData", root + "\\AppData")})},
      {"every folder, each under its own value name",
       root + "\\Desktop",
       {root + "\\Cookies", root + "\\Personal", root + "\\Favorites", root + "\\History",
        root + "\\Temporary Internet Files", root + "\\Startup", root + "\\Local AppData", root + "\\AppData"},
       Join({Both("Desktop", root + "\\Desktop"), Both("Cookies", root + "\\Cookies"),
             Both("Personal", root + "\\Personal"), Both("Favorites", root + "\\Favorites"),
             Both("History", root + "\\History"), Both("Cache", root + "\\Temporary Internet Files"),
             Both("Startup", root + "\\Startup"), Both("Local AppData", root + "\\Local AppData"),
             Both("AppData", root + "\\AppData")})},
      {"trailing backslash written as is, folders found without doubling it",
       root + "\\Desktop\\",
       {root + "\\History", root + "\\Desktop\\Startup"},
       Join({Both("Desktop", root + "\\Desktop\\"), Both("History", root + "\\History"),
             Both("Startup", root + "\\Desktop\\Startup")})},
      {"custom path: only inside the desktop folder",
       "D:\\mine",
       {"D:\\Favorites", "D:\\mine\\Personal"},
       Join({Both("Desktop", "D:\\mine"), Both("Personal", "D:\\mine\\Personal")})},
      {"another case of Desktop is no profile root",
       "C:\\p\\x\\desktop",
       {"C:\\p\\x\\Cookies"},
       Both("Desktop", "C:\\p\\x\\desktop")},
      {"a custom path ending in Desktop has no root: the user's real AppData stays",
       "C:\\Users\\me\\Desktop",
       {"C:\\Users\\me\\AppData", "C:\\Users\\me\\Desktop\\Personal"},
       Join({Both("Desktop", "C:\\Users\\me\\Desktop"), Both("Personal", "C:\\Users\\me\\Desktop\\Personal")})},
      {"nor does one deeper inside the profiles folder",
       "C:\\p\\a\\b\\Desktop",
       {"C:\\p\\a\\b\\AppData"},
       Both("Desktop", "C:\\p\\a\\b\\Desktop")},
      {"the profiles folder spelled in another case still holds the profile",
       "c:\\P\\工作\\Desktop",
       {"c:\\P\\工作\\AppData"},
       Join({Both("Desktop", "c:\\P\\工作\\Desktop"), Both("AppData", "c:\\P\\工作\\AppData")})},
  };
  for (const Case& c : cases) {
    std::vector<std::string> asked;
    const RegWritePlan plan = SwitchPlan(c.desktop, "C:\\p\\", [&](const std::string& path) {
      asked.push_back(path);
      return c.existing.count(path) > 0;
    });
    EXPECT_EQ(plan, c.expected) << c.what;
    EXPECT_FALSE(asked.empty()) << c.what;
  }
}

const std::string kWork = "C:\\app\\软件配置\\桌面配置\\工作";
const std::string kGame = "C:\\app\\软件配置\\桌面配置\\游戏";

// Three profiles: 工作 with a Favorites folder, 游戏 in use, 丢失 without folders.
struct Profiles {
  Profiles() {
    ops.AddFile(kWork + "\\Desktop\\big.bin", std::string(1572864, 'x'));
    ops.AddDir(kWork + "\\Favorites");
    ops.AddDir(kGame + "\\Desktop");
    ops.processes = {{10, "explorer.exe"}, {11, "Explorer.EXE"}, {12, "explorer.exe"}, {13, "explorer.exe.bak"}};
    rows.AddTexts({"0", "工作", "---", kWork + "\\Desktop", ""});
    rows.AddTexts({"1", "游戏", "9 MB", kGame + "\\Desktop", "运行中"});
    rows.AddTexts({"2", "丢失", "---", "C:\\gone\\Desktop", "-"});
    // The way back is kept already: these cases are about the switch itself.
    ops.AddFile(std::string(kRunDir) + "\\软件配置\\" + kBackupFileName, EncodeBackup({}));
  }
  std::string Reg(const std::string& path) { return ops.ReadRegText(RegRoot::CurrentUser, path); }

  OrderedPlatform ops;
  MemoryRows rows;
};

class SwitchTest : public ::testing::Test, protected Profiles {};

TEST_F(SwitchTest, EndsShellMarksRowsWritesMeasuresThenReadsBack) {
  rows.Select(0);
  SwitchToProfile(rows, ops, kRunDir);
  EXPECT_EQ(ops.steps, (std::vector<std::string>{"snapshot", "end 10", "end 12", "write Desktop", "write Desktop",
                                                 "write Favorites", "write Favorites", "size " + kWork + "\\Desktop",
                                                 "read", "read"}));
  EXPECT_EQ(ops.regWriteLog, (std::vector<std::string>{
                                 "HKCU\\" + ShellFoldersValue("Desktop") + "=" + kWork + "\\Desktop",
                                 "HKCU\\" + UserShellFoldersValue("Desktop") + "=" + kWork + "\\Desktop",
                                 "HKCU\\" + ShellFoldersValue("Favorites") + "=" + kWork + "\\Favorites",
                                 "HKCU\\" + UserShellFoldersValue("Favorites") + "=" + kWork + "\\Favorites",
                             }));
  EXPECT_EQ(rows.Texts(), (Texts{{"0", "工作", "1 MB", kWork + "\\Desktop", "运行中"},
                                 {"1", "游戏", "9 MB", kGame + "\\Desktop", "-"},
                                 {"2", "丢失", "---", "C:\\gone\\Desktop", "-"}}));
  EXPECT_TRUE(ops.messages.empty());
  EXPECT_TRUE(ops.shellOpens.empty());
}

TEST_F(SwitchTest, FolderMissingFromTheNextProfileKeepsThePreviousValue) {
  rows.Select(0);
  SwitchToProfile(rows, ops, kRunDir);
  rows.Select(1);
  SwitchToProfile(rows, ops, kRunDir);
  EXPECT_EQ(Reg(ShellFoldersValue("Desktop")), kGame + "\\Desktop");
  EXPECT_EQ(Reg(UserShellFoldersValue("Desktop")), kGame + "\\Desktop");
  EXPECT_EQ(Reg(ShellFoldersValue("Favorites")), kWork + "\\Favorites");
  EXPECT_EQ(Reg(UserShellFoldersValue("Favorites")), kWork + "\\Favorites");
  EXPECT_EQ(rows.Cell(0, kColState), "-");
  EXPECT_EQ(rows.Cell(1, kColState), "运行中");
  EXPECT_EQ(rows.Cell(1, kColSize), "0 MB");
}

TEST_F(SwitchTest, MissingDesktopFolderIsReportedThenTheRunDirectoryOpens) {
  rows.Select(2);
  const Texts before = rows.Texts();
  SwitchToProfile(rows, ops, kRunDir);
  EXPECT_EQ(ops.steps,
            (std::vector<std::string>{"snapshot", std::string("message ") + kProfileMissing, "open C:\\app"}));
  EXPECT_EQ(ops.shellOpens, (std::vector<std::string>{"open|C:\\app"}));
  EXPECT_TRUE(ops.endedProcesses.empty());
  EXPECT_TRUE(ops.regWriteLog.empty());
  EXPECT_EQ(rows.Texts(), before);
}

TEST_F(SwitchTest, NothingHappensWithoutAPath) {
  rows.AddTexts({"3", "空", "---", "", "-"});
  for (int selected : {-1, 3}) {
    rows.Select(selected);
    const Texts before = rows.Texts();
    SwitchToProfile(rows, ops, kRunDir);
    EXPECT_TRUE(ops.messages.empty()) << selected;
    EXPECT_TRUE(ops.endedProcesses.empty()) << selected;
    EXPECT_TRUE(ops.regWriteLog.empty()) << selected;
    EXPECT_TRUE(ops.shellOpens.empty()) << selected;
    EXPECT_EQ(rows.Texts(), before) << selected;
  }
}

TEST_F(SwitchTest, PathNamingAFileIsAccepted) {
  ops.AddFile("C:\\data\\notes.txt", "abc");
  rows.AddTexts({"3", "file", "---", "C:\\data\\notes.txt", ""});
  rows.Select(3);
  SwitchToProfile(rows, ops, kRunDir);
  EXPECT_EQ(Reg(ShellFoldersValue("Desktop")), "C:\\data\\notes.txt");
  EXPECT_EQ(rows.Cell(3, kColState), "运行中");
  EXPECT_TRUE(ops.messages.empty());
}

TEST_F(SwitchTest, RefusedDesktopWriteMarksLoadError) {
  ops.refusedRegWrites = {"HKCU\\" + ShellFoldersValue("Desktop"), "HKCU\\" + UserShellFoldersValue("Desktop"),
                          "HKCU\\" + ShellFoldersValue("Favorites"), "HKCU\\" + UserShellFoldersValue("Favorites")};
  rows.Select(0);
  SwitchToProfile(rows, ops, kRunDir);
  EXPECT_EQ(ops.regWriteLog.size(), 1u);  // one step: nothing after the refused write
  EXPECT_EQ(ops.endedProcesses, (std::vector<uint32_t>{10, 12}));
  EXPECT_EQ(ops.shellOpens, std::vector<std::string>{"open|C:\\Windows\\explorer.exe"});
  ASSERT_EQ(ops.messages.size(), 1u);
  EXPECT_NE(ops.messages[0].find(ShellFoldersValue("Desktop")), std::string::npos) << ops.messages[0];
  EXPECT_EQ(rows.Cell(0, kColState), "载入出错");
  EXPECT_EQ(rows.Cell(1, kColState), "-");
  EXPECT_EQ(rows.Cell(2, kColState), "-");
  EXPECT_EQ(rows.Cell(0, kColSize), "1 MB");
}

TEST_F(SwitchTest, DoubleClickAsksOnlyForTheRowInUse) {
  struct Case {
    int selected;
    int answer;
    bool asked;
    bool switched;
  } cases[] = {
      {1, kCancel, true, false},  // in use, Cancel: nothing ended, nothing written
      {1, kOk, true, true},
      {0, kCancel, false, true},  // not in use: no question
      {-1, kOk, false, false},    // no selection: the state reads empty, nothing happens
  };
  for (const Case& c : cases) {
    Profiles p;
    p.rows.Select(c.selected);
    p.ops.messageAnswers = {c.answer};
    SwitchOnDoubleClick(p.rows, p.ops, kRunDir);
    EXPECT_EQ(p.ops.messages, c.asked ? std::vector<std::string>{kAskReload} : std::vector<std::string>{})
        << c.selected;
    if (c.asked) {
      EXPECT_EQ(p.ops.messageButtons[0], Buttons::OkCancel) << "the question has a Cancel button";
    }
    EXPECT_EQ(!p.ops.endedProcesses.empty(), c.switched) << c.selected;
    EXPECT_EQ(!p.ops.regWriteLog.empty(), c.switched) << c.selected;
  }
}
TEST(EndShell, EndsExactlyTheProcessesNamedExplorerExe) {
  FakePlatform ops;
  const std::vector<ProcessEntry> snapshot = {{4, "explorer.exe"},     {5, "EXPLORER.EXE"},  {6, "Explorer.exe"},
                                              {7, "explorer.exe.bak"}, {8, "xexplorer.exe"}, {9, ""},
                                              {3, "explorer.exe"}};
  ops.processes = snapshot;
  EndShell(ops, snapshot);
  EXPECT_EQ(ops.endedProcesses, (std::vector<uint32_t>{4, 3}));
}

TEST(EndShell, LeavesTheShellsOfOtherSessionsAlone) {
  // Run as administrator, the snapshot lists the shells of every logged-on user.
  FakePlatform ops;
  const std::vector<ProcessEntry> snapshot = {
      {4, "explorer.exe", false}, {5, "explorer.exe", true}, {6, "explorer.exe", false}};
  ops.processes = snapshot;
  EndShell(ops, snapshot);
  EXPECT_EQ(ops.endedProcesses, (std::vector<uint32_t>{5}));
}

TEST(EndShell, RestartEndsTheShellThenStartsOneEvenWhenNoneRan) {
  for (bool running : {true, false}) {
    OrderedPlatform ops;
    if (running) ops.processes = {{7, "explorer.exe"}, {8, "other.exe"}};
    // By full path: an "explorer.exe" beside the program must never be the one started.
    ops.windowsFolder = "D:\\Win Dir";
    ShellRestart(ops);
    const std::string shell = "open D:\\Win Dir\\explorer.exe";
    EXPECT_EQ(ops.steps, running ? (std::vector<std::string>{"snapshot", "end 7", shell})
                                 : (std::vector<std::string>{"snapshot", shell}));
    EXPECT_EQ(ops.shellOpens, (std::vector<std::string>{"open|D:\\Win Dir\\explorer.exe"}));
  }
}

}  // namespace
}  // namespace velkor
