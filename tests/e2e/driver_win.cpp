#include "driver_win.h"

#include <commctrl.h>

#include <algorithm>

#include "catalogue/catalogue_file.h"
#include "platform/handles_win.h"
#include "platform/platform_ops_win.h"
#include "platform/proc_address_win.h"
#include "platform/win_util_win.h"

namespace velkor::e2e {
namespace {

// The driver measures windows in real pixels, whatever the DPI (Vista and later; XP
// has no DPI virtualisation to opt out of).
const bool kDpiAware = [] {
  using Fn = BOOL(WINAPI*)();
  const auto aware = ProcAddress<Fn>(GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware");
  return aware && aware();
}();

// Memory inside the process that owns `window`, for messages that carry pointers.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, SIZE_T size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (process_) at_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteMemory() {
    if (at_) VirtualFreeEx(process_.get(), at_, 0, MEM_RELEASE);
  }
  explicit operator bool() const { return at_ != nullptr; }
  LPARAM Address() const { return reinterpret_cast<LPARAM>(at_); }
  void Write(const void* data, SIZE_T size) const { WriteProcessMemory(process_.get(), at_, data, size, nullptr); }
  void Read(void* data, SIZE_T size, SIZE_T offset = 0) const {
    ReadProcessMemory(process_.get(), static_cast<char*>(at_) + offset, data, size, nullptr);
  }

 private:
  UniqueHandle process_;
  void* at_ = nullptr;
};

// Waits for `handle` (or just for time, with none) while serving this thread's
// messages: the shell may send to every thread with windows and wait for an answer.
bool PumpingWait(HANDLE handle, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    PumpPendingMessages();
    const DWORD elapsed = GetTickCount() - start;  // right across a wrap of the count
    if (elapsed >= ms) return handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
    const DWORD left = ms - elapsed;
    const DWORD r = MsgWaitForMultipleObjects(handle ? 1 : 0, &handle, FALSE, left, QS_ALLINPUT);
    if (handle && r == WAIT_OBJECT_0) return true;
    if (!handle && r == WAIT_TIMEOUT) return false;
  }
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    if (condition()) return true;
    PumpingWait(nullptr, 20);
  } while (GetTickCount() - start < ms);
  return condition();
}

ProgramUnderTest::ProgramUnderTest() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring built = self;
  // .../tests/program-under-test: the copy built to visit the tests' own site
  built = built.substr(0, built.rfind(L'\\')) + L"\\program-under-test\\" + Widen(VELKOR_EXE_NAME);
  exe_ = dir_ / Widen(VELKOR_EXE_NAME);
  CopyFileW(built.c_str(), exe_.c_str(), FALSE);
}

ProgramUnderTest::~ProgramUnderTest() {
  for (const UniqueHandle& p : processes_) {
    if (WaitForSingleObject(p.get(), 0) == WAIT_TIMEOUT) TerminateProcess(p.get(), 1);
    WaitForSingleObject(p.get(), 5000);
  }
}

bool ProgramUnderTest::WriteCatalogue(std::vector<CatalogueRow> rows) const {
  Win32PlatformOps ops;
  for (CatalogueRow& row : rows)
    for (std::string& cell : row.cells)
      if (!ops.ToAnsi(cell, cell)) return false;
  CreateDirectoryW(ConfigRoot().c_str(), nullptr);
  test::WriteFileW(CatalogueFile(), EncodeCatalogue(rows, kColumnCount));
  return true;
}

HANDLE ProgramUnderTest::Start() {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring line = L"\"" + exe_ + L"\"";
  if (!CreateProcessW(exe_.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.wide().c_str(), &si, &pi))
    return nullptr;
  const UniqueHandle thread(pi.hThread);
  processes_.emplace_back(pi.hProcess);
  if (!pid_) pid_ = pi.dwProcessId;
  return pi.hProcess;
}

HWND ProgramUnderTest::MainWindow(DWORD ms) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowOf(pid_, L"VelkorMainWindow", nullptr)) && IsWindowVisible(found); }, ms);
  return found;
}

HWND ProgramUnderTest::List() { return FindWindowExW(MainWindow(), nullptr, WC_LISTVIEWW, nullptr); }

DWORD ProgramUnderTest::WaitExit(DWORD ms) {
  DWORD code = STILL_ACTIVE;
  if (!processes_.empty() && PumpingWait(processes_.front().get(), ms))
    GetExitCodeProcess(processes_.front().get(), &code);
  return code;
}

std::vector<std::vector<std::string>> ReadRows(HWND list, int columns) {
  std::vector<std::vector<std::string>> rows;
  constexpr SIZE_T kText = 1024;
  RemoteMemory remote(list, sizeof(LVITEMW) + kText * sizeof(wchar_t));
  if (!remote) return rows;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < count; ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < columns; ++c) {
      LVITEMW item{};
      item.iSubItem = c;
      item.cchTextMax = kText;
      item.pszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof(LVITEMW));
      remote.Write(&item, sizeof(item));
      const LRESULT n = SendMessageW(list, LVM_GETITEMTEXTW, r, remote.Address());
      std::wstring text(static_cast<size_t>(n), L'\0');
      remote.Read(text.data(), n * sizeof(wchar_t), sizeof(LVITEMW));
      row.push_back(Narrow(text));
    }
    rows.push_back(row);
  }
  return rows;
}

