#include "catalogue/program_paths.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace velkor {
namespace {

using test::FakePlatform;

TEST(ProgramPaths, FromExecutable) {
  const AppPaths tools = AppPaths::FromExecutable("C:\\tools\\v.exe");
  EXPECT_EQ(tools.runDir, "C:\\tools");
  EXPECT_EQ(tools.exeName, "v.exe");
  EXPECT_EQ(tools.CatalogueFile(), "C:\\tools\\软件配置\\桌面列表.dat");
  EXPECT_EQ(tools.ProfilesRoot(), "C:\\tools\\软件配置\\桌面配置\\");
  EXPECT_EQ(AppPaths::FromExecutable("C:\\v.exe").runDir, "C:");
}

TEST(ProgramPaths, EnsureConfigFolders) {
  const AppPaths paths{"C:\\app", "v.exe"};
  {
    FakePlatform ops;
    ops.AddDir("C:\\app");
    EnsureConfigFolders(ops, paths);
    EXPECT_TRUE(ops.HasDir("C:\\app\\软件配置"));
    EXPECT_TRUE(ops.HasDir("C:\\app\\软件配置\\桌面配置"));
  }
  {  // a configuration folder without the profiles folder gets it too
    FakePlatform ops;
    ops.AddDir("C:\\app\\软件配置");
    EnsureConfigFolders(ops, paths);
    EXPECT_TRUE(ops.HasDir("C:\\app\\软件配置\\桌面配置"));
  }
}

}  // namespace
}  // namespace velkor
