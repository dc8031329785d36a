// Program entry: COM and the common controls, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "app/main_window_win.h"
#include "platform/handles_win.h"
#include "platform/platform_ops_win.h"
#include "platform/text_win.h"
#include "platform/win_util_win.h"

// The site as one piece of data in the program (external, so it is kept whole), where
// a look at the built file finds it.
extern const char kVelkorSiteAddress[] = VELKOR_SITE_ADDRESS;

namespace {

std::string ExecutablePath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return velkor::Narrow(path);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  const velkor::ComInit com;
  INITCOMMONCONTROLSEX icc{sizeof(icc),
                           ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  velkor::Win32PlatformOps ops;
  const velkor::AppPaths paths = velkor::AppPaths::FromExecutable(ExecutablePath());
  SetCurrentDirectoryW(velkor::Widen(paths.runDir + "\\").c_str());

  // The build names the site: the maker's for the program users get, a local server
  // for the copy the end-to-end tests start.
  velkor::MainWindow window(ops, paths, kVelkorSiteAddress);
  if (window.Create(showCommand)) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) velkor::DispatchWindowMessage(msg);
  }
  return 0;
}
