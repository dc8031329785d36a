// Drives the real program from outside, as a user would: starts it in a folder of its
// own, finds its windows, reads its list, answers its message boxes, takes screenshots.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogue/row_list.h"
#include "platform/handles_win.h"
#include "win_fixtures_win.h"

namespace velkor::e2e {

// Polls `condition` every 20 ms for up to `ms`.
bool WaitFor(const std::function<bool()>& condition, DWORD ms = 5000);

class ProgramUnderTest {
 public:
  // Copies the program into a fresh run folder; nothing runs yet.
  ProgramUnderTest();
  ~ProgramUnderTest();

  const test::TempDir& RunDir() const { return dir_; }
  std::wstring ConfigRoot() const { return dir_ / L"软件配置"; }
  std::wstring ProfilesRoot() const { return dir_ / L"软件配置\\桌面配置"; }
  std::wstring CatalogueFile() const { return dir_ / L"软件配置\\桌面列表.dat"; }

  // Writes the catalogue file (making its folder) with these rows, texts in the ANSI
  // code page as the program keeps them. False when a text has no ANSI form.
  bool WriteCatalogue(std::vector<CatalogueRow> rows) const;

  // Starts one more process of the program; returns its process handle (owned here).
  HANDLE Start();
  // The main window of the first process, once visible.
  HWND MainWindow(DWORD ms = 10000);
  HWND List();
  DWORD Pid() const { return pid_; }
  // Exit code of the first process after it ended, or STILL_ACTIVE.
  DWORD WaitExit(DWORD ms);

 private:
  test::TempDir dir_;
  std::wstring exe_;
  std::vector<UniqueHandle> processes_;
  DWORD pid_ = 0;
};

// Every row of a list view of another process, as texts of `columns` columns.
std::vector<std::vector<std::string>> ReadRows(HWND list, int columns);

// A top-level window of the process with that class and title (nullptr: any).
HWND FindWindowOf(DWORD pid, const wchar_t* cls, const wchar_t* title);
// Waits for the program's plain message box and returns its text.
HWND WaitMessageBox(DWORD pid, DWORD ms = 5000);
std::string MessageBoxText(HWND box);
// Answers the next message box of the program with `button` and returns its text.
std::string Reply(DWORD pid, int button);
// Presses a button of a message box (IDOK, IDCANCEL).
void Answer(HWND box, int button);

// Chooses a menu command of the main window (menus of another process cannot be
// read under Wine, so the command id is sent as the menu would send it).
void ChooseCommand(HWND main, int command);
// Controls of another process's window, by control id.
void SetControlText(HWND window, int id, const std::string& text);
std::string ControlText(HWND window, int id);
void ClickButton(HWND window, int id);  // posted: returns at once
bool IsChecked(HWND window, int id);

// The topmost visible window of the process with that title (any class).
HWND WaitWindow(DWORD pid, const wchar_t* title, DWORD ms = 5000);

// Keeps one HKCU registry text value as it was before the test.
class RegistryTextGuard {
 public:
  explicit RegistryTextGuard(std::string path);
  ~RegistryTextGuard();
  void Set(const std::string& value);

 private:
  std::string path_, saved_;
};

// Saves the window as build/.../screenshots/NAME.bmp (turned into PNG by the test command).
void SaveScreenshot(HWND window, const std::string& name);
// The same for a part of the screen (menus that pop up over a window, for instance).
void SaveScreenArea(const RECT& area, const std::string& name);

// Selects and focuses one row of a list view of another process (-1: every row is unselected).
void SelectRow(HWND list, int row);
// The text of one part of a status bar of another process.
std::string StatusText(HWND statusBar, int part);
// Selects the row, puts the cursor over it and double-clicks there with the left button,
// so that the list sends its NM_DBLCLK.
void DoubleClickRow(HWND list, int row);

}  // namespace velkor::e2e
