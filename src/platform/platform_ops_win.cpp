#include "platform/platform_ops_win.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>

#include "platform/failure_log_win.h"
#include "platform/find_process_window_win.h"
#include "platform/handles_win.h"
#include "platform/input_box_win.h"
#include "platform/paths.h"
#include "platform/text_win.h"

namespace velkor {
namespace {

HKEY RootKey(RegRoot root) { return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// Splits "key\value" at its last backslash; no backslash names a value at the root.
void SplitValuePath(const std::string& path, std::wstring& key, std::wstring& value) {
  const size_t slash = path.rfind('\\');
  key = slash == std::string::npos ? std::wstring() : Widen(path.substr(0, slash));
  value = Widen(slash == std::string::npos ? path : path.substr(slash + 1));
}

// Opens the key for reading; the root itself is returned unowned for an empty path.
bool OpenForRead(RegRoot root, const std::wstring& key, UniqueKey& owned, HKEY& handle) {
  if (key.empty()) {
    handle = RootKey(root);
    return true;
  }
  if (RegOpenKeyExW(RootKey(root), key.c_str(), 0, KEY_QUERY_VALUE, owned.put()) != ERROR_SUCCESS) return false;
  handle = owned.get();
  return true;
}

bool WriteValue(RegRoot root, const std::string& path, DWORD type, const void* data, DWORD size) {
  std::wstring key, value;
  SplitValuePath(path, key, value);
  UniqueKey owned;
  HKEY handle = RootKey(root);
  if (!key.empty()) {
    const LSTATUS created =
        RegCreateKeyExW(RootKey(root), key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, owned.put(), nullptr);
    if (created != ERROR_SUCCESS) return Failed(L"RegCreateKeyExW", key, created);
    handle = owned.get();
  }
  const LSTATUS set = RegSetValueExW(handle, value.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  return set == ERROR_SUCCESS || Failed(L"RegSetValueExW", value, set);
}

bool IsDots(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

// The walks below keep their own list of folders instead of recursing: a deep tree
// must not be able to exhaust the stack. Names are extended-length ("\\?\") so the
// system takes "a." and "a " literally instead of trimming them to a neighbour's name.

uint64_t SizeOfTree(const std::wstring& top) {
  uint64_t total = 0;
  std::vector<std::wstring> pending{top};
  while (!pending.empty()) {
    const std::wstring folder = std::move(pending.back());
    pending.pop_back();
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &fd));
    if (!find) continue;  // unreadable: skipped, the rest still counts
    do {
      if (IsDots(fd.cFileName)) continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A junction or symbolic link belongs to another tree: not followed.
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) pending.push_back(folder + L"\\" + fd.cFileName);
      } else {
        total += (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
      }
    } while (FindNextFileW(find.get(), &fd));
  }
  return total;
}

// Removes what is inside `top`, then `top`; links are removed, never entered. A folder
// that stays only because something inside it stayed is not counted again.
void RemoveTree(const std::wstring& top, RemovalResult& result) {
  struct Pending {
    std::wstring folder;
    bool emptied;         // its entries have been handled; only the folder itself is left
    uint64_t leftBefore;  // leftovers counted before its entries were handled
  };
  std::vector<Pending> pending{{top, false, 0}};
  while (!pending.empty()) {
    Pending current = std::move(pending.back());
    pending.pop_back();
    if (current.emptied) {
      if (!RemoveDirectoryW(current.folder.c_str()) && !Failed(L"RemoveDirectoryW", current.folder) &&
          result.entriesLeft == current.leftBefore)
        ++result.entriesLeft;
      continue;
    }
    pending.push_back({current.folder, true, result.entriesLeft});
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((current.folder + L"\\*").c_str(), &fd));
    if (!find) continue;
    do {
      if (IsDots(fd.cFileName)) continue;
      const std::wstring path = current.folder + L"\\" + fd.cFileName;
      const DWORD attrs = fd.dwFileAttributes;
      if ((attrs & FILE_ATTRIBUTE_DIRECTORY) && !(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
        pending.push_back({path, false, 0});
      } else if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) {
        const bool removed = (attrs & FILE_ATTRIBUTE_DIRECTORY)
                                 ? RemoveDirectoryW(path.c_str()) || Failed(L"RemoveDirectoryW", path)
                                 : DeleteFileW(path.c_str()) || Failed(L"DeleteFileW", path);
        if (!removed) ++result.entriesLeft, ++result.linksLeft;
      } else if (!DeleteFileW(path.c_str()) && !Failed(L"DeleteFileW", path)) {
        ++result.entriesLeft;
      }
    } while (FindNextFileW(find.get(), &fd));
  }
}

// The full path of `path` in extended-length form, for the walks.
std::wstring ExtendedFullPath(const std::string& path) {
  const std::wstring wide = Widen(path);
  const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return {};
  std::wstring full(n, L'\0');
  full.resize(GetFullPathNameW(wide.c_str(), n, full.data(), nullptr));
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  if (full.starts_with(L"\\\\?\\")) return full;  // taken literally already
  return Widen(ExtendedLengthPath(Narrow(full)));
}

std::string FolderOf(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH + 1] = L"";
  const UINT n = get(buffer, MAX_PATH + 1);
  return n > 0 && n <= MAX_PATH ? Narrow(buffer) : std::string();
}

