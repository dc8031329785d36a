#include "app/main_window_win.h"

#include <commctrl.h>

#include "app/window_design_win.h"
#include "catalogue/catalogue_view.h"
#include "platform/text_win.h"

namespace velkor {
namespace {

enum : int { kIdList = 1001 };

constexpr ControlSpec kMainDesign[] = {
    {ControlKind::ListView, kIdList, "超级列表框1", 0, 0, 496, 232, nullptr,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER},
};

}  // namespace

bool MainWindow::Create(int showCommand) {
  RegisterWindowClass(kMainWindowClass, Proc);
  window_ = CreateDesignedWindow(kMainWindowClass, Widen(kProgramTitle).c_str(),
                                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 50, 50, 505, 283, this);
  if (!window_) return false;
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  return true;
}

LRESULT CALLBACK MainWindow::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->Handle(msg, wp, lp) : DefWindowProcW(window, msg, wp, lp);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window_, msg, wp, lp);
}

bool MainWindow::OnCreate() {
  if (instance_.AnotherIsRunning(ops_, kSingleInstanceName, window_, true, kMainWindowClass)) return false;
  SetWindowTextW(window_, Widen(MainWindowTitle(OsGenerationOf(ops_.Version()))).c_str());
  EnsureConfigFolders(ops_, paths_);

  const UINT dpi = WindowDpi(window_);
  font_.reset(CreateMessageFont(dpi));
  CreateControls(window_, kMainDesign, static_cast<HFONT>(font_.get()));
  HWND list = GetDlgItem(window_, kIdList);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  AddCatalogueColumns(list, dpi);
  rows_.Attach(list);

  StartupFill(rows_, paths_.CatalogueFile(), ops_);
  return true;
}

}  // namespace velkor
