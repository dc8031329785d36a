#include <algorithm>
#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "catalogue/catalogue_file.h"
#include "driver_win.h"
#include "platform/platform_ops_win.h"
#include "tools/search_window_win.h"

namespace velkor::e2e {
namespace {

using Names = std::vector<std::string>;

constexpr char kSummaryStart[] = "  搜索完毕，总耗时";

Names SortedRows(HWND list) {
  Names rows;
  for (const auto& row : ReadRows(list, 1)) rows.push_back(row.at(0));
  std::sort(rows.begin(), rows.end());
  return rows;
}

class SearchE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::RunningUnderWine());
    desktop_ = program_.ProfilesRoot() + L"\\工作\\Desktop";
    for (const std::wstring& d : {program_.ConfigRoot(), program_.ProfilesRoot(), program_.ProfilesRoot() + L"\\工作",
                                  desktop_, desktop_ + L"\\sub", desktop_ + L"\\sub\\deeper"})
      CreateDirectoryW(d.c_str(), nullptr);
    std::string gbk;
    ASSERT_TRUE(ops_.ToAnsi("查找内容", gbk));
    test::WriteFileW(desktop_ + L"\\a.txt", "hello needle world");
    test::WriteFileW(desktop_ + L"\\sub\\b.txt", "needle");
    test::WriteFileW(desktop_ + L"\\sub\\upper.txt", "NEEDLE");
    test::WriteFileW(desktop_ + L"\\sub\\deeper\\c.bin", std::string("\0\0MZ\x90\0", 6));
    test::WriteFileW(desktop_ + L"\\d.exe", std::string("MZ\x90\0\x03", 5));
    test::WriteFileW(desktop_ + L"\\文档.txt", "..." + gbk + "...");
    test::WriteFileW(desktop_ + L"\\utf8.txt", "...查找内容...");  // found only with 多种编码
    const std::wstring wide = L"\xFEFF...查找内容...";
    test::WriteFileW(desktop_ + L"\\utf16.txt",
                     std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)));

    ASSERT_TRUE(program_.WriteCatalogue({{{"0", "工作", "---", Narrow(desktop_), ""}}}));

    program_.Start();
    main_ = program_.MainWindow();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(WaitFor([&] { return ReadRows(program_.List(), kColumnCount).size() == 1; }));
    SelectRow(program_.List(), 0);
    ChooseCommand(main_, kCmdSearch);
    ASSERT_TRUE(WaitFor([&] {
      return (search_ = FindWindowOf(program_.Pid(), kSearchWindowClass, L"搜索窗口")) && IsWindowVisible(search_);
    }));
    status_ = GetDlgItem(search_, kIdStatus);
    list_ = GetDlgItem(search_, kIdResults);
  }

  void TearDown() override {
    if (search_) PostMessageW(search_, WM_CLOSE, 0, 0);
    if (main_) {
      PostMessageW(main_, WM_CLOSE, 0, 0);
      EXPECT_EQ(program_.WaitExit(10000), 0u);
    }
  }

  // Waits until part 0 shows `hint`, starts the search and waits for its summary.
  std::string Search(int mode, const char* hint, DWORD ms = 15000) {
    ClickButton(search_, mode);
    EXPECT_TRUE(WaitFor([&] { return StatusText(status_, 0) == hint; })) << StatusText(status_, 0);
    ClickButton(search_, kIdFind);
    std::string summary;
    EXPECT_TRUE(WaitFor([&] { return (summary = StatusText(status_, 0)).starts_with(kSummaryStart); }, ms)) << summary;
    return summary;
  }

  Names RowsOnceThere(size_t count) {
    WaitFor([&] { return ReadRows(list_, 1).size() >= count; });
    return SortedRows(list_);
  }

  ProgramUnderTest program_;
  Win32PlatformOps ops_;
  std::wstring desktop_;
  HWND main_ = nullptr, search_ = nullptr, status_ = nullptr, list_ = nullptr;
};

constexpr char kTextHint[] = "  请在查找内容-文本之后输入你需要查找的内容";
constexpr char kHexHint[] = "  请在查找内容-16进制之后输入你需要查找的内容";

