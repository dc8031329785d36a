#include "platform/platform_ops_win.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include "platform/find_process_window_win.h"
#include "platform/handles_win.h"
#include "platform/input_box_win.h"
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
    if (RegCreateKeyExW(RootKey(root), key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, owned.put(), nullptr) !=
        ERROR_SUCCESS)
      return false;
    handle = owned.get();
  }
  return RegSetValueExW(handle, value.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool IsDots(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

uint64_t SizeOfTree(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &fd));
  if (!find) return 0;
  uint64_t total = 0;
  do {
    if (IsDots(fd.cFileName)) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A junction or symbolic link belongs to another tree: not followed.
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) total += SizeOfTree(folder + L"\\" + fd.cFileName);
    } else {
      total += (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    }
  } while (FindNextFileW(find.get(), &fd));
  return total;
}

// Removes what is inside `folder`, then the folder; links are removed, never entered.
void RemoveTree(const std::wstring& folder, RemovalResult& result) {
  WIN32_FIND_DATAW fd;
  UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &fd));
  if (find) {
    do {
      if (IsDots(fd.cFileName)) continue;
      const std::wstring path = folder + L"\\" + fd.cFileName;
      const DWORD attrs = fd.dwFileAttributes;
      bool removed;
      if ((attrs & FILE_ATTRIBUTE_DIRECTORY) && !(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveTree(path, result);
        continue;
      } else if (attrs & FILE_ATTRIBUTE_DIRECTORY) {
        removed = RemoveDirectoryW(path.c_str());
      } else {
        removed = DeleteFileW(path.c_str());
      }
      if (!removed) ++result.entriesLeft;
    } while (FindNextFileW(find.get(), &fd));
  }
  if (!RemoveDirectoryW(folder.c_str())) ++result.entriesLeft;
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

void Win32PlatformOps::EndProcess(uint32_t id) {
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
  if (process) TerminateProcess(process.get(), 0);
}

void Win32PlatformOps::ShellOpen(const std::string& verb, const std::string& file) {
  const std::wstring v = Widen(verb);
  ShellExecuteW(nullptr, verb.empty() ? nullptr : v.c_str(), Widen(file).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

uint64_t Win32PlatformOps::FolderSize(const std::string& path) {
  std::wstring folder = Widen(path);
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
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

bool Win32PlatformOps::MakeDirectory(const std::string& path) { return CreateDirectoryW(Widen(path).c_str(), nullptr); }

bool Win32PlatformOps::Exists(const std::string& path) {
  WIN32_FIND_DATAW fd;
  UniqueFind find(FindFirstFileW(Widen(path).c_str(), &fd));
  return static_cast<bool>(find);
}

bool Win32PlatformOps::ReadWholeFile(const std::string& path, std::string& bytes) {
  UniqueFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  return true;
}

bool Win32PlatformOps::ReplaceFileContents(const std::string& path, const std::string& bytes) {
  const std::wstring target = Widen(path);
  const std::wstring temp = target + L".tmp";
  {
    UniqueFile file(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    const bool ok =
        (bytes.empty() || WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) &&
        written == bytes.size() && FlushFileBuffers(file.get());
    if (!ok) {
      file.reset();
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileW(temp.c_str());
  return false;
}

bool Win32PlatformOps::ToAnsi(const std::string& utf8, std::string& ansi) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) {
    ansi.clear();
    return true;
  }
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, &lossy);
  if (n <= 0 || lossy) return false;
  ansi.assign(n, '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), ansi.data(), n, nullptr,
                      &lossy);
  return !lossy;
}

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
  std::wstring folder = Widen(path);
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  const DWORD attrs = GetFileAttributesW(folder.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return {false, 0};
  RemovalResult result;
  if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) {
    if (!RemoveDirectoryW(folder.c_str())) result.entriesLeft = 1;
  } else {
    RemoveTree(folder, result);
  }
  result.complete = result.entriesLeft == 0;
  return result;
}

bool Win32PlatformOps::MovePath(const std::string& source, const std::string& target) {
  // Never replaces: a move across volumes copies, then deletes the source.
  const std::wstring from = Widen(source), to = Widen(target);
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED)) return false;
  if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  // Copied, but the source could not be deleted (the system still reports success):
  // no second copy is left behind, and it is no move.
  SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(to.c_str());
  return false;
}

bool Win32PlatformOps::CreateShortcut(const std::string& linkPath, const std::string& target) {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
    return false;
  link->SetPath(Widen(target).c_str());
  link->SetShowCmd(SW_SHOW);
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return false;
  return SUCCEEDED(file->Save(Widen(linkPath).c_str(), TRUE));
}

void Win32PlatformOps::StartProcess(const std::string& commandLine, uint32_t waitMs) {
  std::wstring line = Widen(commandLine);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  WaitForInputIdle(process.get(), waitMs);
}

std::string Win32PlatformOps::LogonName() {
  wchar_t name[257];
  DWORD size = ARRAYSIZE(name);
  return GetUserNameW(name, &size) ? Narrow(name) : std::string();
}

std::string Win32PlatformOps::WindowsFolder() {
  wchar_t folder[MAX_PATH + 1] = L"";
  const UINT n = GetWindowsDirectoryW(folder, ARRAYSIZE(folder));
  std::wstring path(folder, n < ARRAYSIZE(folder) ? n : 0);
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return Narrow(path);
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
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi);
  if (!pidl) return {};
  wchar_t path[MAX_PATH] = L"";
  const bool ok = SHGetPathFromIDListW(pidl, path);
  CoTaskMemFree(pidl);
  return ok ? Narrow(path) : std::string();
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
