#include "platform/platform_ops_win.h"

#include <windows.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include "platform/handles_win.h"
#include "platform/paths.h"
#include "platform/text_win.h"
#include "unix_side_win.h"
#include "win_fixtures_win.h"

namespace velkor {
namespace {

using test::ReadFileW;
using test::TempDir;
using test::TempKey;
using test::WriteFileW;

class Win32Ops : public ::testing::Test {
 protected:
  ComInit com;
  Win32PlatformOps ops;
};

TEST_F(Win32Ops, AnsiCodePageIsChinese) {
  // Under Wine the code page follows LC_ALL; a silent fallback to 1252 would make
  // every GBK expectation meaningless.
  ASSERT_EQ(GetACP(), 936u);
  std::string ansi;
  ASSERT_TRUE(ops.ToAnsi("工作", ansi));
  EXPECT_EQ(ansi, "\xB9\xA4\xD7\xF7");
  EXPECT_EQ(ops.FromAnsi(ansi), "工作");
  EXPECT_FALSE(ops.ToAnsi("smile \xF0\x9F\x98\x80", ansi));  // U+1F600 has no GBK form
}

TEST(CodePageText, ConvertsWithoutLossOrRefuses) {
  // 65001 is the ANSI code page of a system set to use UTF-8 everywhere; flags that
  // suit GBK are invalid for it, which refused every text.
  struct Case {
    unsigned codePage;
    const char* utf8;
    bool ok;
    std::string bytes;
  } cases[] = {
      {936, "工作 a", true, "\xB9\xA4\xD7\xF7 a"},
      {936, "smile \xF0\x9F\x98\x80", false, ""},
      {936, "", true, ""},
      {65001, "工作 a", true, "工作 a"},
      {65001, "smile \xF0\x9F\x98\x80", true, "smile \xF0\x9F\x98\x80"},
      {65001, "", true, ""},
      {1252, "caf\xC3\xA9", true, "caf\xE9"},
      {1252, "工", false, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = "untouched";
    EXPECT_EQ(ToCodePage(c.codePage, c.utf8, bytes), c.ok) << c.codePage << " " << c.utf8;
    if (c.ok) {
      EXPECT_EQ(bytes, c.bytes) << c.codePage << " " << c.utf8;
    }
  }
}

TEST_F(Win32Ops, RegistryValues) {
  TempKey key;
  const std::string base = key.utf8() + "\\Sub";
  EXPECT_EQ(ops.ReadRegText(RegRoot::CurrentUser, base + "\\Missing"), "");
  EXPECT_EQ(ops.ReadRegNumber(RegRoot::CurrentUser, base + "\\Missing"), 0u);
  ASSERT_TRUE(ops.WriteRegText(RegRoot::CurrentUser, base + "\\Desktop", "C:\\p\\工作\\Desktop\\"));
  EXPECT_EQ(ops.ReadRegText(RegRoot::CurrentUser, base + "\\Desktop"), "C:\\p\\工作\\Desktop\\");
  ASSERT_TRUE(ops.WriteRegNumber(RegRoot::CurrentUser, base + "\\Handle", 0x12345678));
  EXPECT_EQ(ops.ReadRegNumber(RegRoot::CurrentUser, base + "\\Handle"), 0x12345678u);
  // Values of the other kind read as empty.
  EXPECT_EQ(ops.ReadRegText(RegRoot::CurrentUser, base + "\\Handle"), "");
  EXPECT_EQ(ops.ReadRegNumber(RegRoot::CurrentUser, base + "\\Desktop"), 0u);

  UniqueKey raw;
  ASSERT_EQ(
      RegOpenKeyExW(HKEY_CURRENT_USER, (key.wide() + L"\\Sub").c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, raw.put()),
      ERROR_SUCCESS);
  const wchar_t expand[] = L"%SystemRoot%\\x";
  RegSetValueExW(raw.get(), L"Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand), sizeof(expand));
  DWORD type = 0;
  ASSERT_EQ(RegQueryValueExW(raw.get(), L"Desktop", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  raw.reset();
  const std::string expanded = ops.ReadRegText(RegRoot::CurrentUser, base + "\\Expand");
  EXPECT_EQ(expanded.find('%'), std::string::npos) << expanded;
  EXPECT_EQ(expanded.substr(expanded.size() - 2), "\\x");
}

TEST_F(Win32Ops, FolderSizeIsSixtyFourBitAndSkipsLinks) {
  TempDir dir;
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  CreateDirectoryW((dir / L"sub\\deeper").c_str(), nullptr);
  WriteFileW(dir / L"a.bin", std::string(1572864, 'a'));
  WriteFileW(dir / L"sub\\deeper\\b.bin", std::string(1000, 'b'));
  EXPECT_EQ(ops.FolderSize(dir.utf8()), 1572864u + 1000u);
  EXPECT_EQ(ops.FolderSize(dir.utf8() + "\\"), 1572864u + 1000u);
  EXPECT_EQ(ops.FolderSize(dir.utf8() + "\\missing"), 0u);

  // A sparse 3 GiB file: its size must survive past 32 bits.
  UniqueFile big(CreateFileW((dir / L"big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(big);
  LARGE_INTEGER at;
  at.QuadPart = 3ll << 30;
  SetFilePointerEx(big.get(), at, nullptr, FILE_BEGIN);
  SetEndOfFile(big.get());
  big.reset();
  EXPECT_EQ(ops.FolderSize(dir.utf8()), (3ull << 30) + 1572864u + 1000u);
}

TEST_F(Win32Ops, FilesFoldersAndListing) {
  TempDir dir;
  const std::string root = dir.utf8();
  EXPECT_TRUE(ops.MakeDirectory(root + "\\桌面"));
  EXPECT_FALSE(ops.MakeDirectory(root + "\\桌面"));
  EXPECT_FALSE(ops.MakeDirectory(root + "\\a\\b"));  // one level only
  WriteFileW(dir / L"桌面\\x.doc", "doc");
  EXPECT_TRUE(ops.Exists(root + "\\桌面"));
  EXPECT_TRUE(ops.Exists(root + "\\桌面\\x.doc"));
  EXPECT_TRUE(ops.Exists(root + "\\桌面\\*.doc"));
  EXPECT_FALSE(ops.Exists(root + "\\桌面\\*.txt"));

  std::vector<DirEntry> entries = ops.ListDirectory(root + "\\桌面\\*.*");
  bool sawFile = false;
  for (const DirEntry& e : entries)
    if (e.name == "x.doc") sawFile = !e.directory && e.archive;
  EXPECT_TRUE(sawFile);

  EXPECT_TRUE(ops.MovePath(root + "\\桌面\\x.doc", root + "\\y.doc"));
  WriteFileW(dir / L"z.doc", "keep");
  EXPECT_FALSE(ops.MovePath(root + "\\y.doc", root + "\\z.doc"));  // never replaces
  EXPECT_EQ(ReadFileW(dir / L"z.doc"), "keep");

  // Across volumes (the prefix's drive and a tmpfs through Z:) a move copies and then
  // deletes; a source that cannot be deleted (held open without delete sharing) must
  // fail the move and leave no second copy behind.
  const std::wstring other = L"Z:\\dev\\shm\\velkor_" + test::UniqueSuffix();
  ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
  WriteFileW(dir / L"held.doc", "held");
  WriteFileW(dir / L"free.doc", "free");
  {
    UniqueFile held(
        CreateFileW((dir / L"held.doc").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(ops.MovePath(root + "\\held.doc", Narrow(other) + "\\held.doc"));
    EXPECT_EQ(GetFileAttributesW((other + L"\\held.doc").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadFileW(dir / L"held.doc"), "held");
  }
  EXPECT_TRUE(ops.MovePath(root + "\\free.doc", Narrow(other) + "\\free.doc"));
  EXPECT_EQ(GetFileAttributesW((dir / L"free.doc").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadFileW(other + L"\\free.doc"), "free");
  test::RemoveTreeW(other);

  const DateTime created = ops.FolderCreationDate(root + "\\桌面");
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(created.year, now.wYear);
  EXPECT_EQ(ops.FolderCreationDate(root + "\\missing"), DateTime{});
}

TEST_F(Win32Ops, ReplaceFileContentsIsWholeAndLeavesNoTemporary) {
  TempDir dir;
  const std::string file = dir.utf8() + "\\桌面列表.dat";
  ASSERT_TRUE(ops.ReplaceFileContents(file, std::string("one\0two", 7)));
  ASSERT_TRUE(ops.ReplaceFileContents(file, "new"));
  std::string back;
  ASSERT_TRUE(ops.ReadWholeFile(file, back));
  EXPECT_EQ(back, "new");
  EXPECT_FALSE(ops.Exists(file + ".tmp"));
  EXPECT_FALSE(ops.ReplaceFileContents(dir.utf8() + "\\missing\\c.dat", "x"));
  EXPECT_FALSE(ops.ReadWholeFile(dir.utf8() + "\\missing\\c.dat", back));
}

TEST_F(Win32Ops, RemoveFolderReportsWhatItLeft) {
  TempDir dir;
  const std::wstring tree = dir / L"profile";
  CreateDirectoryW(tree.c_str(), nullptr);
  CreateDirectoryW((tree + L"\\Desktop").c_str(), nullptr);
  WriteFileW(tree + L"\\Desktop\\a.txt", "a");
  EXPECT_TRUE(ops.RemoveFolder(Narrow(tree)).complete);
  EXPECT_FALSE(ops.Exists(Narrow(tree)));

  CreateDirectoryW(tree.c_str(), nullptr);
  WriteFileW(tree + L"\\held.txt", "h");
  UniqueFile held(
      CreateFileW((tree + L"\\held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  const RemovalResult partial = ops.RemoveFolder(Narrow(tree));
  EXPECT_FALSE(partial.complete);
  EXPECT_GE(partial.entriesLeft, 1u);
  held.reset();
  EXPECT_FALSE(ops.RemoveFolder(Narrow(dir / L"missing")).complete);
}

TEST_F(Win32Ops, ShortcutPointsAtTarget) {
  TempDir dir;
  const std::string link = dir.utf8() + "\\WinowsVelkor.lnk";
  ASSERT_TRUE(ops.CreateShortcut(link, "C:\\windows\\notepad.exe"));
  ComPtr<IShellLinkW> shell;
  ASSERT_TRUE(
      SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.put_void())));
  ComPtr<IPersistFile> file;
  ASSERT_TRUE(SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.put_void())));
  ASSERT_TRUE(SUCCEEDED(file->Load(Widen(link).c_str(), STGM_READ)));
  wchar_t target[MAX_PATH] = L"";
  shell->GetPath(target, MAX_PATH, nullptr, 0);
  EXPECT_EQ(_wcsicmp(target, L"C:\\windows\\notepad.exe"), 0) << Narrow(target);
}

TEST_F(Win32Ops, ProcessListNamesThisProgram) {
  bool found = false;
  for (const ProcessEntry& p : ops.ProcessList())
    if (p.id == GetCurrentProcessId()) found = p.exeName == "win_tests.exe";
  EXPECT_TRUE(found);
}

// Actions that can fail say so to their caller (and why, on the debugger output).
TEST_F(Win32Ops, FailedActionsSaySo) {
  test::TempDir dir;
  EXPECT_FALSE(ops.EndProcess(0xFFFFFFF0u));  // no such process
  EXPECT_FALSE(ops.StartProcess(dir.utf8() + "\\missing.exe", 0));
  EXPECT_FALSE(ops.MakeDirectory(dir.utf8() + "\\missing\\deeper"));
  EXPECT_FALSE(ops.MovePath(dir.utf8() + "\\missing.txt", dir.utf8() + "\\moved.txt"));
}

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
