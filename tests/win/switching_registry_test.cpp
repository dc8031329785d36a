// Registry plans of switching applied to a scratch key with the real system calls.
#include <gtest/gtest.h>

#include "catalogue/catalogue_view.h"
#include "platform/platform_ops_win.h"
#include "switching/switching.h"
#include "win_fixtures_win.h"

namespace velkor {
namespace {

using test::TempDir;
using test::TempKey;

struct RawValue {
  DWORD type = REG_NONE;
  std::wstring text;
  bool operator==(const RawValue&) const = default;
};

RawValue ReadRaw(const std::wstring& key, const std::wstring& name) {
  wchar_t data[1024] = L"";
  DWORD type = REG_NONE, size = sizeof(data) - sizeof(wchar_t);
  const LONG status =
      RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size);
  return status == ERROR_SUCCESS ? RawValue{type, data} : RawValue{};
}

// The plan's paths moved below the scratch key, so the prefix's own values stay as they are.
RegWritePlan Below(const TempKey& key, RegWritePlan plan) {
  for (RegWrite& write : plan) write.path = key.utf8() + "\\" + write.path;
  return plan;
}

class SwitchingRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* dir : {L"工作", L"工作\\Desktop", L"工作\\Favorites", L"工作\\AppData"})
      CreateDirectoryW((profiles / dir).c_str(), nullptr);
    desktop = Narrow(profiles / L"工作\\Desktop") + "\\";
  }
  std::wstring Key(const char* key) const { return scratch.wide() + L"\\" + Widen(key); }

  Win32PlatformOps ops;
  TempDir profiles;
  TempKey scratch;
  std::string desktop;
};

TEST_F(SwitchingRegistry, SwitchWritesPlainTextsIntoBothKeys) {
  ApplyRegWrites(ops, Below(scratch, SwitchPlan(desktop, FolderTestOf(ops))));
  const std::wstring root = profiles / L"工作";
  for (const char* key : {kShellFoldersKey, kUserShellFoldersKey}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(ReadRaw(Key(key), L"Desktop"), (RawValue{REG_SZ, Widen(desktop)}));
    EXPECT_EQ(ReadRaw(Key(key), L"Favorites"), (RawValue{REG_SZ, root + L"\\Favorites"}));
    EXPECT_EQ(ReadRaw(Key(key), L"AppData"), (RawValue{REG_SZ, root + L"\\AppData"}));
    EXPECT_EQ(ReadRaw(Key(key), L"Cookies"), RawValue{});
  }
}

TEST_F(SwitchingRegistry, RefusedKeyIsPassedOverAndTheRestLands) {
  ASSERT_TRUE(ops.WriteRegText(RegRoot::CurrentUser, scratch.utf8() + "\\" + kShellFoldersKey + "\\Desktop", "old"));
  test::DenyValueWrites locked(Key(kShellFoldersKey));
  ASSERT_TRUE(locked.Applied());
  ApplyRegWrites(ops, Below(scratch, SwitchPlan(desktop, FolderTestOf(ops))));
  EXPECT_EQ(ReadRaw(Key(kShellFoldersKey), L"Desktop").text, L"old");
  EXPECT_EQ(ReadRaw(Key(kShellFoldersKey), L"Favorites"), RawValue{});
  EXPECT_EQ(ReadRaw(Key(kUserShellFoldersKey), L"Desktop").text, Widen(desktop));
  EXPECT_EQ(ReadRaw(Key(kUserShellFoldersKey), L"AppData").text, (profiles / L"工作\\AppData"));
}

}  // namespace
}  // namespace velkor
