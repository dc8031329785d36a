#include "catalogue/properties_window_win.h"

#include "catalogue/profile_commands.h"

namespace velkor {
namespace {

enum : int { kIdGroup = 100, kIdTitleLabel, kIdTitle, kIdDateLabel, kIdDate, kIdSizeLabel, kIdSize, kIdClose };

using namespace design;
// clang-format off
constexpr ControlSpec kControls[] = {
    Label(kIdTitleLabel, "透明标签1", {15, 18, 48, 24},   L"桌面名称").Style(SS_CENTERIMAGE).InFrame(kIdGroup),
    Edit(kIdTitle,       "编辑框1",   {71, 18, 160, 24},  L"*").InFrame(kIdGroup),
    Label(kIdDateLabel,  "透明标签2", {14, 64, 56, 16},   L"创建日期：").InFrame(kIdGroup),
    Edit(kIdDate,        "编辑框2",   {71, 60, 160, 24},  L"*").InFrame(kIdGroup),
    Label(kIdSizeLabel,  "透明标签6", {14, 99, 56, 16},   L"目录大小：").InFrame(kIdGroup),
    Edit(kIdSize,        "编辑框4",   {71, 96, 160, 24},  L"*").InFrame(kIdGroup),
    Button(kIdClose,     "按钮1",     {274, 186, 93, 32}, L"关 闭").Style(BS_DEFPUSHBUTTON).InFrame(kIdGroup),
    Frame(kIdGroup,      "分组框1",   {1, -2, 376, 224}),
};
// clang-format on

constexpr WindowDesign kDesign{L"VelkorPropertiesWindow", L"桌面属性", 383, 250, kControls};

}  // namespace

PropertiesWindow::PropertiesWindow(CatalogueContext& context) : SecondaryWindow(kDesign), context_(context) {}

void PropertiesWindow::OnCreated() {
  const RowList& rows = context_.rows;
  const int row = rows.Selected();
  SetText(kIdTitle, rows.Cell(row, kColTitle));
  SetText(kIdSize, rows.Cell(row, kColSize));
  SetText(kIdDate, DateText(context_.ops.FolderCreationDate(rows.Cell(row, kColPath))));
}

void PropertiesWindow::OnCommand(int id, int code) {
  if ((id == kIdClose && code == BN_CLICKED) || id == IDOK) Close();
}

}  // namespace velkor
