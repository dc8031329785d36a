// The start window: the catalogue list, its menus and tray icon, and everything
// reached from them.
#pragma once

#include <windows.h>

#include "app/main_menu.h"
#include "app/settings_window_win.h"
#include "app/single_instance_win.h"
#include "app/startup.h"
#include "catalogue/catalogue_context.h"
#include "catalogue/creation_window_win.h"
#include "catalogue/list_view_rows_win.h"
#include "catalogue/properties_window_win.h"
#include "platform/handles_win.h"
#include "platform/platform_ops.h"
#include "platform/window_design_win.h"
#include "switching/restore_window_win.h"
#include "tools/classification_window_win.h"
#include "tools/search_window_win.h"

namespace velkor {

inline constexpr wchar_t kMainWindowClass[] = L"VelkorMainWindow";
inline constexpr UINT kTrayMessage = WM_APP + 1;

class MainWindow {
 public:
  // `site`: the maker's web site, visited at start and opened by "公司网站".
  MainWindow(PlatformOps& ops, AppPaths paths, std::string site);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates and shows the window. False when another instance runs already.
  bool Create(int showCommand);
  HWND Handle() const { return window_; }
  CatalogueContext& Context() { return context_; }

 private:
  friend LRESULT CALLBACK RoutedWindowProc<MainWindow>(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  bool OnCreate();
  void OnCommand(int command);
  void OnNotify(const NMHDR& header);
  void PopUp(const char* menuCaption);
  void AddTrayIcon();
  void RemoveTrayIcon();
  void Hide();
  void Show();
  void ConfirmExit();

  PlatformOps& ops_;
  AppPaths paths_;
  std::string site_;
  ListViewRows rows_;
  CatalogueContext context_;
  std::string heldPassword_;
  HWND window_ = nullptr;
  UniqueFont font_;
  HICON icon_ = nullptr;
  UINT taskbarCreated_ = 0;
  SingleInstance instance_;
  CreationWindow creation_{context_};
  PropertiesWindow properties_{context_};
  SettingsWindow settings_{ops_, heldPassword_};
  ClassificationWindow classification_{context_};
  SearchWindow search_{context_};
  RestoreWindow restore_{context_};
};

}  // namespace velkor