DateTime ToDateTime(const SYSTEMTIME& st) { return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond}; }

}  // namespace

std::string Win32PlatformOps::ReadRegText(RegRoot root, const std::string& path) {
  std::wstring key, value;
  SplitValuePath(path, key, value);
  UniqueKey owned;
  HKEY handle;
  if (!OpenForRead(root, key, owned, handle)) return {};
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(handle, value.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
  std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (RegQueryValueExW(handle, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return {};
  data.resize(wcsnlen(data.c_str(), size / sizeof(wchar_t)));
  if (type == REG_EXPAND_SZ) {
    const DWORD n = ExpandEnvironmentStringsW(data.c_str(), nullptr, 0);
    std::wstring expanded(n, L'\0');
    ExpandEnvironmentStringsW(data.c_str(), expanded.data(), n);
    expanded.resize(wcsnlen(expanded.c_str(), expanded.size()));
    return Narrow(expanded);
  }
  return Narrow(data);
}

uint32_t Win32PlatformOps::ReadRegNumber(RegRoot root, const std::string& path) {
  std::wstring key, value;
  SplitValuePath(path, key, value);
  UniqueKey owned;
  HKEY handle;
  if (!OpenForRead(root, key, owned, handle)) return 0;
  DWORD type = 0, data = 0, size = sizeof(data);
  if (RegQueryValueExW(handle, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return 0;
  return data;
}

bool Win32PlatformOps::WriteRegText(RegRoot root, const std::string& path, const std::string& value) {
  const std::wstring text = Widen(value);
  return WriteValue(root, path, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool Win32PlatformOps::WriteRegNumber(RegRoot root, const std::string& path, uint32_t value) {
  const DWORD data = value;
  return WriteValue(root, path, REG_DWORD, &data, sizeof(data));
}

bool Win32PlatformOps::ReadRegValues(RegRoot root, const std::string& key, std::vector<RegValue>& values) {
  values.clear();
  UniqueKey owned;
  const LONG opened = RegOpenKeyExW(RootKey(root), Widen(key).c_str(), 0, KEY_QUERY_VALUE, owned.put());
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  if (opened != ERROR_SUCCESS) return false;
  DWORD maxName = 0, maxData = 0;
  if (RegQueryInfoKeyW(owned.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  std::wstring name(maxName + 1, L'\0');
  std::string data(maxData + 2, '\0');
  for (DWORD index = 0, retries = 0;;) {
    DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
    const LONG got = RegEnumValueW(owned.get(), index, name.data(), &nameSize, nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &dataSize);
    if (got == ERROR_NO_MORE_ITEMS) return true;
    if (got == ERROR_MORE_DATA && ++retries < 8) {  // the value grew since the sizes were asked
      name.resize(name.size() * 2 + 256);
      data.resize(std::max<size_t>(data.size() * 2, dataSize));
      continue;
    }
    if (got != ERROR_SUCCESS) return false;
    values.push_back({Narrow(name.substr(0, nameSize)), type, data.substr(0, dataSize)});
    ++index;
    retries = 0;
  }
}

bool Win32PlatformOps::WriteRegValue(RegRoot root, const std::string& key, const RegValue& value) {
  UniqueKey owned;
  const std::wstring wideKey = Widen(key), name = Widen(value.name);
  const LSTATUS created =
      RegCreateKeyExW(RootKey(root), wideKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, owned.put(), nullptr);
  if (created != ERROR_SUCCESS) return Failed(L"RegCreateKeyExW", wideKey, created);
  // The system adds a terminator to a text whose counted bytes lack one when the next
  // character in memory is zero; a non-zero guard after the data keeps it exact.
  std::string data = value.data;
  data.append("\xff\xff", 2);
  const LSTATUS set = RegSetValueExW(owned.get(), name.c_str(), 0, value.type,
                                     reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(value.data.size()));
  return set == ERROR_SUCCESS || Failed(L"RegSetValueExW", name, set);
}

bool Win32PlatformOps::DeleteRegValue(RegRoot root, const std::string& key, const std::string& name) {
  UniqueKey owned;
  const std::wstring wideKey = Widen(key), wideName = Widen(name);
  const LSTATUS opened = RegOpenKeyExW(RootKey(root), wideKey.c_str(), 0, KEY_SET_VALUE, owned.put());
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  if (opened != ERROR_SUCCESS) return Failed(L"RegOpenKeyExW", wideKey, opened);
  const LSTATUS deleted = RegDeleteValueW(owned.get(), wideName.c_str());
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND || Failed(L"RegDeleteValueW", wideName, deleted);
}

std::vector<ProcessEntry> Win32PlatformOps::ProcessList() {
  std::vector<ProcessEntry> out;
  DWORD ownSession = 0;
  const bool knowOwn = ProcessIdToSessionId(GetCurrentProcessId(), &ownSession);
  UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return out;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL ok = Process32FirstW(snapshot.get(), &entry); ok; ok = Process32NextW(snapshot.get(), &entry)) {
    const wchar_t* name = entry.szExeFile;
    if (const wchar_t* slash = wcsrchr(name, L'\\')) name = slash + 1;
    DWORD session = 0;
    const bool same = knowOwn && ProcessIdToSessionId(entry.th32ProcessID, &session) && session == ownSession;
    out.push_back({entry.th32ProcessID, Narrow(name), same});
  }
  return out;
}

bool Win32PlatformOps::EndProcess(uint32_t id) {
  const std::wstring which = std::to_wstring(id);
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
  if (!process) return Failed(L"OpenProcess", which);
  return TerminateProcess(process.get(), 0) || Failed(L"TerminateProcess", which);
}

bool Win32PlatformOps::ShellOpen(const std::string& verb, const std::string& file) {
  const std::wstring v = Widen(verb), target = Widen(file);
  // Values up to 32 are error codes (SE_ERR_...), the rest a success.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, verb.empty() ? nullptr : v.c_str(), target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32 || Failed(L"ShellExecuteW", v, target);
}

uint64_t Win32PlatformOps::FolderSize(const std::string& path) {
  if (path.empty()) return 0;
  const std::wstring folder = ExtendedFullPath(path);
  return folder.empty() ? 0 : SizeOfTree(folder);
}

DateTime Win32PlatformOps::FolderCreationDate(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  SYSTEMTIME st;
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data) ||
      !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !FileTimeToLocalFileTime(&data.ftCreationTime, &local) ||
      !FileTimeToSystemTime(&local, &st))
    return {};
  return ToDateTime(st);
}

bool Win32PlatformOps::MakeDirectory(const std::string& path) {
  const std::wstring folder = Widen(path);
  return CreateDirectoryW(folder.c_str(), nullptr) || Failed(L"CreateDirectoryW", folder);
}

bool Win32PlatformOps::Exists(const std::string& path) {
  WIN32_FIND_DATAW fd;
  UniqueFind find(FindFirstFileW(Widen(path).c_str(), &fd));
  return static_cast<bool>(find);
}

bool Win32PlatformOps::ReadWholeFile(const std::string& path, std::string& bytes) {
  const std::wstring name = Widen(path);
  UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Failed(L"CreateFileW", name);
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  return true;
}

ReadOutcome Win32PlatformOps::ReadFileAtMost(const std::string& path, uint64_t limit, std::string& bytes) {
  UniqueFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size)) return ReadOutcome::Unreadable;
  if (static_cast<uint64_t>(size.QuadPart) > limit) return ReadOutcome::TooLarge;
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr)) return ReadOutcome::Unreadable;
    if (got == 0) break;
    bytes.append(buffer, got);
    if (bytes.size() > limit) return ReadOutcome::TooLarge;  // grew while being read
  }
  return ReadOutcome::Read;
}

namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return (bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) &&
         written == bytes.size();
}

