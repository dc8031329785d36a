#include "tools/classification.h"

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "memory_rows.h"

namespace velkor {
namespace {

using test::FakePlatform;
using test::MemoryRows;

struct RecordedMarks : DoneMarks {
  std::string log;
  void HideAll() override { log += "hide;"; }
  void Show(size_t category) override { log += std::to_string(category + 1) + ";"; }
};

const std::string kDesk = "C:\\p\\a\\Desktop";
const std::string kTidy = kDesk + "\\桌面整理";

class ClassificationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rows.AddTexts({"0", "a", "---", kDesk, ""});
    rows.Select(0);
    ops.AddDir(kDesk);
  }
  void Run(std::array<bool, 5> ticked) {
    ops.messages.clear();
    marks.log.clear();
    ClassifyDesktop(context, ticked, marks);
  }
  FakePlatform ops;
  MemoryRows rows;
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
  RecordedMarks marks;
};

TEST_F(ClassificationTest, NothingTicked) {
  ops.AddFile(kDesk + "\\a.doc");
  Run({});
  EXPECT_EQ(marks.log, "hide;");
  EXPECT_EQ(ops.messages, std::vector<std::string>{"整理完毕！"});
  EXPECT_TRUE(ops.HasFile(kDesk + "\\a.doc"));
  EXPECT_TRUE(ops.madeDirs.empty());
}

TEST_F(ClassificationTest, PicturesOnlyMakesFoldersInOrderAndMovesEveryPictureKind) {
  for (const char* name : {"a.jpg", "b.gif", "c.bmp", "d.ico", "e.png", "f.doc", "照片 1.jpg"})
    ops.AddFile(kDesk + "\\" + name, name);
  Run({false, true, false, false, false});
  EXPECT_EQ(ops.madeDirs, (std::vector<std::string>{kTidy, kTidy + "\\图片文件"}));
  for (const char* name : {"a.jpg", "b.gif", "c.bmp", "d.ico", "e.png", "照片 1.jpg"}) {
    EXPECT_FALSE(ops.HasFile(kDesk + "\\" + name)) << name;
    EXPECT_EQ(ops.files[kTidy + "\\图片文件\\" + name], name);
  }
  EXPECT_TRUE(ops.HasFile(kDesk + "\\f.doc"));
  EXPECT_EQ(marks.log, "hide;2;");
}

TEST_F(ClassificationTest, FoldersAndSubFolderFilesStay) {
  ops.AddDir(kDesk + "\\x.doc");
  ops.AddFile(kDesk + "\\sub\\y.doc");
  Run({true, false, false, false, false});
  EXPECT_TRUE(ops.HasDir(kDesk + "\\x.doc"));
  EXPECT_TRUE(ops.HasFile(kDesk + "\\sub\\y.doc"));
  EXPECT_FALSE(ops.HasDir(kTidy + "\\文档文件"));  // made only when a file is found
  EXPECT_TRUE(ops.HasDir(kTidy));
}

TEST_F(ClassificationTest, NameCollisionKeepsBothFiles) {
  ops.AddFile(kTidy + "\\文档文件\\a.txt", "older");
  ops.AddFile(kTidy + "\\文档文件\\a (2).txt", "second");
  ops.AddFile(kDesk + "\\a.txt", "newer");
  ops.AddFile(kDesk + "\\README", "no extension");
  Run({true, false, false, false, false});
  EXPECT_EQ(ops.files[kTidy + "\\文档文件\\a.txt"], "older");
  EXPECT_EQ(ops.files[kTidy + "\\文档文件\\a (3).txt"], "newer");
  EXPECT_EQ(NumberedName("README", 2), "README (2)");
  EXPECT_EQ(NumberedName(".profile", 2), ".profile (2)");
  EXPECT_EQ(NumberedName("a.b.zip", 4), "a.b (4).zip");
}

