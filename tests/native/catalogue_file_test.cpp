#include "catalogue/catalogue_file.h"

#include <gtest/gtest.h>
#include <random>

#include "catalogue/catalogue_view.h"
#include "catalogue/creation.h"
#include "fake_platform.h"
#include "memory_rows.h"

namespace velkor {
namespace {

using test::FakePlatform;
using test::MemoryRows;

std::string Head(char kind) { return std::string(1, kind) + std::string(8, '\xFF') + std::string(8, '\0'); }
std::string Entry(char kind, const std::string& text) { return Head(kind) + text + std::string(2, '\0'); }

TEST(CatalogueFile, WorkedExampleIsByteExact) {
  const std::string expected =
      Entry(0, "0") + Entry(1, "work") + Entry(1, "---") + Entry(1, "C:\\d\\Desktop") + Entry(1, "");
  ASSERT_EQ(expected.size(), 115u);
  MemoryRows rows;
  rows.AddTexts({"0", "work", "---", "C:\\d\\Desktop", ""});
  FakePlatform ops;
  ops.AddDir("C:\\cfg");
  ASSERT_TRUE(SaveCatalogue(rows, "C:\\cfg\\桌面列表.dat", ops));
  EXPECT_EQ(ops.files["C:\\cfg\\桌面列表.dat"], expected);
}

TEST(CatalogueFile, EmptyListIsEmptyFileAndBack) {
  MemoryRows rows;
  FakePlatform ops;
  ops.AddDir("C:\\cfg");
  ASSERT_TRUE(SaveCatalogue(rows, "C:\\cfg\\c.dat", ops));
  EXPECT_EQ(ops.files["C:\\cfg\\c.dat"], "");
  rows.AddTexts({"x"});
  LoadCatalogue(rows, "C:\\cfg\\c.dat", ops);
  EXPECT_EQ(rows.RowCount(), 0);
}

TEST(CatalogueFile, RoundTripKeepsTextsOrderAndRowNumbers) {
  MemoryRows rows;
  rows.AddTexts({"0", "工作", "---", "C:\\p\\工作\\Desktop", ""});
  rows.AddTexts({"1", "", "3 MB", "D:\\x\\", "运行中"});
  CatalogueRow odd{{"7", "t", "", "", "-"}, 3, -42};
  rows.AppendRow(odd);
  FakePlatform ops;
  ops.AddDir("C:\\cfg");
  ASSERT_TRUE(SaveCatalogue(rows, "C:\\cfg\\c.dat", ops));
  MemoryRows loaded;
  LoadCatalogue(loaded, "C:\\cfg\\c.dat", ops);
  EXPECT_EQ(loaded.Texts(), rows.Texts());
  EXPECT_EQ(loaded.Row(2), odd);
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::vector<std::vector<std::string>> rows;
};

TEST(CatalogueFile, DecodeToleratesOddFiles) {
  const std::vector<DecodeCase> cases = {
      {"cell before any row is ignored", Entry(1, "stray") + Entry(0, "0") + Entry(1, "a"), {{"0", "a", "", "", ""}}},
      {"extra cells are ignored",
       Entry(0, "0") + Entry(1, "a") + Entry(1, "b") + Entry(1, "c") + Entry(1, "d") + Entry(1, "e"),
       {{"0", "a", "b", "c", "d"}}},
      {"missing cells stay empty",
       Entry(0, "0") + Entry(1, "a") + Entry(0, "1"),
       {{"0", "a", "", "", ""}, {"1", "", "", "", ""}}},
      {"kinds 0x02 and 0xFF are cells", Entry(0, "0") + Entry(2, "a") + Entry('\xFF', "b"), {{"0", "a", "b", "", ""}}},
      {"tip texts are skipped", Head(0) + "0" + '\0' + "tip" + '\0' + Entry(1, "a"), {{"0", "a", "", "", ""}}},
      {"truncated head is dropped", Entry(0, "0") + Head(1).substr(0, 9), {{"0", "", "", "", ""}}},
      {"text without terminator is dropped", Entry(0, "0") + Head(1) + "abc", {{"0", "", "", "", ""}}},
      {"tip without terminator is dropped", Entry(0, "0") + Head(1) + "abc" + '\0' + "ti", {{"0", "", "", "", ""}}},
      {"single byte", std::string(1, '\0'), {}},
      {"zeros", std::string(40, '\0'), {{"", "", "", "", ""}, {"", "", "", "", ""}}},
  };
  for (const DecodeCase& c : cases) {
    std::vector<std::vector<std::string>> got;
    for (const CatalogueRow& r : DecodeCatalogue(c.bytes, kColumnCount)) got.push_back(r.cells);
    EXPECT_EQ(got, c.rows) << c.name;
  }
}

TEST(CatalogueFile, RandomBytesNeverCrash) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(rng() % 200, '\0');
    for (char& b : bytes) b = static_cast<char>(rng() % 4 == 0 ? 0 : rng());
    for (const CatalogueRow& r : DecodeCatalogue(bytes, kColumnCount)) ASSERT_EQ(r.cells.size(), 5u);
  }
}

