#include "catalogue/creation.h"

#include <gtest/gtest.h>

#include "catalogue/profile_layout.h"
#include "profiles_fixture.h"

namespace velkor {
namespace {

using test::FakePlatform;
using test::MemoryRows;
using test::ProfilesTest;

TEST_F(ProfilesTest, CreateWithAllOptionsMakesEveryFolderRowAndFile) {
  CreationRequest request{"工作", "", {}};
  request.options.fill(true);
  ASSERT_EQ(CreateProfile(context, request), CreationResult::Created);
  for (const char* sub : {"", "\\Desktop", "\\Cookies", "\\Personal", "\\Favorites", "\\History",
                          "\\Temporary Internet Files", "\\Startup", "\\Local AppData", "\\AppData"})
    EXPECT_TRUE(ops.HasDir(root + "工作" + sub)) << sub;
  EXPECT_EQ(ops.shortcuts, std::vector<std::string>{root + "工作\\Desktop\\WinowsVelkor.lnk->C:\\app\\v.exe"});
  const std::vector<std::string> expected = {"0", "工作", "---", root + "工作\\Desktop", ""};
  EXPECT_EQ(rows.Texts(), std::vector<std::vector<std::string>>{expected});
  ASSERT_EQ(SavedRows().size(), 1u);
  EXPECT_EQ(SavedRows()[0].cells, expected);
  EXPECT_EQ(ops.messages, std::vector<std::string>{"[工作]创建完毕！"});
}

TEST_F(ProfilesTest, CreateWithoutOptionsMakesExactlyThreeThings) {
  const size_t dirsBefore = ops.dirs.size();
  ASSERT_EQ(CreateProfile(context, {"a", "", {}}), CreationResult::Created);
  EXPECT_EQ(ops.dirs.size(), dirsBefore + 2);  // root and Desktop
  EXPECT_EQ(ops.shortcuts.size(), 1u);
}

TEST_F(ProfilesTest, CustomPathMakesNothingAndKeepsThePathAsTyped) {
  CreationRequest request{"c", "D:\\My Desk\\", {}};
  request.options.fill(true);
  const size_t dirsBefore = ops.dirs.size();
  ASSERT_EQ(CreateProfile(context, request), CreationResult::Created);
  EXPECT_EQ(ops.dirs.size(), dirsBefore);
  EXPECT_TRUE(ops.shortcuts.empty());
  EXPECT_EQ(rows.Cell(0, kColPath), "D:\\My Desk\\");
}

TEST_F(ProfilesTest, RefusedRequestsMakeAndSaveNothing) {
  const std::vector<CreationRequest> refused = {
      {"..\\x", "", {}},     {"a:b", "", {}},       {"a/b", "", {}},
      {"what?", "", {}},     {"..", "", {}},        {".", "", {}},
      {"dot.", "", {}},      {"sp ", "", {}},       {"CON", "", {}},
      {"com1.txt", "", {}},  {"tab\t", "", {}},     {std::string("x") + test::kUnrepresentable, "", {}},
      {"ok", "D:\\a*b", {}}, {"ok", "D:\\a:b", {}}, {"ok", std::string("D:\\") + test::kUnrepresentable, {}},
  };
  for (const CreationRequest& request : refused) {
    FakePlatform fresh;
    fresh.AddDir("C:\\app\\软件配置\\桌面配置");
    MemoryRows list;
    CatalogueContext ctx{fresh, list, paths};
    const size_t dirsBefore = fresh.dirs.size();
    EXPECT_EQ(CreateProfile(ctx, request), CreationResult::Refused) << request.title << " " << request.customPath;
    EXPECT_EQ(fresh.dirs.size(), dirsBefore) << request.title;
    EXPECT_EQ(list.RowCount(), 0) << request.title;
    EXPECT_TRUE(fresh.files.empty()) << request.title;
    ASSERT_EQ(fresh.messages.size(), 1u) << request.title;
    EXPECT_EQ(fresh.messages[0].find("创建完毕"), std::string::npos);
  }
  for (const char* fine : {"COM10", "console", "a.b", "工作 2", "x..y"}) EXPECT_FALSE(TitleProblem(fine)) << fine;
}

TEST_F(ProfilesTest, EmptyTitleDoesNothing) {
  EXPECT_EQ(CreateProfile(context, {"", "D:\\x", {}}), CreationResult::Nothing);
  EXPECT_TRUE(ops.messages.empty());
  EXPECT_EQ(rows.RowCount(), 0);
}

TEST_F(ProfilesTest, DesktopThatCannotBeMadeIsNeverReportedAsCreated) {
  FakePlatform noRoot;  // the profiles folder is missing
  CatalogueContext ctx{noRoot, rows, paths};
  EXPECT_EQ(CreateProfile(ctx, {"a", "", {}}), CreationResult::Refused);
  EXPECT_EQ(rows.RowCount(), 0);
  ASSERT_EQ(noRoot.messages.size(), 1u);
  EXPECT_EQ(noRoot.messages[0].find("创建完毕"), std::string::npos);
}

TEST_F(ProfilesTest, UnsavableCatalogueKeepsTheRowAndSaysSo) {
  ops.unwritableFiles.insert(paths.CatalogueFile());
  ASSERT_EQ(CreateProfile(context, {"a", "", {}}), CreationResult::Created);
  EXPECT_EQ(rows.RowCount(), 1);
  EXPECT_EQ(ops.messages.size(), 2u);
}

TEST_F(ProfilesTest, DuplicateQuestionOncePerContainingRow) {
  rows.AddTexts({"0", "my Desk 2"});
  rows.AddTexts({"1", "other"});
  rows.AddTexts({"2", "DESK"});
  struct Case {
    std::string title;
    std::deque<int> answers;
    size_t questions;
    std::string after;
  } cases[] = {
      {"desk", {kOk, kOk}, 2, "desk"}, {"desk", {kCancel}, 1, ""},  // emptied: no later row asks
      {"desk 2", {}, 1, "desk 2"},     {"zzz", {}, 0, "zzz"},      {"", {}, 0, ""},
  };
  for (Case& c : cases) {
    ops.reminders.clear();
    ops.messageAnswers = c.answers;
    DuplicateTitleCheck(context, c.title);
    EXPECT_EQ(ops.reminders.size(), c.questions) << c.after;
    EXPECT_EQ(c.title, c.after);
    for (const std::string& text : ops.reminders) EXPECT_EQ(text, "列表中存在重复的名称了,您确定继续创建吗？");
  }
}

TEST_F(ProfilesTest, RowIndexIsTheRowCount) {
  rows.AddTexts({"0", "x"});
  rows.AddTexts({"5", "y"});
  CreateProfile(context, {"z", "D:\\z", {}});
  EXPECT_EQ(rows.Cell(2, kColIndex), "2");
}

TEST_F(ProfilesTest, CustomPathsThatNameNoSafeFolderAreRefused) {
  // Each of these would have emptied a drive or the program's own folder on deletion.
  for (const char* path : {"D:/", "D:\\\\", "D:\\.", "D:\\x\\..", "\\.", "D:.", ".", ".\\", "T:.", "..\\run",
                           "D:", "\\\\srv\\share", "C:\\app", "C:\\app\\软件配置\\桌面配置\\", "C:\\Windows\\System32",
                           "C:\\Users\\tester", "D:\\a.\\b", "D:\\x\\nul"}) {
    FakePlatform fresh;
    fresh.AddDir(root);
    MemoryRows list;
    CatalogueContext ctx{fresh, list, paths};
    EXPECT_EQ(CreateProfile(ctx, {"c", path, {}}), CreationResult::Refused) << path;
    EXPECT_EQ(list.RowCount(), 0) << path;
    EXPECT_FALSE(fresh.HasFile(paths.CatalogueFile())) << path;
  }
  for (const char* path : {"D:\\My Desk\\", "\\\\srv\\share\\desk", "C:\\Users\\tester\\Desktop"})
    EXPECT_EQ(CreateProfile(context, {"c", path, {}}), CreationResult::Created) << path;
}

TEST_F(ProfilesTest, TitlesThatDifferOnlyInCaseAskFirst) {
  rows.AddTexts({"0", "Тест"});
  rows.AddTexts({"1", "ＡＢ"});
  for (std::string title : {"тест", "ａｂ", "ТЕСТ"}) {
    ops.reminders.clear();
    DuplicateTitleCheck(context, title);
    EXPECT_EQ(ops.reminders.size(), 1u) << title;
  }
}

TEST_F(ProfilesTest, RefusedCreationLeavesNoEmptyFolder) {
  ops.refusedDirs.insert(root + "x\\Desktop");
  ASSERT_EQ(CreateProfile(context, {"x", "", {}}), CreationResult::Refused);
  EXPECT_FALSE(ops.HasDir(root + "x"));
  // A root that was there before is not the creation's to take back.
  ops.AddFile(root + "x\\old.txt", "o");
  ASSERT_EQ(CreateProfile(context, {"x", "", {}}), CreationResult::Refused);
  EXPECT_TRUE(ops.HasFile(root + "x\\old.txt"));
}

}  // namespace
}  // namespace velkor