// A temporary name nobody else uses: this process, a counter, and a fresh file.
UniqueFile CreateTemporaryBeside(const std::wstring& target, std::wstring& temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L".tmp";
    UniqueFile file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_FILE_EXISTS) return file;  // a folder of that name: try the next
    if (GetFileAttributesW(temp.c_str()) == INVALID_FILE_ATTRIBUTES) return file;
  }
  return UniqueFile();
}

}  // namespace

bool Win32PlatformOps::ReplaceFileContents(const std::string& path, const std::string& bytes) {
  const std::wstring target = Widen(path);
  std::wstring temp;
  {
    UniqueFile file = CreateTemporaryBeside(target, temp);
    if (!file) return Failed(L"CreateFileW", target + L".*.tmp");
    if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
      Failed(L"WriteFile", temp);
      file.reset();
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  Failed(L"MoveFileExW", temp, target);
  DeleteFileW(temp.c_str());
  // The swap is refused while another program holds the file open without sharing
  // deletion (a reader, typically). Writing in place, as a plain save does, still
  // works then; it is not atomic, so it is only the fallback.
  UniqueFile file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Failed(L"CreateFileW", target);
  return (WriteAll(file.get(), bytes) && SetEndOfFile(file.get()) && FlushFileBuffers(file.get())) ||
         Failed(L"WriteFile", target);
}

bool Win32PlatformOps::ToAnsi(const std::string& utf8, std::string& ansi) { return ToCodePage(GetACP(), utf8, ansi); }

std::string Win32PlatformOps::FromAnsi(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return Narrow(wide);
}

std::vector<DirEntry> Win32PlatformOps::ListDirectory(const std::string& pattern) {
  std::vector<DirEntry> out;
  WIN32_FIND_DATAW fd;
  UniqueFind find(FindFirstFileW(Widen(pattern).c_str(), &fd));
  if (!find) return out;
  do {
    out.push_back({Narrow(fd.cFileName), (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                   (fd.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) != 0});
  } while (FindNextFileW(find.get(), &fd));
  return out;
}

RemovalResult Win32PlatformOps::RemoveFolder(const std::string& path) {
  const auto canonical = CanonicalPath(path, "");
  if (!canonical || IsRootPath(*canonical)) return {false, 0};
  const std::wstring folder = Widen(ExtendedLengthPath(*canonical));
  const DWORD attrs = GetFileAttributesW(folder.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return {false, 0};
  RemovalResult result;
  if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) {
    if (!RemoveDirectoryW(folder.c_str())) result.entriesLeft = result.linksLeft = 1;
  } else {
    RemoveTree(folder, result);
  }
  result.complete = result.entriesLeft == 0;
  return result;
}

bool Win32PlatformOps::MovePath(const std::string& source, const std::string& target) {
  // Never replaces: a move across volumes copies, then deletes the source.
  const std::wstring from = Widen(source), to = Widen(target);
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED)) return Failed(L"MoveFileExW", from, to);
  if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  // Copied, but the source could not be deleted (the system still reports success):
  // no second copy is left behind, and it is no move.
  SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(to.c_str());
  return false;
}