TEST_F(ClassificationTest, LockedFileIsLeftAndCounted) {
  ops.AddFile(kDesk + "\\held.mp3", "h");
  ops.AddFile(kDesk + "\\free.mp3", "f");
  ops.lockedFiles.insert(kDesk + "\\held.mp3");
  Run({false, false, false, false, true});
  EXPECT_TRUE(ops.HasFile(kDesk + "\\held.mp3"));
  EXPECT_TRUE(ops.HasFile(kTidy + "\\音频文件\\free.mp3"));
  ASSERT_EQ(ops.messages.size(), 1u);
  EXPECT_NE(ops.messages[0].find("有 1 个文件无法移动"), std::string::npos) << ops.messages[0];
  EXPECT_EQ(marks.log, "hide;5;");
}

// Across volumes a move is a copy and a deletion; when the deletion fails the system
// still reports success with the file in both places.
TEST_F(ClassificationTest, CopyWhoseSourceStaysIsNotCountedAsMoved) {
  ops.AddFile(kDesk + "\\kept.doc", "k");
  ops.sourcesKeptByMove.insert(kDesk + "\\kept.doc");
  Run({true, false, false, false, false});
  EXPECT_TRUE(ops.HasFile(kDesk + "\\kept.doc"));
  ASSERT_EQ(ops.messages.size(), 1u);
  EXPECT_NE(ops.messages[0].find("有 1 个文件无法移动"), std::string::npos) << ops.messages[0];
}

TEST_F(ClassificationTest, SecondRunMovesNothingAndShowsTheSameMarks) {
  ops.AddFile(kDesk + "\\a.zip");
  ops.AddFile(kDesk + "\\b.avi");
  Run({false, false, true, true, false});
  const auto files = ops.files;
  const std::string firstMarks = marks.log;
  Run({false, false, true, true, false});
  EXPECT_EQ(ops.files, files);
  EXPECT_EQ(marks.log, firstMarks);
  EXPECT_EQ(firstMarks, "hide;3;4;");
}

TEST_F(ClassificationTest, MissingDesktopStillShowsMarksAndFinishes) {
  rows.SetCell(0, kColPath, "C:\\gone\\Desktop");
  Run({true, true, true, true, true});
  EXPECT_EQ(marks.log, "hide;1;2;3;4;5;");
  EXPECT_EQ(ops.messages, std::vector<std::string>{"整理完毕！"});
}

TEST_F(ClassificationTest, NoDesktopSelectedOnlySaysSo) {
  ops.AddFile(kDesk + "\\a.doc");
  for (int row : {-1, 1}) {
    rows.AddTexts({"1", "empty path", "", "", ""});
    rows.Select(row);
    Run({true, true, true, true, true});
    EXPECT_EQ(ops.messages, std::vector<std::string>{"尚未选择需要进行分类的桌面！"});
    EXPECT_EQ(marks.log, "");
    EXPECT_TRUE(ops.HasFile(kDesk + "\\a.doc"));
  }
}

TEST_F(ClassificationTest, ProtectedFoldersAreNotTidied) {
  for (const char* desk : {"C:\\", "D:/", ".", "C:\\app", "C:\\Windows", "C:\\Users\\tester"}) {
    FakePlatform fresh;
    fresh.AddFile(std::string(desk) + "\\a.txt", "a");
    fresh.AddFile("C:\\app\\a.txt", "a");
    MemoryRows list;
    list.AddTexts({"0", "a", "---", desk, ""});
    list.Select(0);
    CatalogueContext ctx{fresh, list, paths};
    ClassifyDesktop(ctx, {true, true, true, true, true}, marks);
    EXPECT_TRUE(fresh.madeDirs.empty()) << desk;
    EXPECT_TRUE(fresh.HasFile("C:\\app\\a.txt")) << desk;
    ASSERT_EQ(fresh.messages.size(), 1u);
    EXPECT_NE(fresh.messages[0].find("不能整理"), std::string::npos) << desk;
  }
}

}  // namespace
}  // namespace velkor