HWND FindWindowOf(DWORD pid, const wchar_t* cls, const wchar_t* title) {
  HWND found = nullptr;
  ForEachTopLevelWindow([&](HWND w) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    wchar_t wcls[128] = L"", wtitle[256] = L"";
    GetClassNameW(w, wcls, 128);
    GetWindowTextW(w, wtitle, 256);
    if (owner == pid && (!cls || wcscmp(wcls, cls) == 0) && (!title || wcscmp(wtitle, title) == 0)) found = w;
    return found == nullptr;
  });
  return found;
}

HWND WaitMessageBox(DWORD pid, DWORD ms) {
  HWND box = nullptr;
  WaitFor([&] { return (box = FindWindowOf(pid, L"#32770", L"信息：")) && IsWindowVisible(box); }, ms);
  return box;
}

std::string MessageBoxText(HWND box) {
  wchar_t text[1024] = L"";
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  return Narrow(text);
}

std::string Reply(DWORD pid, int button) {
  HWND box = WaitMessageBox(pid);
  if (!box) return "<no message>";
  const std::string text = MessageBoxText(box);
  Answer(box, button);
  WaitFor([&] { return !IsWindow(box); });
  return text;
}

void Answer(HWND box, int button) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

void ChooseCommand(HWND main, int command) { PostMessageW(main, WM_COMMAND, MAKEWPARAM(command, 0), 0); }

void SetControlText(HWND window, int id, const std::string& text) {
  SendMessageW(GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

std::string ControlText(HWND window, int id) {
  wchar_t text[2048] = L"";
  SendMessageW(GetDlgItem(window, id), WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
  return Narrow(text);
}

void ClickButton(HWND window, int id) {
  // Posted: the click may open a message box that waits for this driver.
  PostMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0);
}

bool IsChecked(HWND window, int id) { return SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

HWND WaitWindow(DWORD pid, const wchar_t* title, DWORD ms) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowOf(pid, nullptr, title)) && IsWindowVisible(found); }, ms);
  return found;
}

RegistryTextGuard::RegistryTextGuard(std::string path)
    : path_(std::move(path)), saved_(Win32PlatformOps().ReadRegText(RegRoot::CurrentUser, path_)) {}

RegistryTextGuard::~RegistryTextGuard() { Set(saved_); }

void RegistryTextGuard::Set(const std::string& value) {
  Win32PlatformOps().WriteRegText(RegRoot::CurrentUser, path_, value);
}

void SaveScreenshot(HWND window, const std::string& name) {
  RECT r;
  GetWindowRect(window, &r);
  SaveScreenArea(r, name);
}

void SaveScreenArea(const RECT& r, const std::string& name) {
  Sleep(300);  // let the windows finish painting
  const int w = r.right - r.left, h = r.bottom - r.top;
  const WindowDc screen;
  const UniqueDc mem(CreateCompatibleDC(screen.get()));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  const UniqueBitmap bmp(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    const SelectedObject selected(mem.get(), bmp.get());
    BitBlt(mem.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
  }
  const DWORD stride = ((w * 3 + 3) & ~3), size = stride * h;
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof(fh) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                      sizeof(fh) + sizeof(BITMAPINFOHEADER)};
  wchar_t dir[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"VELKOR_SCREENSHOT_DIR", dir, MAX_PATH);
  CreateDirectoryW(dir, nullptr);
  const std::wstring path = std::wstring(dir) + L"\\" + Widen(name) + L".bmp";
  const UniqueFile f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written;
  WriteFile(f.get(), &fh, sizeof(fh), &written, nullptr);
  WriteFile(f.get(), &bi.bmiHeader, sizeof(BITMAPINFOHEADER), &written, nullptr);
  WriteFile(f.get(), bits, size, &written, nullptr);
}

void SelectRow(HWND list, int row) {
  RemoteMemory remote(list, sizeof(LVITEMW));
  if (!remote) return;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = row >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
  remote.Write(&item, sizeof(item));
  SendMessageW(list, LVM_SETITEMSTATE, row, remote.Address());
}

std::string StatusText(HWND statusBar, int part) {
  // SB_GETTEXT takes no buffer size and the text may change meanwhile: room for any part.
  constexpr SIZE_T kChars = 32768;
  RemoteMemory remote(statusBar, kChars * sizeof(wchar_t));
  if (!remote) return {};
  const SIZE_T length =
      std::min<SIZE_T>(LOWORD(SendMessageW(statusBar, SB_GETTEXTW, part, remote.Address())), kChars - 1);
  std::wstring text(length, L'\0');
  remote.Read(text.data(), length * sizeof(wchar_t));
  return Narrow(text);
}

void DoubleClickRow(HWND list, int row) {
  SelectRow(list, row);
  RECT bounds{LVIR_BOUNDS, 0, 0, 0};
  if (RemoteMemory remote(list, sizeof(RECT)); remote) {
    remote.Write(&bounds, sizeof(bounds));
    SendMessageW(list, LVM_GETITEMRECT, row, remote.Address());
    remote.Read(&bounds, sizeof(bounds));
  }
  // Inside the first column, half-way down the row.
  const POINT at{bounds.left + 8, (bounds.top + bounds.bottom) / 2};
  POINT screen = at;
  ClientToScreen(list, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

}  // namespace velkor::e2e
