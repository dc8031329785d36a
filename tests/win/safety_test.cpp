#include <windows.h>

#include <gtest/gtest.h>

#include "platform/handles_win.h"
#include "platform/paths.h"
#include "platform/platform_ops_win.h"
#include "unix_side_win.h"
#include "win_fixtures_win.h"

namespace velkor {
namespace {

using test::ReadFileW;
using test::TempDir;
using test::WriteFileW;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(Win32Safety, RemovalTellsAFolderNamedWithADotFromTheLinkBesideIt) {
  ASSERT_TRUE(test::RunningUnderWine());
  Win32PlatformOps ops;
  TempDir dir;
  const std::wstring outside = dir / L"outside", tree = dir / L"tree";
  CreateDirectoryW(outside.c_str(), nullptr);
  CreateDirectoryW(tree.c_str(), nullptr);
  WriteFileW(outside + L"\\precious.txt", "keep");
  // "a." is a real folder; "a" beside it is a link to a folder outside the tree. Asked
  // for "tree\a.\*", the system trims the dot and lists the link's target.
  ASSERT_TRUE(test::MakeUnixFolder(tree, "a."));
  ASSERT_TRUE(test::MakeUnixLink(outside, tree + L"\\a"));
  WriteFileW(L"\\\\?\\" + tree + L"\\a.\\inside.txt", "x");
  ASSERT_TRUE(Exists(tree + L"\\a\\precious.txt"));

  const RemovalResult result = ops.RemoveFolder(Narrow(tree));
  EXPECT_EQ(ReadFileW(outside + L"\\precious.txt"), "keep");
  EXPECT_FALSE(Exists(L"\\\\?\\" + tree + L"\\a."));
  // Wine cannot remove the link: it stays, counted as a link.
  EXPECT_EQ(result.linksLeft, 1u);
  EXPECT_EQ(result.entriesLeft, 1u);  // the tree stays only because the link does
}

// The walks run on a thread with a small stack: a walk that recursed would overflow it
// long before the bottom of the tree.
template <typename Work>
void OnSmallStack(Work work) {
  struct Call {
    static DWORD WINAPI Run(void* p) {
      (*static_cast<Work*>(p))();
      return 0;
    }
  };
  UniqueHandle thread(CreateThread(nullptr, 64 * 1024, Call::Run, &work, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  ASSERT_TRUE(thread);
  ASSERT_EQ(WaitForSingleObject(thread.get(), 60000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeThread(thread.get(), &code);
  EXPECT_EQ(code, 0u);
}

TEST(Win32Safety, DeepTreesAreMeasuredAndRemovedWithoutRecursion) {
  Win32PlatformOps ops;
  TempDir dir;
  std::wstring deep = L"\\\\?\\" + dir.wide() + L"\\deep";
  const std::wstring top = dir / L"deep";
  for (int level = 0; level < 400; ++level) {
    if (level > 0) deep += L"\\d";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << level;
  }
  WriteFileW(deep + L"\\f.bin", std::string(1000, 'x'));
  uint64_t size = 0;
  RemovalResult result;
  OnSmallStack([&] { size = ops.FolderSize(Narrow(top)); });
  EXPECT_EQ(size, 1000u);
  OnSmallStack([&] { result = ops.RemoveFolder(Narrow(top)); });
  EXPECT_TRUE(result.complete);
  EXPECT_FALSE(Exists(top));
}

TEST(Win32Safety, SavesSucceedWhileAnotherProgramReadsTheFile) {
  Win32PlatformOps ops;
  TempDir dir;
  const std::wstring file = dir / L"桌面列表.dat";
  WriteFileW(file, "old contents");
  // A reader that shares reading and writing, as viewers and backup tools do.
  UniqueFile reader(
      CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  ASSERT_TRUE(ops.ReplaceFileContents(Narrow(file), "new"));
  reader.reset();
  EXPECT_EQ(ReadFileW(file), "new");

  // A folder named like a temporary file blocks nothing.
  CreateDirectoryW((file + L".tmp").c_str(), nullptr);
  ASSERT_TRUE(ops.ReplaceFileContents(Narrow(file), "newer"));
  EXPECT_EQ(ReadFileW(file), "newer");
  WIN32_FIND_DATAW fd;
  UniqueFind left(FindFirstFileW((file + L".*.tmp").c_str(), &fd));
  EXPECT_FALSE(left) << "a temporary file was left behind";
}

TEST(Win32Safety, ReadsAreBoundedAndLockedFilesUnreadable) {
  Win32PlatformOps ops;
  TempDir dir;
  const std::wstring file = dir / L"c.dat";
  WriteFileW(file, std::string(100, 'x'));
  std::string bytes;
  EXPECT_EQ(ops.ReadFileAtMost(Narrow(file), 100, bytes), ReadOutcome::Read);
  EXPECT_EQ(bytes.size(), 100u);
  EXPECT_EQ(ops.ReadFileAtMost(Narrow(file), 99, bytes), ReadOutcome::TooLarge);
  UniqueFile locked(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(ops.ReadFileAtMost(Narrow(file), 100, bytes), ReadOutcome::Unreadable);
}

TEST(Win32Safety, CanonicalFormAgreesWithTheSystem) {
  Win32PlatformOps ops;
  const std::string cwd = ops.CurrentDirectory();
  ASSERT_TRUE(IsAbsolutePath(cwd)) << cwd;
  for (const std::string& folder : {ops.WindowsFolder(), ops.SystemFolder(), ops.UserProfileFolder()})
    EXPECT_TRUE(IsAbsolutePath(folder)) << folder;
  for (const char* typed : {"C:/", "C:\\\\", "C:\\.", "C:\\x\\..", "\\.", ".", ".\\", "..\\run", "C:\\a\\\\b//c\\",
                            "C:\\x\\a.", "C:\\x\\a .", "\\\\srv\\share\\..\\x", "C:\\x\\...", "C:.", "C:sub"}) {
    const auto canonical = CanonicalPath(typed, cwd);
    ASSERT_TRUE(canonical) << typed;
    wchar_t full[MAX_PATH] = L"";
    GetFullPathNameW(Widen(typed).c_str(), MAX_PATH, full, nullptr);
    std::string system = Narrow(full);
    if (system.size() > 3 && system.back() == '\\') system.pop_back();
    EXPECT_TRUE(SamePath(*canonical, system)) << typed << ": " << *canonical << " / " << system;
  }
}

}  // namespace
}  // namespace velkor