TEST(CatalogueFile, UnreadableFileLeavesTheListAlone) {
  MemoryRows rows;
  rows.AddTexts({"0", "old"});
  FakePlatform ops;
  EXPECT_EQ(LoadCatalogue(rows, "C:\\missing.dat", ops), LoadOutcome::Unreadable);
  EXPECT_EQ(rows.RowCount(), 1);
}

TEST(CatalogueFile, SaveRefusesWhatTheCodePageCannotHold) {
  MemoryRows rows;
  rows.AddTexts({"0", std::string("bad") + test::kUnrepresentable});
  FakePlatform ops;
  ops.AddFile("C:\\cfg\\c.dat", "previous");
  EXPECT_FALSE(SaveCatalogue(rows, "C:\\cfg\\c.dat", ops));
  EXPECT_EQ(ops.files["C:\\cfg\\c.dat"], "previous");
}

TEST(CatalogueFile, FailedSaveKeepsPreviousFile) {
  MemoryRows rows;
  rows.AddTexts({"0", "a"});
  FakePlatform ops;
  ops.AddFile("C:\\cfg\\c.dat", "previous");
  ops.unwritableFiles.insert("C:\\cfg\\c.dat");
  EXPECT_FALSE(SaveCatalogue(rows, "C:\\cfg\\c.dat", ops));
  EXPECT_EQ(ops.files["C:\\cfg\\c.dat"], "previous");
}

TEST(CatalogueFile, BytesTheCodePageCannotReadSurviveALoadAndASave) {
  // Titles, paths and the row's hover tip as another machine or an editor left them.
  const std::string tip = "tip \x81\xFF";
  const std::string bytes = Head(0) + "0" + std::string(1, '\0') + tip + std::string(1, '\0') +
                            Entry(1,
                                  "\xFF\xFE"
                                  "ab") +
                            Entry(1, "---") + Entry(1, "D:\\\x80\\Desktop") + Entry(1, "-") + Entry(0, "1") +
                            Entry(1, "plain") + Entry(1, "") + Entry(1, "D:\\p") + Entry(1, "");
  FakePlatform ops;
  ops.AddFile("C:\\cfg\\c.dat", bytes);
  MemoryRows rows;
  ASSERT_EQ(LoadCatalogue(rows, "C:\\cfg\\c.dat", ops), LoadOutcome::Loaded);
  ASSERT_EQ(rows.RowCount(), 2);
  EXPECT_EQ(rows.Cell(1, kColTitle), "plain");
  EXPECT_TRUE(HoldsRawBytes(rows.Cell(0, kColPath)));
  EXPECT_FALSE(HoldsRawBytes(rows.Cell(1, kColPath)));
  ops.files.erase("C:\\cfg\\c.dat");
  ASSERT_TRUE(SaveCatalogue(rows, "C:\\cfg\\c.dat", ops));
  EXPECT_EQ(ops.files["C:\\cfg\\c.dat"], bytes);
}

