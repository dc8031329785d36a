#include "platform/window_design_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/handles_win.h"
#include "platform/proc_address_win.h"

namespace velkor {
namespace {

struct ClassAndStyle {
  const wchar_t* cls;
  DWORD style;
};

ClassAndStyle ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::ListView: return {WC_LISTVIEWW, WS_BORDER | WS_TABSTOP};
    case ControlKind::Edit: return {L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL};
    case ControlKind::Button: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON};
    case ControlKind::CheckBox: return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX};
    case ControlKind::Radio: return {L"BUTTON", WS_TABSTOP | BS_AUTORADIOBUTTON};
    case ControlKind::DropList: return {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
    case ControlKind::Tab: return {WC_TABCONTROLW, WS_CLIPSIBLINGS};
    case ControlKind::Frame: return {L"BUTTON", BS_GROUPBOX};
    case ControlKind::Label: return {L"STATIC", SS_LEFTNOWORDWRAP};
    case ControlKind::StatusBar: return {STATUSCLASSNAMEW, 0};
    case ControlKind::Picture: return {L"STATIC", SS_ETCHEDHORZ};
  }
  return {L"STATIC", 0};
}

const ControlSpec* FindSpec(std::span<const ControlSpec> design, int id) {
  for (const ControlSpec& item : design)
    if (item.id == id) return &item;
  return nullptr;
}

// A label is as wide as its text needs, even where the design is a little narrower.
int TextWidth(HFONT font, const wchar_t* text) {
  const WindowDc screen;
  const SelectedObject selected(screen.get(), font);
  SIZE size{};
  GetTextExtentPoint32W(screen.get(), text, static_cast<int>(wcslen(text)), &size);
  return size.cx;
}

}  // namespace

UINT WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = ProcAddress<GetDpiForWindowFn>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  if (getDpi && window) {
    if (const UINT dpi = getDpi(window)) return dpi;
  }
  const UINT dpi = GetDeviceCaps(WindowDc().get(), LOGPIXELSY);
  return dpi ? dpi : 96;
}

int Scale(int designPixels, UINT dpi) { return MulDiv(designPixels, static_cast<int>(dpi), 96); }

HFONT CreateMessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  // The system's face at 9 points, the size the window designs were laid out for.
  font.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
  font.lfWidth = 0;
  return CreateFontIndirectW(&font);
}

namespace {

// Where a control of the design goes at `dpi`.
RECT PlaceOf(std::span<const ControlSpec> design, const ControlSpec& item, UINT dpi, HFONT font) {
  int x = item.x, y = item.y;
  if (const ControlSpec* frame = item.frame ? FindSpec(design, item.frame) : nullptr) x += frame->x, y += frame->y;
  int width = Scale(item.width, dpi);
  if (item.kind == ControlKind::Label && item.caption) width = std::max(width, TextWidth(font, item.caption));
  return {Scale(x, dpi), Scale(y, dpi), Scale(x, dpi) + width, Scale(y, dpi) + Scale(item.height, dpi)};
}

}  // namespace

void CreateControls(HWND window, std::span<const ControlSpec> design, HFONT font) {
  const UINT dpi = WindowDpi(window);
  for (const ControlSpec& item : design) {
    const ClassAndStyle cs = ClassOf(item.kind);
    const DWORD visible = item.page > 0 ? 0 : WS_VISIBLE;
    const RECT r = PlaceOf(design, item, dpi, font);
    HWND control =
        CreateWindowExW(0, cs.cls, item.caption ? item.caption : L"", WS_CHILD | visible | cs.style | item.extraStyle,
                        r.left, r.top, r.right - r.left, r.bottom - r.top, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

void LayoutControls(HWND window, std::span<const ControlSpec> design, HFONT font) {
  const UINT dpi = WindowDpi(window);
  for (const ControlSpec& item : design) {
    HWND control = GetDlgItem(window, item.id);
    const RECT r = PlaceOf(design, item, dpi, font);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    if (item.kind == ControlKind::StatusBar) SendMessageW(control, WM_SIZE, 0, 0);
  }
}

void FollowDpiChange(HWND window, LPARAM suggested) {
  const RECT* r = reinterpret_cast<const RECT*>(suggested);
  SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowPage(HWND window, std::span<const ControlSpec> design, int page) {
  for (const ControlSpec& item : design)
    if (item.page >= 0) ShowWindow(GetDlgItem(window, item.id), item.page == page ? SW_SHOW : SW_HIDE);
}

void RegisterWindowClass(const wchar_t* className, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) return;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  wc.hIconSm = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  RegisterClassExW(&wc);
}

HWND CreateDesignedWindow(const WindowDesign& design, DWORD style, void* self, HMENU menu) {
  const UINT dpi = WindowDpi(nullptr);
  const int width = Scale(design.width, dpi), height = Scale(design.height, dpi);
  int x = Scale(design.x, dpi), y = Scale(design.y, dpi);
  if (design.x == WindowDesign::kCentred) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    x = area.left + (area.right - area.left - width) / 2;
    y = area.top + (area.bottom - area.top - height) / 2;
  }
  return CreateWindowExW(0, design.className, design.title ? design.title : L"", style, x, y, width, height, nullptr,
                         menu, GetModuleHandleW(nullptr), self);
}

}  // namespace velkor
