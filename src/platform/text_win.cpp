#include "platform/text_win.h"

#include <windows.h>

#include "platform/later_windows_win.h"

namespace velkor {

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& utf16) {
  if (utf16.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string Narrow(const wchar_t* utf16) { return Narrow(std::wstring(utf16 ? utf16 : L"")); }

bool ToCodePage(unsigned codePage, const std::string& utf8, std::string& out) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) {
    out.clear();
    return true;
  }
  // UTF-8 and GB18030 hold every character; they take neither the best-fit flag nor
  // the lossy-default report, and fail on broken UTF-16 instead.
  const bool complete = codePage == CP_UTF8 || codePage == 54936;
  DWORD flags = complete ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL lossy = FALSE;
  BOOL* lossyReport = complete ? nullptr : &lossy;
  const int length = static_cast<int>(wide.size());
  int n = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, lossyReport);
  if (n <= 0 && complete && GetLastError() == ERROR_INVALID_FLAGS) {
    flags = 0;  // Windows XP knows no WC_ERR_INVALID_CHARS
    n = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, lossyReport);
  }
  if (n <= 0 || lossy) return false;
  std::string bytes(static_cast<size_t>(n), '\0');
  if (WideCharToMultiByte(codePage, flags, wide.data(), length, bytes.data(), n, nullptr, lossyReport) != n || lossy)
    return false;
  out = std::move(bytes);
  return true;
}

}  // namespace velkor
