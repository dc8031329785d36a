// Registry plans of switching applied to a scratch key with the real system calls.
#include <windows.h>

#include <algorithm>
#include <gtest/gtest.h>

#include "catalogue/catalogue_view.h"
#include "platform/platform_ops_win.h"
#include "switching/shell_folders.h"
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
  ApplyRegWrites(ops, Below(scratch, SwitchPlan(desktop, Narrow(profiles.wide()), FolderTestOf(ops))));
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
  ApplyRegWrites(ops, Below(scratch, SwitchPlan(desktop, Narrow(profiles.wide()), FolderTestOf(ops))));
  EXPECT_EQ(ReadRaw(Key(kShellFoldersKey), L"Desktop").text, L"old");
  EXPECT_EQ(ReadRaw(Key(kShellFoldersKey), L"Favorites"), RawValue{});
  EXPECT_EQ(ReadRaw(Key(kUserShellFoldersKey), L"Desktop").text, Widen(desktop));
  EXPECT_EQ(ReadRaw(Key(kUserShellFoldersKey), L"AppData").text, (profiles / L"工作\\AppData"));
}

// Values the typed access must carry exactly: a text on another drive, an expandable
// text, one longer than MAX_PATH, one without terminator, an odd length, a type the
// program never writes, and an empty default value.
std::vector<RegValue> Awkward() {
  return {
      {"Desktop", kRegSz, RegTextData("E:\\桌面")},
      {"Personal", kRegExpandSz, RegTextData("%USERPROFILE%\\Documents")},
      {"Long", kRegSz, RegTextData(std::string(400, 'L'))},
      {"Unterminated", kRegSz, std::string("C\0:\0\\\0", 6)},
      {"Odd", kRegExpandSz, std::string("C\0:\0\\", 5)},
      {"Strange", 0x4242, std::string("\x01\x00\xff", 3)},
      {"", kRegSz, ""},
  };
}

TEST_F(SwitchingRegistry, TypedValuesComeBackByteForByte) {
  const std::string key = scratch.utf8() + "\\typed";
  for (const RegValue& value : Awkward())
    ASSERT_TRUE(ops.WriteRegValue(RegRoot::CurrentUser, key, value)) << value.name;
  std::vector<RegValue> read;
  ASSERT_TRUE(ops.ReadRegValues(RegRoot::CurrentUser, key, read));
  auto byName = [](std::vector<RegValue> values) {
    std::sort(values.begin(), values.end(), [](const RegValue& a, const RegValue& b) { return a.name < b.name; });
    return values;
  };
  EXPECT_EQ(byName(read), byName(Awkward()));
  EXPECT_TRUE(ops.DeleteRegValue(RegRoot::CurrentUser, key, "Long"));
  EXPECT_TRUE(ops.DeleteRegValue(RegRoot::CurrentUser, key, "Long")) << "already gone counts as gone";
  ASSERT_TRUE(ops.ReadRegValues(RegRoot::CurrentUser, key, read));
  EXPECT_EQ(read.size(), Awkward().size() - 1);
  ASSERT_TRUE(ops.ReadRegValues(RegRoot::CurrentUser, key + "\\missing", read));
  EXPECT_TRUE(read.empty());
}

TEST_F(SwitchingRegistry, RefusedWriteRollsTheWholeStepBack) {
  const std::string sf = scratch.utf8() + "\\" + kShellFoldersKey, usf = scratch.utf8() + "\\" + kUserShellFoldersKey;
  for (const RegValue& value : Awkward()) {
    ASSERT_TRUE(ops.WriteRegValue(RegRoot::CurrentUser, sf, value));
    ASSERT_TRUE(ops.WriteRegValue(RegRoot::CurrentUser, usf, value));
  }
  std::vector<RegValue> sfBefore, usfBefore, now;
  ASSERT_TRUE(ops.ReadRegValues(RegRoot::CurrentUser, sf, sfBefore));
  ASSERT_TRUE(ops.ReadRegValues(RegRoot::CurrentUser, usf, usfBefore));
  test::DenyValueWrites locked(Key(kUserShellFoldersKey));
  ASSERT_TRUE(locked.Applied());
  // Shell Folders takes Desktop, Favorites (new) and AppData; the first User Shell
  // Folders write is refused.
  const RegWritePlan plan = Below(scratch, SwitchPlan(desktop, Narrow(profiles.wide()), FolderTestOf(ops)));
  RegWritePlan shellFirst;
  for (const RegWrite& write : plan)
    if (write.path.find("\\User Shell Folders\\") == std::string::npos) shellFirst.push_back(write);
  for (const RegWrite& write : plan)
    if (write.path.find("\\User Shell Folders\\") != std::string::npos) shellFirst.push_back(write);
  const RegStepResult result = ApplyRegStep(ops, shellFirst);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.refused, usf + "\\Desktop");
  EXPECT_TRUE(result.notPutBack.empty());
  ASSERT_TRUE(ops.ReadRegValues(RegRoot::CurrentUser, sf, now));
  EXPECT_EQ(now, sfBefore);
  ASSERT_TRUE(ops.ReadRegValues(RegRoot::CurrentUser, usf, now));
  EXPECT_EQ(now, usfBefore);
}

}  // namespace
}  // namespace velkor
