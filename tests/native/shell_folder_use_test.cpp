#include "catalogue/shell_folder_use.h"

#include <gtest/gtest.h>

#include "catalogue/catalogue_view.h"
#include "catalogue/creation.h"
#include "catalogue/profile_commands.h"
#include "fake_platform.h"
#include "memory_rows.h"

namespace velkor {
namespace {

using test::FakePlatform;
using test::MemoryRows;

TEST(PathIsOrIsInside, FullPathsIgnoringCaseAndSlashes) {
  struct Case {
    const char* path;
    const char* folder;
    bool inside;
  } cases[] = {
      {"C:\\p\\a", "C:\\p\\a", true},       {"c:\\P\\A\\", "C:\\p\\a", true}, {"C:/p/a/Favorites", "C:\\p\\a\\", true},
      {"C:\\p\\a\\x\\y", "C:\\p\\a", true}, {"C:\\p\\ab", "C:\\p\\a", false},  // a sibling that merely starts alike
      {"C:\\p", "C:\\p\\a", false},         {"C:\\p\\a", "", false},          {"", "C:\\p\\a", false},
  };
  for (const Case& c : cases) EXPECT_EQ(PathIsOrIsInside(c.path, c.folder), c.inside) << c.path << " in " << c.folder;
}

const std::string root = "C:\\app\\软件配置\\桌面配置\\";

// A profile 工作 with every folder, not marked in use in the list.
struct OneProfile {
  OneProfile() {
    ops.AddDir(root);
    CreationRequest request{"工作", "", {}};
    request.options.fill(true);
    CreateProfile(context, request);
    rows.SetCell(0, kColState, "-");
    rows.Select(0);
    ops.messages.clear();
  }
  FakePlatform ops;
  MemoryRows rows;
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
};

class InUseDeletionTest : public ::testing::Test, protected OneProfile {};

TEST_F(InUseDeletionTest, AnyShellFolderValueNamingItsFoldersKeepsTheProfile) {
  struct Case {
    const char* key;
    const char* name;
    uint32_t type;
    std::string value;
  } cases[] = {
      {kShellFoldersKey, "Favorites", kRegSz, root + "工作\\Favorites"},
      {kUserShellFoldersKey, "AppData", kRegSz, "c:\\APP\\软件配置\\桌面配置\\工作\\appdata"},
      {kUserShellFoldersKey, "Personal", kRegExpandSz, root + "工作\\Desktop\\"},
      {kShellFoldersKey, "Desktop", kRegSz, "C:/app/软件配置/桌面配置/工作"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    OneProfile p;
    FakePlatform& ops = p.ops;
    MemoryRows& rows = p.rows;
    ops.SetRegValue(c.key, {c.name, c.type, RegTextData(c.value)});
    const auto dirs = ops.dirs;
    DeleteProfile(p.context);
    EXPECT_EQ(ops.dirs, dirs);
    EXPECT_EQ(rows.RowCount(), 1);
    ASSERT_EQ(ops.messages.size(), 1u);
    EXPECT_NE(ops.messages[0].find(std::string(c.key) + "\\" + c.name), std::string::npos) << ops.messages[0];
    EXPECT_NE(ops.messages[0].find("还原到切换前的文件夹"), std::string::npos) << "the way back is offered";
  }
}

TEST_F(InUseDeletionTest, ValuesNamingOtherFoldersDoNotStopIt) {
  ops.SetRegValue(kShellFoldersKey, {"Favorites", kRegSz, RegTextData(root + "工作2\\Favorites")});
  ops.SetRegValue(kUserShellFoldersKey, {"Desktop", kRegSz, RegTextData("C:\\Users\\me\\Desktop")});
  DeleteProfile(context);
  EXPECT_EQ(rows.RowCount(), 0);
  EXPECT_EQ(ops.messages.back(), "桌面已经被删除！");
}

}  // namespace
}  // namespace velkor
