#include "tools/classification_window_win.h"

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "memory_rows.h"
#include "window_probes_win.h"

namespace velkor {
namespace {

using test::PressKey;

TEST(ClassificationWindowKeys, EnterNeverRunsTheClassification) {
  test::FakePlatform ops;
  ops.AddFile("C:\\d\\a.txt", "x");
  test::MemoryRows rows;
  rows.AppendRow({{"0", "d", "---", "C:\\d", ""}});
  rows.Select(0);
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
  ClassificationWindow window(context);
  window.OpenOnce();
  HWND w = window.Handle();
  HWND box = GetDlgItem(w, 101);
  SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
  for (HWND target : {box, w}) PressKey(w, target, VK_RETURN);
  EXPECT_TRUE(ops.HasFile("C:\\d\\a.txt"));
  EXPECT_TRUE(ops.messages.empty());

  // Clicked: the button takes the focus, and a later stray Enter must not run it again.
  HWND run = GetDlgItem(w, 121);
  SetFocus(run);
  SendMessageW(run, BM_CLICK, 0, 0);
  EXPECT_FALSE(ops.HasFile("C:\\d\\a.txt"));
  EXPECT_EQ(ops.messages, std::vector<std::string>{"整理完毕！"});
  PressKey(w, GetFocus(), VK_RETURN);
  EXPECT_EQ(ops.messages.size(), 1u);
  window.Close();
}

}  // namespace
}  // namespace velkor
