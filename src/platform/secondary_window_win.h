// A modeless top-level window without owner, opened at most once at a time: a second
// request restores or activates the open one and does not run its creation again.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "platform/handles_win.h"
#include "platform/window_design_win.h"

namespace velkor {

class SecondaryWindow {
 public:
  explicit SecondaryWindow(const WindowDesign& design) : design_(design) {}
  SecondaryWindow(const SecondaryWindow&) = delete;
  SecondaryWindow& operator=(const SecondaryWindow&) = delete;
  virtual ~SecondaryWindow();

  void OpenOnce();
  void Close();
  bool IsOpen() const { return window_ != nullptr; }
  HWND Handle() const { return window_; }

 protected:
  // The window's creation handler: runs once per opening, after the controls exist.
  virtual void OnCreated() {}
  virtual void OnCommand(int /*id*/, int /*code*/) {}
  // Enter in the edit box `id`; by default it presses the window's main button (IDOK).
  virtual void OnEnter(int /*id*/) { OnCommand(IDOK, BN_CLICKED); }
  // Esc; by default it closes the window.
  virtual void OnEscape() { Close(); }
  // Any other message; return true when handled (`result` is then returned).
  virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) { return false; }
  // Asked before the window closes; false keeps it open.
  virtual bool CanClose() { return true; }
  virtual void OnDestroyed() {}

  HWND Control(int id) const { return GetDlgItem(window_, id); }
  std::string Text(int id) const;
  void SetText(int id, const std::string& text) const;
  bool Checked(int id) const;
  void SetChecked(int id, bool checked) const;
  void Enable(int id, bool enabled) const { EnableWindow(Control(id), enabled); }
  std::span<const ControlSpec> Controls() const { return design_.controls; }
  UINT Dpi() const { return WindowDpi(window_); }

 private:
  friend LRESULT CALLBACK RoutedWindowProc<SecondaryWindow>(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK EditProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT ColorStatic(HDC dc, HWND control);
  bool HasTab() const;

  const WindowDesign design_;
  HWND window_ = nullptr;
  UniqueFont font_;
};

}  // namespace velkor
