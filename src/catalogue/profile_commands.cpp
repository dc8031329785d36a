#include "catalogue/profile_commands.h"

#include "catalogue/catalogue_file.h"
#include "catalogue/profile_layout.h"
#include "catalogue/shell_folder_use.h"

namespace velkor {
namespace {

// A path that names a drive rather than a folder in it: never removed.
bool IsBareDrive(const std::string& path) {
  return path.empty() || (path.size() == 2 && path[1] == ':') ||
         (path.size() == 3 && path[1] == ':' && path[2] == '\\');
}

std::string LeftOver(PlatformOps& ops, const std::string& path) {
  const RemovalResult result = ops.RemoveFolder(path);
  return result.complete || !ops.Exists(path) ? std::string() : path + "\n";
}

}  // namespace

int SelectedRowOrTell(CatalogueContext& context) {
  const int row = context.rows.Selected();
  if (row < 0) context.ops.ShowMessage("请先在列表中选择一个桌面！", Buttons::Ok);
  return row;
}

void DeleteProfile(CatalogueContext& context) {
  PlatformOps& ops = context.ops;
  RowList& rows = context.rows;
  const int row = SelectedRowOrTell(context);
  if (row < 0) return;
  if (rows.Cell(row, kColState) == kStateRunning) {
    ops.ShowMessage("您的桌面正在运行中，请先退出该桌面或切换其他桌面后再进行删除！", Buttons::Ok);
    return;
  }
  // Whatever the cell says: a shell folder still pointing into the profile keeps it.
  if (const std::optional<std::string> inUse = ProfileInUseProblem(context, row)) {
    ops.ShowMessage(*inUse, Buttons::Ok);
    return;
  }
  const std::string title = rows.Cell(row, kColTitle);
  if (ops.ShowMessage("您确认删除桌面信息吗？删除后将无法进行恢复！" + title, Buttons::OkCancel) != kOk) return;
  if (ops.ShowMessage("最后一次确认啦！~你真的真的要删除吗？删除后将无法进行恢复！" + title, Buttons::OkCancel) != kOk)
    return;

  std::string left;
  std::string desktop = rows.Cell(row, kColPath);
  desktop.erase(0, desktop.find_first_not_of(' '));
  if (!IsBareDrive(desktop)) left += LeftOver(ops, desktop);
  // The profile root is only ever a folder directly inside the profiles folder: a
  // title that is not one folder name (from an old or edited catalogue) names none.
  if (!title.empty() && !TitleProblem(title)) left += LeftOver(ops, context.paths.ProfilesRoot() + title);

  rows.DeleteRow(row);
  const bool saved = SaveCatalogue(rows, context.paths.CatalogueFile(), ops);
  ops.ShowMessage("桌面已经被删除！", Buttons::Ok);
  if (!left.empty())
    ops.ShowMessage("以下文件夹未能完全删除（其中有文件正在使用或为只读），剩余的内容仍在原处：\n" + left, Buttons::Ok);
  if (!saved) ops.ShowMessage("桌面列表文件无法保存，删除只在本次运行期间生效。", Buttons::Ok);
}

void OpenProfileFolder(CatalogueContext& context) {
  const int row = SelectedRowOrTell(context);
  if (row >= 0) context.ops.ShellOpen("open", context.rows.Cell(row, kColPath));
}

std::string DateText(const DateTime& v) {
  std::string text = std::to_string(v.year) + "年" + std::to_string(v.month) + "月" + std::to_string(v.day) + "日";
  if (v.second != 0)
    text += std::to_string(v.hour) + "时" + std::to_string(v.minute) + "分" + std::to_string(v.second) + "秒";
  else if (v.minute != 0)
    text += std::to_string(v.hour) + "时" + std::to_string(v.minute) + "分";
  else if (v.hour != 0)
    text += std::to_string(v.hour) + "时";
  return text;
}

}  // namespace velkor
