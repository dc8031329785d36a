#include "catalogue/profile_commands.h"

#include "catalogue/catalogue_file.h"
#include "catalogue/profile_layout.h"
#include "catalogue/protected_places.h"
#include "catalogue/shell_folder_use.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace velkor {
namespace {

// What became of one folder the deletion was to remove; empty when it is gone or was
// never there.
std::string Outcome(PlatformOps& ops, const std::string& folder) {
  if (!ops.Exists(folder)) return {};
  const RemovalResult result = ops.RemoveFolder(folder);
  if (result.complete || !ops.Exists(folder)) return {};
  const uint64_t others = result.entriesLeft - result.linksLeft;
  std::string why;
  if (others > 0) why = std::to_string(others) + " 个文件或文件夹正在使用或为只读";
  if (result.linksLeft > 0)
    why += (why.empty() ? "" : "；") + std::to_string(result.linksLeft) + " 个链接无法删除（链接所指的内容未被触及）";
  if (why.empty()) why = "无法删除";
  return folder + "：" + why;
}

// The folders a row's deletion removes, each checked against the protected places,
// the raw bytes of an unreadable catalogue and the other rows that still use it.
struct Target {
  std::string folder;   // canonical; empty when refused
  std::string refusal;  // "path：why" when refused
};

Target CheckTarget(CatalogueContext& context, int row, const std::string& path, bool profileRoot) {
  Target target;
  if (HoldsRawBytes(path)) {
    target.refusal = path + "：含有本系统编码无法表示的字符，无法确定它所指的文件夹，未删除";
    return target;
  }
  const PlaceCheck place = CheckPlace(context.ops, context.paths, path);
  const auto profiles = CanonicalPath(context.paths.ProfilesRoot(), "");
  if (!place.Allowed()) {
    target.refusal = path + "：" + place.problem + "，未删除";
  } else if (profileRoot && (!profiles || !SamePath(ParentPath(place.canonical), *profiles))) {
    target.refusal = path + "：不在存放桌面的文件夹之内，未删除";
  } else {
    for (int r = 0; r < context.rows.RowCount() && target.refusal.empty(); ++r) {
      if (r == row) continue;
      const auto other = CanonicalPath(context.rows.Cell(r, kColPath), "");
      if (other && PathWithin(*other, place.canonical))
        target.refusal = path + "：桌面“" + context.rows.Cell(r, kColTitle) + "”仍在使用其中的文件夹，未删除";
    }
  }
  if (target.refusal.empty()) target.folder = place.canonical;
  return target;
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
  const std::string desktop = rows.Cell(row, kColPath);
  std::vector<Target> targets;
  if (!TrimSpaces(desktop).empty()) targets.push_back(CheckTarget(context, row, desktop, false));
  if (!title.empty()) targets.push_back(CheckTarget(context, row, context.paths.ProfilesRoot() + title, true));

  // A desktop outside the profiles folder is named in full: that whole folder goes.
  std::string shown;
  const auto profiles = CanonicalPath(context.paths.ProfilesRoot(), "");
  if (!targets.empty() && !targets[0].folder.empty() && !(profiles && PathWithin(targets[0].folder, *profiles)))
    shown = "\n将删除文件夹及其中的全部内容：" + targets[0].folder;
  if (ops.ShowMessage("您确认删除桌面信息吗？删除后将无法进行恢复！" + title + shown, Buttons::OkCancel) != kOk) return;
  if (ops.ShowMessage("最后一次确认啦！~你真的真的要删除吗？删除后将无法进行恢复！" + title + shown,
                      Buttons::OkCancel) != kOk)
    return;

  std::string left;
  for (const Target& target : targets) {
    const std::string line = target.folder.empty() ? target.refusal : Outcome(ops, target.folder);
    if (!line.empty()) left += "\n" + line;
  }
  rows.DeleteRow(row);
  const bool saved = SaveCatalogue(context);
  // One message, in the order things happened: the row went, these folders stayed.
  std::string text =
      left.empty() ? "桌面已经被删除！" : "桌面已经从列表中删除，但以下文件夹没有完全删除，剩余的内容仍在原处：" + left;
  if (!saved) text += "\n桌面列表文件无法保存，删除只在本次运行期间生效。";
  ops.ShowMessage(text, Buttons::Ok);
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
