#include "catalogue/catalogue_view.h"

#include <gtest/gtest.h>

#include "catalogue/catalogue_file.h"
#include "fake_platform.h"
#include "memory_rows.h"

namespace velkor {
namespace {

using test::FakePlatform;
using test::MemoryRows;

TEST(CatalogueView, SizeText) {
  EXPECT_EQ(SizeText(0), "0 MB");
  EXPECT_EQ(SizeText(1048575), "0 MB");
  EXPECT_EQ(SizeText(1048576), "1 MB");
  EXPECT_EQ(SizeText(6 * 1048576ull - 1), "5 MB");
  EXPECT_EQ(SizeText(5ull << 30), "5120 MB");  // beyond 32 bits
}

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ops.AddFile("C:\\p\\a\\Desktop\\big.bin", std::string(1572864, 'x'));  // 1.5 MiB
    ops.AddDir("C:\\p\\b\\Desktop");
    ops.regText["HKCU\\" + std::string(kShellFoldersKey) + "\\Desktop"] = "C:\\p\\b\\Desktop";
    ops.regText["HKCU\\" + std::string(kUserShellFoldersKey) + "\\Desktop"] = "C:\\p\\b\\Desktop";
    rows.AddTexts({"0", "a", "---", "C:\\p\\a\\Desktop", ""});
    rows.AddTexts({"1", "b", "---", "C:\\p\\b\\Desktop", ""});
    rows.AddTexts({"2", "b2", "---", "C:\\p\\b\\Desktop", ""});
    rows.AddTexts({"3", "case", "---", "c:\\p\\b\\Desktop", ""});
    rows.AddTexts({"4", "slash", "---", "C:\\p\\b\\Desktop\\", ""});
  }
  FakePlatform ops;
  MemoryRows rows;
};

TEST_F(ViewTest, RefreshMeasuresAndMarksByteForByte) {
  RefreshDisplay(rows, ops);
  EXPECT_EQ(rows.Texts(), (std::vector<std::vector<std::string>>{
                              {"0", "a", "1 MB", "C:\\p\\a\\Desktop", "-"},
                              {"1", "b", "0 MB", "C:\\p\\b\\Desktop", "运行中"},
                              {"2", "b2", "0 MB", "C:\\p\\b\\Desktop", "运行中"},
                              {"3", "case", "0 MB", "c:\\p\\b\\Desktop", "-"},
                              {"4", "slash", "0 MB", "C:\\p\\b\\Desktop\\", "-"},
                          }));
}

TEST_F(ViewTest, OneKeyAloneIsNoRunningDesktop) {
  for (const char* key : {kShellFoldersKey, kUserShellFoldersKey}) {
    SCOPED_TRACE(key);
    rows.Clear();
    ViewTest::SetUp();
    ops.regText["HKCU\\" + std::string(key) + "\\Desktop"] = "C:\\elsewhere";
    RefreshDisplay(rows, ops);
    for (int r = 0; r < rows.RowCount(); ++r) EXPECT_EQ(rows.Cell(r, kColState), "-") << r;
  }
}

TEST_F(ViewTest, RunningStateRefreshLeavesFirstRowSize) {
  RunningStateRefresh(rows, ops);
  EXPECT_EQ(rows.Cell(0, kColSize), "---");
  EXPECT_EQ(rows.Cell(1, kColSize), "0 MB");
  EXPECT_EQ(rows.Cell(0, kColState), "-");
}

TEST_F(ViewTest, NoDesktopValueMarksOnlyEmptyPaths) {
  ops.regText.clear();
  rows.AddTexts({"5", "empty", "", "", ""});
  RefreshDisplay(rows, ops);
  for (int r = 0; r < 5; ++r) EXPECT_EQ(rows.Cell(r, kColState), "-");
  EXPECT_EQ(rows.Cell(5, kColState), "运行中");
}

TEST_F(ViewTest, StartupFillLoadsWhenTheFileExists) {
  ops.AddDir("C:\\cfg");
  MemoryRows saved;
  saved.AddTexts({"0", "b", "---", "C:\\p\\b\\Desktop", ""});
  ops.files["C:\\cfg\\c.dat"] = EncodeCatalogue({saved.Row(0)}, kColumnCount);
  MemoryRows list;
  StartupFill(list, "C:\\cfg\\c.dat", ops);
  EXPECT_EQ(list.Texts(), (std::vector<std::vector<std::string>>{{"0", "b", "0 MB", "C:\\p\\b\\Desktop", "运行中"}}));
  MemoryRows none;
  StartupFill(none, "C:\\cfg\\missing.dat", ops);
  EXPECT_EQ(none.RowCount(), 0);
}

}  // namespace
}  // namespace velkor
