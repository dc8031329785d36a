#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "catalogue/catalogue_file.h"
#include "driver_win.h"
#include "platform/handles_win.h"
#include "platform/platform_ops_win.h"
#include "unix_side_win.h"

namespace velkor::e2e {
namespace {

enum : int { kTitleBox = 111, kCreateButton = 112, kPathBox = 121 };

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Creates a profile through the creation window; returns every message it showed.
std::vector<std::string> Create(ProgramUnderTest& program, HWND main, const std::string& title,
                                const std::string& path = "") {
  ChooseCommand(main, kCmdNewDesktop);
  HWND window = WaitWindow(program.Pid(), L"创建新桌面");
  if (!window) return {"<no window>"};
  SetControlText(window, kTitleBox, title);
  SetControlText(window, kPathBox, path);
  ClickButton(window, kCreateButton);
  std::vector<std::string> said;
  for (HWND box; (box = WaitMessageBox(program.Pid(), said.empty() ? 5000 : 1500));) {
    said.push_back(MessageBoxText(box));
    Answer(box, IDOK);
    WaitFor([&] { return !IsWindow(box); });
  }
  if (IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
  WaitFor([&] { return !IsWindow(window); });  // the next opening must find a new window
  return said;
}

size_t SavedRowCount(const ProgramUnderTest& program) {
  return DecodeCatalogue(test::ReadFileW(program.CatalogueFile()), kColumnCount).size();
}

TEST(SafetyE2E, NoSpellingOfADriveOrTheProgramFolderIsEverEmptied) {
  ASSERT_TRUE(test::RunningUnderWine());
  test::ScratchDrive drive(L'T');
  ASSERT_TRUE(drive.Ready());
  for (const wchar_t* f : {L"T:\\keep.txt", L"T:\\x\\keep.txt"}) {
    CreateDirectoryW(L"T:\\x", nullptr);
    test::WriteFileW(f, "k");
  }
  ProgramUnderTest program;
  const std::wstring runFile = program.RunDir() / L"keep.txt";
  test::WriteFileW(runFile, "k");
  const std::wstring run = program.RunDir() / L"..\\run";
  CreateDirectoryW(run.c_str(), nullptr);
  test::WriteFileW(run + L"\\keep.txt", "k");

  // Rows an old or edited catalogue may hold; the program starts in its own folder.
  const std::vector<std::string> spellings = {
      "T:/", "T:\\\\", "T:\\.", "T:\\x\\..", "T:.", "T:", "T:\\", "\\.", ".", ".\\", "..\\run"};
  std::vector<CatalogueRow> rows;
  for (size_t i = 0; i < spellings.size(); ++i) {
    std::string title = "t";
    title += std::to_string(i);
    rows.push_back({{std::to_string(i), title, "---", spellings[i], "-"}});
  }
  ASSERT_TRUE(program.WriteCatalogue(rows));
  program.Start();
  HWND main = program.MainWindow();
  ASSERT_TRUE(main);

  for (const std::string& path : spellings) {
    SelectRow(program.List(), 0);
    ChooseCommand(main, kCmdDeleteDesktop);
    Reply(program.Pid(), IDOK);
    Reply(program.Pid(), IDOK);
    const std::string said = Reply(program.Pid(), IDOK);
    EXPECT_NE(said.find(path + "："), std::string::npos) << path << " | " << said;
    EXPECT_NE(said.find("未删除"), std::string::npos) << path << " | " << said;
  }
  // The same spellings are refused as custom paths when a profile is created.
  for (const std::string& path : spellings) {
    const std::vector<std::string> said = Create(program, main, "c", path);
    ASSERT_EQ(said.size(), 1u) << path;
    EXPECT_EQ(said[0].find("创建完毕"), std::string::npos) << path << " | " << said[0];
  }
  EXPECT_EQ(SavedRowCount(program), 0u);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitExit(5000), 0u);

  for (const wchar_t* f : {L"T:\\keep.txt", L"T:\\x\\keep.txt"}) EXPECT_TRUE(Exists(f)) << Narrow(f);
  EXPECT_TRUE(Exists(runFile));
  EXPECT_TRUE(Exists(run + L"\\keep.txt"));
  EXPECT_TRUE(Exists(program.RunDir() / Widen(VELKOR_EXE_NAME)));
  test::RemoveTreeW(run);
}

TEST(SafetyE2E, AnUnreadableCatalogueKeepsEveryByte) {
  ASSERT_TRUE(test::RunningUnderWine());
  ProgramUnderTest program;
  ASSERT_TRUE(program.WriteCatalogue(
      {{{"0", "a", "---", "D:\\a", ""}}, {{"1", "b", "---", "D:\\b", ""}}, {{"2", "c", "---", "D:\\c", ""}}}));
  const std::string original = test::ReadFileW(program.CatalogueFile());
  {
    // Another program holds the file without sharing it: it can be neither read nor
    // renamed.
    UniqueFile lock(CreateFileW(program.CatalogueFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    program.Start();
    const std::string said = Reply(program.Pid(), IDOK);
    EXPECT_NE(said.find("无法读取"), std::string::npos) << said;
    HWND main = program.MainWindow();
    ASSERT_TRUE(main);
    const std::vector<std::string> created = Create(program, main, "new");
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0], "[new]创建完毕！");
    EXPECT_NE(created[1].find("无法保存"), std::string::npos) << created[1];
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitExit(5000), 0u);
  }
  EXPECT_EQ(test::ReadFileW(program.CatalogueFile()), original);
}

TEST(SafetyE2E, SavesWhileAnotherProgramReadsTheCatalogue) {
  ASSERT_TRUE(test::RunningUnderWine());
  ProgramUnderTest program;
  program.Start();
  HWND main = program.MainWindow();
  ASSERT_TRUE(main);
  ASSERT_EQ(Create(program, main, "one"), std::vector<std::string>{"[one]创建完毕！"});
  {
    UniqueFile reader(CreateFileW(program.CatalogueFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_EQ(Create(program, main, "two"), std::vector<std::string>{"[two]创建完毕！"});
    EXPECT_EQ(SavedRowCount(program), 2u);
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitExit(5000), 0u);
}

}  // namespace
}  // namespace velkor::e2e