TEST(CatalogueFile, RowHoverTipsAreKept) {
  FakePlatform ops;
  ops.AddFile("C:\\cfg\\c.dat", Head(0) + "0" + std::string(1, '\0') + "工作用的桌面" + std::string(1, '\0') +
                                    Entry(1, "工作") + Entry(1, "---") + Entry(1, "D:\\w") + Entry(1, ""));
  MemoryRows rows;
  LoadCatalogue(rows, "C:\\cfg\\c.dat", ops);
  ASSERT_EQ(rows.RowCount(), 1);
  EXPECT_EQ(rows.Row(0).tip, "工作用的桌面");
  const std::string read = ops.files["C:\\cfg\\c.dat"];
  ASSERT_TRUE(SaveCatalogue(rows, "C:\\cfg\\c.dat", ops));
  EXPECT_EQ(ops.files["C:\\cfg\\c.dat"], read);
}

class UnloadableCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override { ops.AddDir(root); }
  // Starts the program on `bytes`, then creates a profile, as a user would next.
  void StartAndCreate(const std::string& bytes) {
    ops.files[paths.CatalogueFile()] = bytes;
    context.catalogueFileKept = !StartupFill(rows, paths.CatalogueFile(), ops);
    CreateProfile(context, {"new", "", {}});
  }
  FakePlatform ops;
  MemoryRows rows;
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
  const std::string root = "C:\\app\\软件配置\\桌面配置";
  const std::string threeRows = Entry(0, "0") + Entry(0, "1") + Entry(0, "2");
  const std::string aside = "C:\\app\\软件配置\\桌面列表.dat.unreadable";
};

TEST_F(UnloadableCatalogueTest, AnUnreadableFileIsPutAsideNeverOverwritten) {
  ops.unreadableFiles.insert(paths.CatalogueFile());
  StartAndCreate(threeRows);
  EXPECT_EQ(ops.files.at(aside), threeRows);
  ASSERT_FALSE(ops.messages.empty());
  EXPECT_NE(ops.messages[0].find(aside), std::string::npos) << ops.messages[0];
  EXPECT_EQ(DecodeCatalogue(ops.files.at(paths.CatalogueFile()), kColumnCount).size(), 1u);  // the new one
}

TEST_F(UnloadableCatalogueTest, AFileThatCannotBePutAsideIsNotSavedOver) {
  ops.unreadableFiles.insert(paths.CatalogueFile());
  ops.lockedFiles.insert(paths.CatalogueFile());
  StartAndCreate(threeRows);
  EXPECT_EQ(ops.files.at(paths.CatalogueFile()), threeRows);
  EXPECT_FALSE(ops.HasFile(aside));
  EXPECT_NE(ops.messages[0].find("不会保存"), std::string::npos) << ops.messages[0];
  EXPECT_NE(ops.messages.back().find("无法保存"), std::string::npos) << ops.messages.back();
}

TEST_F(UnloadableCatalogueTest, HugeFilesAreNotLoadedAndKept) {
  const std::string tooManyRows((kMaxCatalogueRows + 1) * 19, '\0');
  const std::string tooManyBytes(kMaxCatalogueBytes + 1, '\x01');
  for (const std::string& bytes : {tooManyRows, tooManyBytes}) {
    ops.files.erase(aside);
    ops.messages.clear();
    rows.Clear();
    StartAndCreate(bytes);
    EXPECT_EQ(rows.RowCount(), 1);  // only the new profile
    EXPECT_EQ(ops.files.at(aside), bytes);
    EXPECT_NE(ops.messages[0].find("过大"), std::string::npos) << ops.messages[0];
  }
  // At the bound itself the file still loads.
  const std::string atBound(kMaxCatalogueRows * 19, '\0');
  ops.files[paths.CatalogueFile()] = atBound;
  MemoryRows full;
  EXPECT_EQ(LoadCatalogue(full, paths.CatalogueFile(), ops), LoadOutcome::Loaded);
  EXPECT_EQ(full.RowCount(), static_cast<int>(kMaxCatalogueRows));
}

}  // namespace
}  // namespace velkor
