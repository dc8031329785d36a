#include "catalogue/creation_window_win.h"

#include <commctrl.h>

#include "catalogue/creation.h"

namespace velkor {
namespace {

enum : int {
  kIdTab = 100,
  kIdStatus,
  kIdTitleLabel = 110,
  kIdTitle,
  kIdCreate,
  kIdNextPage,
  kIdPathLabel = 120,
  kIdPath,
  kIdBrowse,
  kIdPreviousPage,
  kIdAppData = 131,  // 选择框1 … 选择框8 are ids 131 … 138
  kIdCookies,
  kIdPersonal,
  kIdFavorites,
  kIdHistory,
  kIdTemporaryFiles,
  kIdStartup,
  kIdLocalAppData,
  kIdSelectAll,
};

// The check box of each optional folder, in the order the folders are made.
// clang-format off
constexpr int kOptionBoxes[] = {kIdCookies, kIdPersonal,     kIdFavorites,    kIdHistory,
                                kIdTemporaryFiles, kIdStartup, kIdLocalAppData, kIdAppData};
// clang-format on

using namespace design;
// clang-format off
constexpr ControlSpec kControls[] = {
    Label(kIdTitleLabel,        "透明标签1", {26, 72, 92, 32},    L"桌面标题").Style(SS_CENTERIMAGE).OnPage(0),
    Edit(kIdTitle,              "编辑框1",   {96, 71, 192, 32},   L"").OnPage(0),
    Button(kIdCreate,           "按钮1",     {95, 128, 177, 32},  L"创建新桌面").OnPage(0),
    Button(kIdNextPage,         "按钮2",     {271, 128, 16, 32},  L"〉").OnPage(0),
    Label(kIdPathLabel,         "透明标签2", {8, 28, 88, 24},     L"自定义桌面路径").Style(SS_CENTERIMAGE).OnPage(1),
    Edit(kIdPath,               "编辑框2",   {99, 25, 208, 31},   L"").OnPage(1),
    Button(kIdBrowse,           "按钮3",     {307, 24, 29, 32},   L">>>").OnPage(1),
    CheckBox(kIdPersonal,       "选择框3",   {18, 83, 69, 16},    L"我的文档").OnPage(1),
    CheckBox(kIdCookies,        "选择框2",   {103, 83, 69, 16},   L"Cookies").OnPage(1),
    CheckBox(kIdHistory,        "选择框5",   {190, 83, 69, 16},   L"历史记录").OnPage(1),
    CheckBox(kIdStartup,        "选择框7",   {18, 107, 69, 16},   L"启动路径").OnPage(1),
    CheckBox(kIdAppData,        "选择框1",   {103, 107, 69, 16},  L"应用数据").OnPage(1),
    CheckBox(kIdLocalAppData,   "选择框8",   {190, 107, 137, 16}, L"应用程序临时目录").OnPage(1),
    CheckBox(kIdFavorites,      "选择框4",   {18, 132, 69, 16},   L"收藏夹").OnPage(1),
    CheckBox(kIdTemporaryFiles, "选择框6",   {103, 132, 88, 16},  L"临时文件夹").OnPage(1),
    CheckBox(kIdSelectAll,      "选择框9",   {190, 132, 88, 16},  L"全部选择").OnPage(1),
    Button(kIdPreviousPage,     "按钮4",     {8, 168, 16, 32},    L"<").OnPage(1),
    // The tab control only frames the pages (they are switched by the buttons); it comes
    // last so the pages' controls are drawn above it.
    Tab(kIdTab,                 "高级选择夹1", {0, 0, 376, 208}),
    StatusBar(kIdStatus,        "状态条1",   {0, 202, 374, 20}),
};
// clang-format on

constexpr WindowDesign kDesign{L"VelkorCreationWindow", L"创建新桌面", 380, 250, kControls};

}  // namespace

CreationWindow::CreationWindow(CatalogueContext& context) : SecondaryWindow(kDesign), context_(context) {}

void CreationWindow::OnCreated() {
  ShowPage(Handle(), Controls(), 0);
  SetFocus(Control(kIdTitle));
}

void CreationWindow::OnEnter(int id) {
  // Enter creates from the title box alone, without the duplicate question; in the
  // custom path box it is only the end of typing.
  if (id == kIdTitle) Create(false);
}

void CreationWindow::OnEscape() {
  // A stray Esc must not throw away what was typed or ticked: it asks first.
  bool touched = !Text(kIdTitle).empty() || !Text(kIdPath).empty();
  for (int box : kOptionBoxes) touched = touched || Checked(box);
  if (!touched || context_.ops.ShowMessage("关闭窗口将丢弃已填写的内容，确定关闭吗？", Buttons::OkCancel) == kOk)
    Close();
}

void CreationWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kIdNextPage: ShowPage(Handle(), Controls(), 1); break;
    case kIdPreviousPage: ShowPage(Handle(), Controls(), 0); break;
    case kIdSelectAll:
      for (int box : kOptionBoxes) SetChecked(box, Checked(kIdSelectAll));
      break;
    case kIdBrowse:
      if (std::string path = context_.ops.BrowseForFolder("Please choose a catalogue"); !path.empty())
        SetText(kIdPath, path);
      break;
    case kIdCreate: Create(true); break;
  }
}

void CreationWindow::Create(bool askAboutDuplicates) {
  CreationRequest request;
  request.title = Text(kIdTitle);
  if (askAboutDuplicates) {
    DuplicateTitleCheck(context_, request.title);
    if (request.title.empty()) SetText(kIdTitle, "");
  }
  request.customPath = Text(kIdPath);
  for (size_t i = 0; i < request.options.size(); ++i) request.options[i] = Checked(kOptionBoxes[i]);
  if (CreateProfile(context_, request) != CreationResult::Created) return;
  SetText(kIdTitle, "");
  Close();
}

}  // namespace velkor
