// The start window: the catalogue list, and everything reached from it.
#pragma once

#include <windows.h>

#include "app/single_instance_win.h"
#include "app/startup.h"
#include "catalogue/list_view_rows_win.h"
#include "platform/handles_win.h"
#include "platform/platform_ops.h"

namespace velkor {

inline constexpr wchar_t kMainWindowClass[] = L"VelkorMainWindow";

class MainWindow {
 public:
  MainWindow(PlatformOps& ops, AppPaths paths) : ops_(ops), paths_(std::move(paths)) {}
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates and shows the window. False when another instance runs already.
  bool Create(int showCommand);
  HWND Handle() const { return window_; }
  RowList& Rows() { return rows_; }
  PlatformOps& Ops() { return ops_; }
  const AppPaths& Paths() const { return paths_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  bool OnCreate();

  PlatformOps& ops_;
  AppPaths paths_;
  HWND window_ = nullptr;
  ListViewRows rows_;
  UniqueGdi font_;
  SingleInstance instance_;
};

}  // namespace velkor
