// What Wine cannot do for a test, done on the Linux side: folder links and scratch
// drive letters. Only for tests that have checked they run under Wine.
#pragma once

#include <windows.h>

#include <string>

#include "platform/handles_win.h"
#include "platform/proc_address_win.h"
#include "platform/text_win.h"
#include "win_fixtures_win.h"

namespace velkor::test {

// The Linux name of a Windows path ("" when Wine cannot give one).
inline std::string UnixName(const std::wstring& path) {
  using Fn = char*(CDECL*)(const wchar_t*);
  auto fn = ProcAddress<Fn>(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
  char* name = fn ? fn(path.c_str()) : nullptr;
  if (!name) return {};
  std::string out = name;
  HeapFree(GetProcessHeap(), 0, name);
  return out;
}

// Starts a Linux program (a path under Z:). Wine gives no handle that waits for it,
// so callers poll for what it makes.
inline bool RunUnix(const std::wstring& commandLine) {
  std::wstring line = commandLine;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  const UniqueHandle process(pi.hProcess), thread(pi.hThread);
  return true;
}

// Polls for up to five seconds until something does or does not exist at `path`.
inline bool AwaitPresence(const std::wstring& path, bool present) {
  for (int i = 0; i < 100; ++i) {
    if ((GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) == present) return true;
    Sleep(50);
  }
  return false;
}

// A Unix symbolic link `link` -> `target` (both Windows paths); Wine shows it as a
// folder reparse point.
inline bool MakeUnixLink(const std::wstring& target, const std::wstring& link) {
  const std::string parent = UnixName(link.substr(0, link.rfind(L'\\')));
  const std::wstring name = link.substr(link.rfind(L'\\') + 1);
  return !parent.empty() &&
         RunUnix(L"Z:\\bin\\ln -s \"" + Widen(UnixName(target)) + L"\" \"" + Widen(parent) + L"/" + name + L"\"") &&
         AwaitPresence(link, true);
}

// A folder that Wine cannot make itself: names such as "a." or "a ".
inline bool MakeUnixFolder(const std::wstring& parent, const std::string& name) {
  const std::string unixParent = UnixName(parent);
  return !unixParent.empty() && RunUnix(L"Z:\\bin\\mkdir \"" + Widen(unixParent + "/" + name) + L"\"") &&
         AwaitPresence(L"\\\\?\\" + parent + L"\\" + Widen(name), true);
}

// Drive `letter`: mapped to a fresh scratch folder through the prefix's dosdevices
// for the life of the object. Never Z:, which is the whole Linux file system.
class ScratchDrive {
 public:
  explicit ScratchDrive(wchar_t letter) : letter_(letter) {
    wchar_t prefix[1024] = L"";
    GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024);
    if (letter == L'z' || letter == L'Z' || !prefix[0]) return;
    device_ = std::wstring(prefix) + L"/dosdevices/" + static_cast<wchar_t>(towlower(letter)) + L":";
    if (!RunUnix(L"Z:\\bin\\ln -sfn \"" + Widen(UnixName(folder_.wide())) + L"\" \"" + device_ + L"\"") ||
        !AwaitPresence(Root(), true))
      device_.clear();
  }
  ~ScratchDrive() {
    if (!device_.empty() && RunUnix(L"Z:\\bin\\rm -f \"" + device_ + L"\"")) AwaitPresence(Root(), false);
  }
  bool Ready() const { return !device_.empty() && GetFileAttributesW(Root().c_str()) != INVALID_FILE_ATTRIBUTES; }
  std::wstring Root() const { return std::wstring(1, letter_) + L":\\"; }
  const TempDir& Folder() const { return folder_; }

 private:
  wchar_t letter_;
  TempDir folder_;
  std::wstring device_;
};

}  // namespace velkor::test
