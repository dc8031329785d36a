#include "platform/find_process_window_win.h"

#include <algorithm>
#include <cwctype>

#include "platform/win_util_win.h"

namespace velkor {
namespace {

struct TopWindowRecord {
  HWND window;
  DWORD processId;
  DWORD threadId;
  std::wstring text;       // at most 255 characters
  std::wstring className;  // at most 49 characters
};

TopWindowRecord RecordOf(HWND window) {
  TopWindowRecord r{window, 0, 0, {}, {}};
  r.threadId = GetWindowThreadProcessId(window, &r.processId);
  wchar_t text[256] = L"", cls[50] = L"";
  GetWindowTextW(window, text, 256);
  GetClassNameW(window, cls, 50);
  r.text = text;
  r.className = cls;
  return r;
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
  HWND found = nullptr;
  ForEachTopLevelWindow([&](HWND window) {
    const TopWindowRecord r = RecordOf(window);
    if (r.processId == processId && IsWindowVisible(r.window) &&
        (title.empty() || ContainsIgnoringCase(r.text, title)) &&
        (className.empty() || ContainsIgnoringCase(r.className, className)))
      found = window;
    return found == nullptr;
  });
  return found;
}

}  // namespace velkor
