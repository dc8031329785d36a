#include "catalogue/creation_window_win.h"

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "memory_rows.h"
#include "window_probes_win.h"

namespace velkor {
namespace {

using test::PressKey;

enum : int { kIdTitle = 111, kIdCreate = 112, kIdPath = 121, kIdFirstOption = 131 };

struct CreationFixture {
  test::FakePlatform ops;
  test::MemoryRows rows;
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
  CreationWindow window{context};
  HWND Item(int id) const { return GetDlgItem(window.Handle(), id); }
};

TEST(CreationWindowKeys, EnterCreatesOnlyFromTheTitleBox) {
  CreationFixture f;
  f.window.OpenOnce();
  ASSERT_TRUE(f.window.IsOpen());
  SetWindowTextW(f.Item(kIdTitle), L"desk");
  // Enter anywhere else: in the custom path box, on a check box, with the window itself focused.
  SetWindowTextW(f.Item(kIdPath), L"C:\\elsewhere");
  for (HWND target : {f.Item(kIdPath), f.Item(kIdFirstOption), f.window.Handle()})
    PressKey(f.window.Handle(), target, VK_RETURN);
  EXPECT_EQ(f.rows.RowCount(), 0);
  EXPECT_TRUE(f.ops.messages.empty());
  EXPECT_TRUE(f.window.IsOpen());

  PressKey(f.window.Handle(), f.Item(kIdTitle), VK_RETURN);
  EXPECT_EQ(f.rows.RowCount(), 1);
  EXPECT_FALSE(f.window.IsOpen());
}

TEST(CreationWindowKeys, EscapeAsksBeforeItDropsWhatWasTyped) {
  struct Case {
    const wchar_t* title;
    const wchar_t* path;
    bool ticked;
    bool asks;
  } cases[] = {
      {L"", L"", false, false},  // nothing to lose: Esc closes at once
      {L"desk", L"", false, true},
      {L"", L"C:\\x", false, true},
      {L"", L"", true, true},
  };
  for (const Case& c : cases) {
    CreationFixture f;
    f.window.OpenOnce();
    SetWindowTextW(f.Item(kIdTitle), c.title);
    SetWindowTextW(f.Item(kIdPath), c.path);
    SendMessageW(f.Item(kIdFirstOption), BM_SETCHECK, c.ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    f.ops.messageAnswers = {kCancel};
    PressKey(f.window.Handle(), f.Item(kIdTitle), VK_ESCAPE);
    EXPECT_EQ(f.ops.messages.size(), c.asks ? 1u : 0u) << Narrow(c.title) << Narrow(c.path);
    EXPECT_EQ(f.window.IsOpen(), c.asks) << "Cancel keeps the window and its texts";
    if (!c.asks) continue;
    wchar_t text[32] = L"";
    GetWindowTextW(f.Item(kIdTitle), text, 32);
    EXPECT_STREQ(text, c.title);
    f.ops.messageAnswers = {kOk};
    PressKey(f.window.Handle(), f.Item(kIdTitle), VK_ESCAPE);
    EXPECT_FALSE(f.window.IsOpen());
    EXPECT_EQ(f.rows.RowCount(), 0);
  }
}

}  // namespace
}  // namespace velkor
