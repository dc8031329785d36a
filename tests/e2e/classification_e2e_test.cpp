#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "catalogue/catalogue_file.h"
#include "driver_win.h"
#include "platform/handles_win.h"
#include "platform/platform_ops_win.h"

namespace velkor::e2e {
namespace {

TEST(ClassificationE2E, DocumentsAndPicturesMoveAndTheirMarksShow) {
  ASSERT_TRUE(test::RunningUnderWine());
  ProgramUnderTest program;
  const std::wstring desk = program.RunDir() / L"桌面 一";
  CreateDirectoryW(program.ConfigRoot().c_str(), nullptr);
  CreateDirectoryW(desk.c_str(), nullptr);
  for (const wchar_t* name : {L"报告 2026.doc", L"notes.txt", L"photo.png", L"IMG_0001.JPG", L"song.mp3", L"held.jpg"})
    test::WriteFileW(desk + L"\\" + name, Narrow(name));
  CreateDirectoryW((desk + L"\\folder.doc").c_str(), nullptr);
  ASSERT_TRUE(program.WriteCatalogue({{{"0", "一", "---", Narrow(desk), ""}}}));
  // Held open without delete sharing: it cannot be moved.
  UniqueFile held(
      CreateFileW((desk + L"\\held.jpg").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);

  program.Start();
  HWND main = program.MainWindow();
  ASSERT_TRUE(main);
  SelectRow(program.List(), 0);
  ChooseCommand(main, kCmdClassify);
  HWND window = WaitWindow(program.Pid(), L"桌面文件快速分类");
  ASSERT_TRUE(window);
  for (int mark = 111; mark <= 115; ++mark) EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, mark)));
  ClickButton(window, 101);
  ClickButton(window, 102);
  ASSERT_TRUE(WaitFor([&] { return IsChecked(window, 101) && IsChecked(window, 102); }));
  // A stray Enter on a ticked box moves nothing; only the button does.
  SetForegroundWindow(window);
  PostMessageW(GetDlgItem(window, 102), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(WaitMessageBox(program.Pid(), 1000));
  EXPECT_EQ(test::ReadFileW(desk + L"\\photo.png"), "photo.png");
  ClickButton(window, 121);
  HWND box = WaitMessageBox(program.Pid());
  ASSERT_TRUE(box);
  EXPECT_NE(MessageBoxText(box).find("整理完毕！"), std::string::npos);
  EXPECT_NE(MessageBoxText(box).find("有 1 个文件无法移动"), std::string::npos) << MessageBoxText(box);
  Answer(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));

  const std::wstring tidy = desk + L"\\桌面整理";
  EXPECT_EQ(test::ReadFileW(tidy + L"\\文档文件\\报告 2026.doc"), "报告 2026.doc");
  EXPECT_EQ(test::ReadFileW(tidy + L"\\文档文件\\notes.txt"), "notes.txt");
  EXPECT_EQ(test::ReadFileW(tidy + L"\\图片文件\\photo.png"), "photo.png");
  EXPECT_EQ(test::ReadFileW(tidy + L"\\图片文件\\IMG_0001.JPG"), "IMG_0001.JPG");  // extensions in any case
  EXPECT_EQ(test::ReadFileW(desk + L"\\held.jpg"), "held.jpg");
  EXPECT_EQ(test::ReadFileW(desk + L"\\song.mp3"), "song.mp3");
  EXPECT_NE(GetFileAttributesW((desk + L"\\folder.doc").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW((tidy + L"\\音频文件").c_str()), INVALID_FILE_ATTRIBUTES);
  const bool shown[] = {true, true, false, false, false};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(IsWindowVisible(GetDlgItem(window, 111 + i)) != FALSE, shown[i]) << i;
  SaveScreenshot(window, "classification");

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitExit(5000), 0u);
}

}  // namespace
}  // namespace velkor::e2e
