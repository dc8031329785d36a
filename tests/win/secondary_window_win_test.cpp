#include "platform/secondary_window_win.h"

#include <gtest/gtest.h>

#include "catalogue/creation_window_win.h"
#include "fake_platform.h"
#include "memory_rows.h"
#include "window_probes_win.h"

namespace velkor {
namespace {

using test::CountWindows;

TEST(SecondaryWindows, OpenOnceBringsBackTheOpenWindow) {
  test::FakePlatform ops;
  test::MemoryRows rows;
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
  CreationWindow window(context);
  window.OpenOnce();
  ASSERT_TRUE(window.IsOpen());
  HWND first = window.Handle();
  HWND title = FindWindowExW(first, nullptr, L"EDIT", nullptr);
  SetWindowTextW(title, L"typed");
  ShowWindow(first, SW_MINIMIZE);
  window.OpenOnce();
  EXPECT_EQ(window.Handle(), first);
  EXPECT_FALSE(IsIconic(first));
  EXPECT_EQ(CountWindows(L"VelkorCreationWindow"), 1);
  wchar_t text[16] = L"";
  GetWindowTextW(title, text, 16);
  EXPECT_STREQ(text, L"typed");  // the creation handler did not run again

  MSG msg{first, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  IsDialogMessageW(first, &msg);  // Esc, as the message loop hands it over; asked, OK closes
  EXPECT_FALSE(window.IsOpen());
  window.OpenOnce();
  EXPECT_TRUE(window.IsOpen());
  GetWindowTextW(FindWindowExW(window.Handle(), nullptr, L"EDIT", nullptr), text, 16);
  EXPECT_STREQ(text, L"");  // a new opening starts afresh
}

}  // namespace
}  // namespace velkor
