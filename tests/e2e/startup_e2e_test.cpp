#include <gtest/gtest.h>

#include "app/startup.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_view.h"
#include "driver_win.h"
#include "platform/platform_ops_win.h"

namespace velkor::e2e {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(StartupE2E, ShowsCatalogueWithSizesAndStateThenStaysSingle) {
  ASSERT_TRUE(test::RunningUnderWine());
  ProgramUnderTest program;
  const std::wstring a = program.ProfilesRoot() + L"\\工作\\Desktop";
  const std::wstring b = program.ProfilesRoot() + L"\\游戏\\Desktop";
  for (const std::wstring& dir : {program.ConfigRoot(), program.ProfilesRoot(), program.ProfilesRoot() + L"\\工作", a,
                                  program.ProfilesRoot() + L"\\游戏", b})
    CreateDirectoryW(dir.c_str(), nullptr);
  test::WriteFileW(a + L"\\big.bin", std::string(1572864, 'x'));

  ASSERT_TRUE(
      program.WriteCatalogue({{{"0", "工作", "---", Narrow(a), ""}}, {{"1", "游戏", "9 MB", Narrow(b), "运行中"}}}));
  RegistryTextGuard desktop(std::string(kShellFoldersKey) + "\\Desktop");
  desktop.Set(Narrow(b));
  // A profile runs only when both keys name its desktop.
  RegistryTextGuard userDesktop(std::string(kUserShellFoldersKey) + "\\Desktop");
  userDesktop.Set(Narrow(b));

  program.Start();
  HWND main = program.MainWindow();
  ASSERT_TRUE(main);
  wchar_t title[64];
  GetWindowTextW(main, title, 64);
  // The program is told the same Windows version as this test (the prefix's: XP in the
  // 32-bit XP run).
  EXPECT_EQ(Narrow(title), MainWindowTitle(OsGenerationOf(Win32PlatformOps().Version())));
  ASSERT_TRUE(WaitFor([&] { return ReadRows(program.List(), kColumnCount).size() == 2; }));
  EXPECT_EQ(ReadRows(program.List(), kColumnCount),
            (Rows{{"0", "工作", "1 MB", Narrow(a), "-"}, {"1", "游戏", "0 MB", Narrow(b), "运行中"}}));
  SaveScreenshot(main, "main_window");

  // A second copy shows the first one's window and ends, also when the stored
  // handle cannot be read.
  for (bool dropStoredHandle : {false, true}) {
    ShowWindow(main, SW_HIDE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    if (dropStoredHandle) RegDeleteValueW(HKEY_LOCAL_MACHINE, L"Win7多Velkor");
    HANDLE second = program.Start();
    ASSERT_EQ(WaitForSingleObject(second, 3000), WAIT_OBJECT_0) << "dropped handle: " << dropStoredHandle;
    DWORD code = 1;
    GetExitCodeProcess(second, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 2000))
        << "dropped handle: " << dropStoredHandle;
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitExit(5000), 0u);
}

TEST(StartupE2E, FreshFolderGetsConfigFoldersAndEmptyList) {
  ASSERT_TRUE(test::RunningUnderWine());
  ProgramUnderTest program;
  program.Start();
  HWND main = program.MainWindow();
  ASSERT_TRUE(main);
  EXPECT_TRUE(GetFileAttributesW(program.ProfilesRoot().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_NE(GetFileAttributesW(program.ProfilesRoot().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(ReadRows(program.List(), kColumnCount).empty());
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitExit(5000), 0u);
}

TEST(StartupE2E, GarbageCatalogueDoesNotStopTheProgram) {
  ASSERT_TRUE(test::RunningUnderWine());
  ProgramUnderTest program;
  CreateDirectoryW(program.ConfigRoot().c_str(), nullptr);
  std::string noise(4096, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 2654435761u) >> 13);
  test::WriteFileW(program.CatalogueFile(), noise);
  program.Start();
  HWND main = program.MainWindow();
  ASSERT_TRUE(main);
  EXPECT_FALSE(FindWindowOf(program.Pid(), L"#32770", nullptr));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitExit(5000), 0u);
}

}  // namespace
}  // namespace velkor::e2e
