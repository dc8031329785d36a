#include "catalogue/catalogue_file.h"

#include <gtest/gtest.h>
#include <random>

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

TEST(CatalogueFile, UnreadableFileGivesEmptyList) {
  MemoryRows rows;
  rows.AddTexts({"0", "old"});
  FakePlatform ops;
  LoadCatalogue(rows, "C:\\missing.dat", ops);
  EXPECT_EQ(rows.RowCount(), 0);
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

}  // namespace
}  // namespace velkor
