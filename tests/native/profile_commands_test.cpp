#include "catalogue/profile_commands.h"

#include <gtest/gtest.h>

#include "catalogue/creation.h"
#include "profiles_fixture.h"

namespace velkor {
namespace {

using test::FakePlatform;
using test::MemoryRows;
using test::ProfilesTest;

class DeletionTest : public ProfilesTest {
 protected:
  void SetUp() override {
    ProfilesTest::SetUp();
    CreationRequest request{"工作", "", {}};
    request.options.fill(true);
    CreateProfile(context, request);
    ops.AddFile(root + "工作\\Desktop\\note.txt", "n");
    ops.messages.clear();
    rows.Select(0);
  }
};

TEST_F(DeletionTest, AsksTwiceAndCancelChangesNothing) {
  for (int cancelAt : {0, 1}) {
    ops.messages.clear();
    ops.messageAnswers = cancelAt == 0 ? std::deque<int>{kCancel} : std::deque<int>{kOk, kCancel};
    const auto dirs = ops.dirs;
    const auto files = ops.files;
    DeleteProfile(context);
    EXPECT_EQ(ops.dirs, dirs);
    EXPECT_EQ(ops.files, files);
    EXPECT_EQ(rows.RowCount(), 1);
    ASSERT_EQ(ops.messages.size(), static_cast<size_t>(cancelAt + 1));
    EXPECT_EQ(ops.messages[0], "您确认删除桌面信息吗？删除后将无法进行恢复！工作");
  }
  EXPECT_EQ(ops.messages[1], "最后一次确认啦！~你真的真的要删除吗？删除后将无法进行恢复！工作");
}

TEST_F(DeletionTest, OkRemovesFoldersRowAndSaves) {
  DeleteProfile(context);
  for (const std::string& d : ops.dirs) EXPECT_EQ(d.find("工作"), std::string::npos) << d;
  EXPECT_EQ(rows.RowCount(), 0);
  EXPECT_TRUE(SavedRows().empty());
  EXPECT_EQ(ops.messages.back(), "桌面已经被删除！");
}

TEST_F(DeletionTest, RunningProfileIsRefused) {
  rows.SetCell(0, kColState, "运行中");
  DeleteProfile(context);
  EXPECT_EQ(ops.messages, std::vector<std::string>{"您的桌面正在运行中，请先退出该桌面或切换其他桌面后再进行删除！"});
  EXPECT_TRUE(ops.HasDir(root + "工作\\Desktop"));
}

TEST_F(DeletionTest, WhatCouldNotBeRemovedIsReported) {
  ops.lockedFiles.insert(root + "工作\\Desktop\\note.txt");
  DeleteProfile(context);
  EXPECT_EQ(rows.RowCount(), 0);
  // One message after the two questions: the row went, the folder stayed, and why.
  ASSERT_EQ(ops.messages.size(), 3u);
  EXPECT_TRUE(ops.messages[2].starts_with("桌面已经从列表中删除，但以下文件夹没有完全删除")) << ops.messages[2];
  EXPECT_NE(ops.messages[2].find(root + "工作\\Desktop：1 个文件或文件夹正在使用或为只读"), std::string::npos);
  EXPECT_TRUE(ops.HasFile(root + "工作\\Desktop\\note.txt"));
}

TEST_F(DeletionTest, NeverLeavesItsGround) {
  // Rows from an edited catalogue: a bare drive and a title that climbs out.
  ops.AddFile("C:\\app\\软件配置\\keep.txt", "k");
  ops.AddFile("D:\\data.txt", "d");
  ops.AddDir("D:\\");
  rows.AddTexts({"1", "..", "---", "D:\\", "-"});
  rows.AddTexts({"2", "..\\..", "---", "  ", "-"});
  for (int row : {1, 2}) {
    rows.Select(row);
    DeleteProfile(context);
  }
  EXPECT_TRUE(ops.HasFile("C:\\app\\软件配置\\keep.txt"));
  EXPECT_TRUE(ops.HasFile("D:\\data.txt"));
  EXPECT_TRUE(ops.HasDir(root + "工作\\Desktop"));
}

class LegacyDeletionTest : public ProfilesTest {
 protected:
  // Deletes a row an old or edited catalogue holds; the drives D: and T: and the
  // program's folder hold files that must all survive.
  std::string Delete(const std::string& title, const std::string& path) {
    rows.AddTexts({"9", title, "---", path, "-"});
    rows.Select(rows.RowCount() - 1);
    ops.messages.clear();
    DeleteProfile(context);
    EXPECT_EQ(ops.messages.size(), 3u) << path;
    return ops.messages.empty() ? "" : ops.messages.back();
  }
  void SetUp() override {
    ProfilesTest::SetUp();
    for (const char* f : {"D:\\keep.txt", "D:\\x\\keep.txt", "T:\\keep.txt", "C:\\app\\v.exe",
                          "C:\\app\\软件配置\\桌面列表.dat", "C:\\run\\keep.txt", "C:\\keep.txt"})
      ops.AddFile(f, "k");
    kept = ops.files;
  }
  std::map<std::string, std::string> kept;
};

TEST_F(LegacyDeletionTest, EverySpellingOfARootOrTheProgramFolderIsRefusedAndSaid) {
  for (const char* path : {"D:/", "D:\\\\", "D:\\.", "D:\\x\\..", "\\.", "D:.", ".", ".\\", "T:.", "..\\run",
                           "D:", "D:\\", " D:\\", "\\\\srv\\share\\", "C:\\app\\软件配置"}) {
    const std::string said = Delete("t", path);
    EXPECT_NE(said.find(std::string(path) + "："), std::string::npos) << path << " | " << said;
    EXPECT_NE(said.find("未删除"), std::string::npos) << said;
    for (const auto& [file, contents] : kept) EXPECT_TRUE(ops.HasFile(file)) << path << " removed " << file;
  }
}

TEST_F(LegacyDeletionTest, ProfileRootsOutsideTheProfilesFolderAreRefusedAndSaid) {
  for (const char* title : {"..", "..\\..", "a\\..\\..\\..", "CON", "x:y"}) {
    const std::string said = Delete(title, "");
    EXPECT_NE(said.find("未删除"), std::string::npos) << title << " | " << said;
    for (const auto& [file, contents] : kept) EXPECT_TRUE(ops.HasFile(file)) << title << " removed " << file;
  }
}

TEST_F(LegacyDeletionTest, TrailingBackslashAndTrailingDotsNameTheirFolder) {
  // "a." and "a " are the folder "a" to Windows: that is what the row made and names.
  for (const char* title : {"a.", "a ", "a. ."}) {
    ops.AddFile(root + "a\\Desktop\\n.txt", "n");
    const std::string said = Delete(title, root + "a\\Desktop\\");
    EXPECT_EQ(said, "桌面已经被删除！") << title;
    EXPECT_FALSE(ops.HasDir(root + "a")) << title;
  }
  ops.AddFile(root + "b\\Desktop\\n.txt", "n");
  ops.lockedFiles.insert(root + "b\\Desktop\\n.txt");
  const std::string said = Delete("b.", root + "b\\Desktop\\");
  EXPECT_NE(said.find(root + "b\\Desktop："), std::string::npos) << said;
  EXPECT_NE(said.find(root + "b："), std::string::npos) << said;
}

TEST_F(LegacyDeletionTest, PathsWithBytesTheCodePageLacksAreNotGuessedAt) {
  // As a load leaves such a path: "D:\x" followed by the raw byte 0xFF.
  ops.AddFile("D:\\x\\in.txt", "i");
  MemoryRows loaded;
  ops.files[paths.CatalogueFile()] = EncodeCatalogue({{{"0", "t", "---", "D:\\x\xFF", ""}}}, kColumnCount);
  LoadCatalogue(loaded, paths.CatalogueFile(), ops);
  const std::string said = Delete("t", loaded.Cell(0, kColPath));
  EXPECT_NE(said.find("编码无法表示"), std::string::npos) << said;
  for (const auto& [file, contents] : kept) EXPECT_TRUE(ops.HasFile(file)) << file;
  EXPECT_TRUE(ops.HasFile("D:\\x\\in.txt"));
}

TEST_F(LegacyDeletionTest, LinksLeftBehindAreNamedAsLinks) {
  ops.AddDir(root + "l\\Desktop\\link");
  ops.AddFile(root + "l\\Desktop\\link\\outside.txt", "o");  // what the link points at
  ops.links.insert(root + "l\\Desktop\\link");
  const std::string said = Delete("l", root + "l\\Desktop");
  EXPECT_NE(said.find("1 个链接无法删除"), std::string::npos) << said;
  EXPECT_EQ(said.find("正在使用"), std::string::npos) << said;
  EXPECT_TRUE(ops.HasFile(root + "l\\Desktop\\link\\outside.txt"));
}

TEST_F(LegacyDeletionTest, AFolderAnotherRowUsesStays) {
  ops.AddFile("D:\\desk\\inner\\mine.txt", "m");
  rows.AddTexts({"8", "inner", "---", "D:\\desk\\inner", "-"});
  const std::string said = Delete("outer", "D:\\desk");
  EXPECT_NE(said.find("桌面“inner”仍在使用其中的文件夹"), std::string::npos) << said;
  EXPECT_TRUE(ops.HasFile("D:\\desk\\inner\\mine.txt"));
}

TEST_F(LegacyDeletionTest, CustomFolderIsNamedInFullBeforeItGoes) {
  ops.AddFile("D:\\desk\\a.txt", "a");
  Delete("c", "D:/desk/");
  ASSERT_EQ(ops.messages.size(), 3u);
  EXPECT_NE(ops.messages[0].find("将删除文件夹及其中的全部内容：D:\\desk"), std::string::npos) << ops.messages[0];
  EXPECT_FALSE(ops.HasDir("D:\\desk"));
}

TEST_F(DeletionTest, CommandsWithoutSelectionOnlyTell) {
  rows.Select(-1);
  DeleteProfile(context);
  OpenProfileFolder(context);
  EXPECT_EQ(ops.messages, std::vector<std::string>(2, "请先在列表中选择一个桌面！"));
  EXPECT_TRUE(ops.shellOpens.empty());
  rows.Select(0);
  OpenProfileFolder(context);
  EXPECT_EQ(ops.shellOpens, std::vector<std::string>{"open|" + root + "工作\\Desktop"});
}

TEST(DateTextTest, DropsTrailingZeroParts) {
  struct Case {
    DateTime value;
    const char* text;
  } cases[] = {
      {{2016, 2, 17, 9, 5, 0}, "2016年2月17日9时5分"},
      {{2016, 2, 17, 0, 0, 0}, "2016年2月17日"},
      {{2016, 2, 17, 9, 0, 0}, "2016年2月17日9时"},
      {{2016, 2, 17, 0, 0, 7}, "2016年2月17日0时0分7秒"},
      {{2016, 12, 1, 23, 59, 59}, "2016年12月1日23时59分59秒"},
      {DateTime{}, "1899年12月30日"},
  };
  for (const Case& c : cases) EXPECT_EQ(DateText(c.value), c.text);
}

}  // namespace
}  // namespace velkor
