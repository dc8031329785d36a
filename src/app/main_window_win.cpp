#include "app/main_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "catalogue/catalogue_view.h"
#include "catalogue/profile_commands.h"
#include "platform/later_windows_win.h"
#include "platform/menu_builder_win.h"
#include "platform/text_win.h"
#include "platform/win_util_win.h"
#include "platform/window_design_win.h"
#include "switching/shell_backup.h"
#include "switching/shell_restart.h"
#include "switching/switching.h"
#include "web/startup_visit_win.h"

namespace velkor {
namespace {

enum : int { kIdList = 1001 };
constexpr UINT kTrayId = 1;

constexpr ControlSpec kControls[] = {
    design::ListView(kIdList, "超级列表框1", {0, 0, 496, 232})
        .Style(LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER),
};

// The title depends on the system and is set as the window is created.
constexpr WindowDesign kDesign{kMainWindowClass, nullptr, 505, 283, kControls, 50, 50};

constexpr char kContactLink[] = "tencent://Message/?Uin=80012345&websiteName=velkor-soft&Menu=yes";

}  // namespace

MainWindow::MainWindow(PlatformOps& ops, AppPaths paths, std::string site)
    : ops_(ops), paths_(std::move(paths)), site_(std::move(site)), context_{ops_, rows_, paths_} {}

bool MainWindow::Create(int showCommand) {
  RegisterWindowClass(kMainWindowClass, RoutedWindowProc<MainWindow>);
  window_ = CreateDesignedWindow(kDesign, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, this,
                                 BuildMenuBar(kMainMenu).release());
  if (!window_) return false;
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  return true;
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: return OnCreate() ? 0 : -1;
    case WM_SIZE:
      if (wp == SIZE_MINIMIZED) Hide();
      return 0;
    case WM_DPICHANGED:
      FollowDpiChange(window_, lp);
      font_.reset(CreateMessageFont(WindowDpi(window_)));
      LayoutControls(window_, kControls, font_.get());
      ScaleCatalogueColumns(rows_.Handle(), WindowDpi(window_));
      return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp)); return 0;
    case WM_INITMENUPOPUP:
      // The way back is offered only while a backup can be read.
      EnableMenuItem(reinterpret_cast<HMENU>(wp), kCmdExactRestore,
                     MF_BYCOMMAND | (BackupAvailable(ops_, paths_.ConfigRoot()) ? MF_ENABLED : MF_GRAYED));
      return 0;
    case WM_NOTIFY: OnNotify(*reinterpret_cast<const NMHDR*>(lp)); return 0;
    case kTrayMessage:
      if (LOWORD(lp) == WM_LBUTTONDBLCLK) Show();
      if (LOWORD(lp) == WM_RBUTTONUP) PopUp("托盘菜单");
      return 0;
    case WM_DESTROY:
      RemoveTrayIcon();
      PostQuitMessage(0);
      return 0;
  }
  if (msg == taskbarCreated_ && msg != 0) {
    AddTrayIcon();  // the shell started again: the icon must be added anew
    return 0;
  }
  return DefWindowProcW(window_, msg, wp, lp);
}

bool MainWindow::OnCreate() {
  if (instance_.AnotherIsRunning(ops_, kSingleInstanceName, window_, true, kMainWindowClass)) return false;
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  icon_ = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICON));
  if (!icon_) icon_ = LoadIconW(nullptr, IDI_APPLICATION);
  AddTrayIcon();

  SetWindowTextW(window_, Widen(MainWindowTitle(OsGenerationOf(ops_.Version()))).c_str());
  EnsureConfigFolders(ops_, paths_);

  const UINT dpi = WindowDpi(window_);
  font_.reset(CreateMessageFont(dpi));
  CreateControls(window_, kControls, font_.get());
  HWND list = GetDlgItem(window_, kIdList);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP);
  AddCatalogueColumns(list);
  ScaleCatalogueColumns(list, dpi);
  rows_.Attach(list);

  {
    WaitCursor busy;
    context_.catalogueFileKept = !StartupFill(rows_, paths_.CatalogueFile(), ops_);
  }
  StartStartupVisit(site_);
  return true;
}

void MainWindow::OnCommand(int command) {
  switch (command) {
    case kCmdNewDesktop: creation_.OpenOnce(); break;
    case kCmdClassify: classification_.OpenOnce(); break;
    case kCmdSettings: settings_.OpenOnce(); break;
    case kCmdDeleteDesktop: DeleteProfile(context_); break;
    case kCmdOpenDesktop: OpenProfileFolder(context_); break;
    case kCmdProperties:
      // An open window is brought back whatever the selection; a new one needs a row.
      if (properties_.IsOpen() || SelectedRowOrTell(context_) >= 0) properties_.OpenOnce();
      break;
    case kCmdToTray: Hide(); break;
    case kCmdShow: Show(); break;
    case kCmdExit: ConfirmExit(); break;
    case kCmdVersion: ops_.ShowMessage(kVersionMessage, Buttons::Ok); break;
    case kCmdContact: ops_.ShellOpen("open", kContactLink); break;
    case kCmdWebsite: ops_.ShellOpen("open", site_); break;
    case kCmdRefresh: {
      WaitCursor busy;
      RefreshDisplay(rows_, ops_);
      break;
    }
    case kCmdSearch: search_.OpenOnce(); break;
    case kCmdEnterDesktop: {
      WaitCursor busy;
      SwitchToProfile(rows_, ops_, paths_.runDir);
      break;
    }
    case kCmdRestartShell: ShellRestart(ops_); break;
    case kCmdRestore: restore_.OpenOnce(); break;
    case kCmdExactRestore: RestoreFromBackup(ops_, rows_, paths_.ConfigRoot()); break;
  }
}

void MainWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom != kIdList) return;
  if (header.code == NM_RCLICK) PopUp("右键菜单");
  if (header.code == NM_DBLCLK) SwitchOnDoubleClick(rows_, ops_, paths_.runDir);
  if (header.code == LVN_GETINFOTIPW)
    rows_.FillInfoTip(*reinterpret_cast<NMLVGETINFOTIPW*>(const_cast<NMHDR*>(&header)));
}

void MainWindow::PopUp(const char* menuCaption) {
  const UniqueMenu menu = BuildPopupMenu(kMainMenu, menuCaption);
  PopUpMenuAtCursor(window_, menu.get(), 3);
}

void MainWindow::AddTrayIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kTrayId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = icon_;
  lstrcpynW(data.szTip, Widen(kTrayTip).c_str(), ARRAYSIZE(data.szTip));
  Shell_NotifyIconW(NIM_ADD, &data);
}

void MainWindow::RemoveTrayIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kTrayId;
  Shell_NotifyIconW(NIM_DELETE, &data);
}

void MainWindow::Hide() { ShowWindow(window_, SW_HIDE); }

void MainWindow::Show() {
  ShowWindow(window_, SW_SHOW);
  ShowWindow(window_, SW_SHOWNORMAL);
}

void MainWindow::ConfirmExit() {
  if (ops_.ShowMessage("您确定退出软件吗？", Buttons::OkCancel) == kOk) DestroyWindow(window_);
}

}  // namespace velkor
