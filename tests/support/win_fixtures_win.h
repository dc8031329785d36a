// Helpers for the Windows test layers: a scratch folder and a scratch registry key.
#pragma once

#include <windows.h>
#include <aclapi.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace velkor::test {

inline bool RunningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

inline std::wstring UniqueSuffix() {
  static int counter = 0;
  return std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount()) + L"_" +
         std::to_wstring(++counter);
}

inline void RemoveTreeW(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  const UniqueFind find(FindFirstFileW((path + L"\\*").c_str(), &fd));
  if (find) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        RemoveTreeW(child);
      else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(child.c_str());
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(find.get(), &fd));
  }
  RemoveDirectoryW(path.c_str());
}

// A fresh folder under the temp folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"velkor_" + UniqueSuffix();
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempDir() { RemoveTreeW(path_); }
  const std::wstring& wide() const { return path_; }
  std::string utf8() const { return Narrow(path_); }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

inline void WriteFileW(const std::wstring& path, const std::string& bytes) {
  const UniqueFile f(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!bytes.empty()) WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

inline std::string ReadFileW(const std::wstring& path) {
  const UniqueFile f(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return "<missing>";
  std::string out;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f.get(), buffer, sizeof(buffer), &got, nullptr) && got) out.append(buffer, got);
  return out;
}

// A registry key under HKCU\Software\VelkorTests, deleted at the end.
class TempKey {
 public:
  TempKey() : path_(L"Software\\VelkorTests\\" + UniqueSuffix()) {}
  ~TempKey() { SHDeleteKeyW(HKEY_CURRENT_USER, path_.c_str()); }
  std::string utf8() const { return Narrow(path_); }
  const std::wstring& wide() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace velkor::test

namespace velkor::test {

// Denies setting values of an HKCU key to everyone until destroyed; the key's own
// access list comes back afterwards.
class DenyValueWrites {
 public:
  explicit DenyValueWrites(const std::wstring& keyPath) {
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, READ_CONTROL | WRITE_DAC, key_.put()) != ERROR_SUCCESS)
      return;
    DWORD size = 0;
    RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_.resize(size);
    if (RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data(), &size) != ERROR_SUCCESS) return;
    BOOL present = FALSE, defaulted = FALSE;
    PACL old = nullptr;
    GetSecurityDescriptorDacl(saved_.data(), &present, &old, &defaulted);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    UniqueSid everyone;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, everyone.put());
    EXPLICIT_ACCESSW entries[2] = {};
    for (EXPLICIT_ACCESSW& e : entries) {
      e.grfInheritance = NO_INHERITANCE;
      e.Trustee.TrusteeForm = TRUSTEE_IS_SID;
      e.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
      e.Trustee.ptstrName = static_cast<LPWSTR>(everyone.get());
    }
    entries[0].grfAccessMode = DENY_ACCESS;  // deny entries go first, so they win
    entries[0].grfAccessPermissions = KEY_SET_VALUE;
    entries[1].grfAccessMode = GRANT_ACCESS;
    entries[1].grfAccessPermissions = KEY_READ;
    PACL acl = nullptr;
    if (SetEntriesInAclW(2, entries, present ? old : nullptr, &acl) == ERROR_SUCCESS) {
      const UniqueLocal owned(acl);
      SECURITY_DESCRIPTOR sd;
      InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
      SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
      applied_ = RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    }
  }
  ~DenyValueWrites() {
    if (applied_) RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data());
  }
  DenyValueWrites(const DenyValueWrites&) = delete;
  DenyValueWrites& operator=(const DenyValueWrites&) = delete;
  bool Applied() const { return applied_; }

 private:
  UniqueKey key_;
  std::vector<BYTE> saved_;
  bool applied_ = false;
};

}  // namespace velkor::test
