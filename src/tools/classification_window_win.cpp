#include "tools/classification_window_win.h"

namespace velkor {
namespace {

enum : int { kIdFirstBox = 101, kIdFirstMark = 111, kIdLine = 120, kIdRun = 121 };

using namespace design;
// clang-format off
constexpr ControlSpec kControls[] = {
    CheckBox(kIdFirstBox + 0, "选择框1",   {35, 20, 240, 16},  L"文档文件（doc\\xls\\txt\\ppt)"),
    CheckBox(kIdFirstBox + 1, "选择框2",   {35, 42, 240, 16},  L"图片文件（jpg\\bmp\\gif\\png\\ico)"),
    CheckBox(kIdFirstBox + 2, "选择框3",   {35, 67, 240, 16},  L"压缩包（rar\\zip\\7z)"),
    CheckBox(kIdFirstBox + 3, "选择框4",   {35, 90, 240, 16},  L"视频文件（rmvb\\mp4\\avi\\mpg\\)"),
    CheckBox(kIdFirstBox + 4, "选择框5",   {35, 114, 240, 16}, L"音乐文件（mp3\\wav\\wma)"),
    Label(kIdFirstMark + 0,   "透明标签1", {255, 16, 22, 24},  L"√").Style(SS_CENTERIMAGE),
    Label(kIdFirstMark + 1,   "透明标签2", {255, 40, 22, 24},  L"√").Style(SS_CENTERIMAGE),
    Label(kIdFirstMark + 2,   "透明标签3", {255, 64, 22, 24},  L"√").Style(SS_CENTERIMAGE),
    Label(kIdFirstMark + 3,   "透明标签4", {255, 88, 22, 24},  L"√").Style(SS_CENTERIMAGE),
    Label(kIdFirstMark + 4,   "透明标签5", {255, 112, 22, 24}, L"√").Style(SS_CENTERIMAGE),
    Picture(kIdLine,          "图片框1",   {0, 139, 320, 2}),
    Button(kIdRun,            "按钮1",     {55, 149, 192, 31}, L"快速分类"),
};
// clang-format on

constexpr WindowDesign kDesign{L"VelkorClassificationWindow", L"桌面文件快速分类", 313, 214, kControls};

}  // namespace

ClassificationWindow::ClassificationWindow(CatalogueContext& context) : SecondaryWindow(kDesign), context_(context) {}

void ClassificationWindow::OnCreated() { HideAll(); }

void ClassificationWindow::HideAll() {
  for (int i = 0; i < 5; ++i) ShowWindow(Control(kIdFirstMark + i), SW_HIDE);
}

void ClassificationWindow::Show(size_t category) {
  ShowWindow(Control(kIdFirstMark + static_cast<int>(category)), SW_SHOW);
  UpdateWindow(Handle());
}

void ClassificationWindow::OnCommand(int id, int code) {
  // Moving files runs from the button alone, never from Enter (IDOK).
  if (id != kIdRun || code != BN_CLICKED) return;
  std::array<bool, 5> ticked{};
  for (int i = 0; i < 5; ++i) ticked[i] = Checked(kIdFirstBox + i);
  {
    WaitCursor busy;
    ClassifyDesktop(context_, ticked, *this);
  }
  // Off the button, so that a later stray Enter does not run it again.
  if (GetFocus() == Control(kIdRun)) SetFocus(Control(kIdFirstBox));
}

}  // namespace velkor
