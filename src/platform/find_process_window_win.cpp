#include "platform/find_process_window_win.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace velkor {
namespace {

BOOL CALLBACK Collect(HWND window, LPARAM lp) {
  auto* records = reinterpret_cast<std::vector<TopWindowRecord>*>(lp);
  TopWindowRecord r{window, 0, 0, {}, {}};
  r.threadId = GetWindowThreadProcessId(window, &r.processId);
  wchar_t text[256] = L"", cls[50] = L"";
  GetWindowTextW(window, text, 256);
  GetClassNameW(window, cls, 50);
  r.text = text;
  r.className = cls;
  records->push_back(std::move(r));
  return TRUE;
}

bool ContainsIgnoringCase(std::wstring haystack, std::wstring needle) {
  auto lower = [](std::wstring& s) {
    std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return std::towlower(c); });
  };
  lower(haystack);
  lower(needle);
  return haystack.find(needle) != std::wstring::npos;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const std::wstring& title, const std::wstring& className) {
  std::vector<TopWindowRecord> records;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&records));
  for (const TopWindowRecord& r : records) {
    if (r.processId == processId && IsWindowVisible(r.window) &&
        (title.empty() || ContainsIgnoringCase(r.text, title)) &&
        (className.empty() || ContainsIgnoringCase(r.className, className)))
      return r.window;
  }
  return nullptr;
}

}  // namespace velkor