bool Win32PlatformOps::CreateShortcut(const std::string& linkPath, const std::string& target) {
  const std::wstring link = Widen(linkPath);
  ComPtr<IShellLinkW> shellLink;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.put_void());
  if (FAILED(hr)) return Failed(L"CoCreateInstance(ShellLink)", link, hr);
  shellLink->SetPath(Widen(target).c_str());
  shellLink->SetShowCmd(SW_SHOW);
  ComPtr<IPersistFile> file;
  hr = shellLink->QueryInterface(IID_IPersistFile, file.put_void());
  if (SUCCEEDED(hr)) hr = file->Save(link.c_str(), TRUE);
  return SUCCEEDED(hr) || Failed(L"IPersistFile::Save", link, hr);
}

bool Win32PlatformOps::StartProcess(const std::string& commandLine, uint32_t waitMs) {
  std::wstring line = Widen(commandLine);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return Failed(L"CreateProcessW", line);
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  WaitForInputIdle(process.get(), waitMs);
  return true;
}

std::string Win32PlatformOps::LogonName() {
  wchar_t name[257];
  DWORD size = ARRAYSIZE(name);
  return GetUserNameW(name, &size) ? Narrow(name) : std::string();
}

std::string Win32PlatformOps::CurrentDirectory() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(n, L'\0');
  dir.resize(GetCurrentDirectoryW(n, dir.data()));
  return Narrow(dir);
}

