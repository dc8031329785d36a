#include "platform/failure_log_win.h"

namespace velkor {

bool Failed(const wchar_t* call, const std::wstring& argument) { return Failed(call, argument, GetLastError()); }

bool Failed(const wchar_t* call, const std::wstring& from, const std::wstring& to) {
  const DWORD error = GetLastError();
  return Failed(call, from + L" -> " + to, error);
}

bool Failed(const wchar_t* call, const std::wstring& argument, LSTATUS error) {
  const std::wstring line =
      L"WindowsVelkor: " + std::wstring(call) + L"(" + argument + L") failed, error " + std::to_wstring(error) + L"\n";
  OutputDebugStringW(line.c_str());
  return false;
}

}  // namespace velkor