TEST_F(SearchE2E, SearchesTheSelectedDesktopForTextAndHex) {
  EXPECT_EQ(ControlText(search_, kIdSearchDir), Narrow(desktop_));
  EXPECT_EQ(StatusText(status_, 0), "  请先选择需要查找的目录，进行相应设置后点击查找按钮。");
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, program_.Pid()));
  EXPECT_EQ(GetPriorityClass(process.get()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));  // raised only to search
  SaveScreenshot(search_, "search_window");

  SetControlText(search_, kIdTextPattern, "needle");
  std::string summary = Search(kIdTextMode, kTextHint);
  EXPECT_TRUE(summary.ends_with("毫秒。找到文件总数2")) << summary;
  EXPECT_EQ(RowsOnceThere(2), (Names{"a.txt", "sub\\b.txt"}));
  EXPECT_EQ(StatusText(status_, 1), "8");
  SaveScreenshot(search_, "search_window_results");

  // 多种编码 (ticked when the window opens): the text is looked for as GBK (the ANSI code
  // page here), UTF-8 and UTF-16; unticked, in the ANSI code page only.
  EXPECT_TRUE(IsChecked(search_, kIdMultiEncoding));
  SetControlText(search_, kIdTextPattern, "查找内容");
  summary = Search(kIdTextMode, kTextHint);
  EXPECT_TRUE(summary.ends_with("找到文件总数3")) << summary;
  EXPECT_EQ(RowsOnceThere(3), (Names{"utf16.txt", "utf8.txt", "文档.txt"}));
  ClickButton(search_, kIdMultiEncoding);
  ASSERT_TRUE(WaitFor([&] { return !IsChecked(search_, kIdMultiEncoding); }));
  summary = Search(kIdTextMode, kTextHint);
  EXPECT_TRUE(summary.ends_with("找到文件总数1")) << summary;
  EXPECT_EQ(RowsOnceThere(1), Names{"文档.txt"});

  SetControlText(search_, kIdHexPattern, "4d5A90");
  summary = Search(kIdHexMode, kHexHint);
  EXPECT_TRUE(summary.ends_with("找到文件总数2")) << summary;
  EXPECT_EQ(RowsOnceThere(2), (Names{"d.exe", "sub\\deeper\\c.bin"}));

  // Without sub-directories: the top level only, as bare names.
  ClickButton(search_, kIdSubdirs);
  ASSERT_TRUE(WaitFor([&] { return !IsChecked(search_, kIdSubdirs); }));
  summary = Search(kIdHexMode, kHexHint);
  EXPECT_TRUE(summary.ends_with("找到文件总数1")) << summary;
  EXPECT_EQ(RowsOnceThere(1), Names{"d.exe"});

  // Characters that are not hexadecimal digits are refused before anything runs.
  SetControlText(search_, kIdHexPattern, "4D 5A");
  ClickButton(search_, kIdFind);
  HWND box = WaitMessageBox(program_.Pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(MessageBoxText(box), kHexRefused);
  Answer(box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));

  // A directory that does not exist: nothing found.
  SetControlText(search_, kIdSearchDir, Narrow(desktop_) + "\\missing");
  SetControlText(search_, kIdTextPattern, "needle");
  summary = Search(kIdTextMode, kTextHint);
  EXPECT_TRUE(summary.ends_with("找到文件总数0")) << summary;
}

TEST_F(SearchE2E, StopEndsALargeSearch) {
  // 200 sparse files of 64 MiB, read in pieces of 1K by one worker: minutes of work.
  const std::wstring big = program_.RunDir() / L"big";
  CreateDirectoryW(big.c_str(), nullptr);
  constexpr int kFiles = 200;
  for (int i = 0; i < kFiles; ++i) {
    UniqueFile f(CreateFileW((big + L"\\f" + std::to_wstring(i) + L".bin").c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(f);
    LARGE_INTEGER size;
    size.QuadPart = 64ll << 20;
    SetFilePointerEx(f.get(), size, nullptr, FILE_BEGIN);
    SetEndOfFile(f.get());
  }
  SetControlText(search_, kIdSearchDir, Narrow(big));
  SetControlText(search_, kIdTextPattern, "needle");
  SendMessageW(GetDlgItem(search_, kIdThreads), CB_SETCURSEL, 0, 0);  // "1"
  SendMessageW(GetDlgItem(search_, kIdChunk), CB_SETCURSEL, 5, 0);    // "1K"
  ClickButton(search_, kIdFind);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(search_, kIdStop)) != FALSE; }));
  ASSERT_TRUE(WaitFor([&] { return !StatusText(status_, 1).empty(); }));  // the walk has begun
  ClickButton(search_, kIdStop);
  std::string summary;
  ASSERT_TRUE(WaitFor([&] { return (summary = StatusText(status_, 0)).starts_with(kSummaryStart); }, 30000));
  EXPECT_TRUE(summary.ends_with("找到文件总数0")) << summary;
  EXPECT_LT(std::stoi(StatusText(status_, 1)), kFiles);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(search_, kIdFind)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(search_, kIdStop)));
}

}  // namespace
}  // namespace velkor::e2e