std::string Win32PlatformOps::WindowsFolder() { return FolderOf(GetWindowsDirectoryW); }

std::string Win32PlatformOps::SystemFolder() { return FolderOf(GetSystemDirectoryW); }

std::string Win32PlatformOps::UserProfileFolder() {
  wchar_t buffer[MAX_PATH] = L"";
  return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, buffer)) ? Narrow(buffer)
                                                                                                  : std::string();
}

OsVersion Win32PlatformOps::Version() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  // The version as reported to this program is what matters, so the deprecated call.
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExW(&info)) return {false, 0, 0};
#if !defined(_MSC_VER)
#pragma GCC diagnostic pop
#endif
  return {info.dwPlatformId == VER_PLATFORM_WIN32_NT, info.dwMajorVersion, info.dwMinorVersion};
}

std::string Win32PlatformOps::BrowseForFolder(const std::string& title) {
  const std::wstring prompt = Widen(title);
  BROWSEINFOW bi{};
  bi.hwndOwner = GetActiveWindow();
  bi.lpszTitle = prompt.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  const TaskMem<ITEMIDLIST> chosen(SHBrowseForFolderW(&bi));
  if (!chosen) return {};
  wchar_t path[MAX_PATH] = L"";
  return SHGetPathFromIDListW(chosen.get(), path) ? Narrow(path) : std::string();
}

int Win32PlatformOps::ShowMessage(const std::string& text, Buttons buttons) {
  const UINT style = MB_TASKMODAL | (buttons == Buttons::OkCancel ? MB_OKCANCEL : MB_OK);
  return MessageBoxW(nullptr, Widen(text).c_str(), kMessageCaption, style) - 1;
}

int Win32PlatformOps::ShowReminder(const std::string& text) {
  return MessageBoxW(FindProcessWindow(GetCurrentProcessId()), Widen(text).c_str(), L"友情提醒", MB_OKCANCEL) - 1;
}

bool Win32PlatformOps::InputBox(const std::string& title, const std::string& prompt, std::string& text) {
  std::wstring typed = Widen(text);
  if (!ShowInputBox(Widen(title), Widen(prompt), typed)) return false;
  text = Narrow(typed);
  return true;
}

}  // namespace velkor
