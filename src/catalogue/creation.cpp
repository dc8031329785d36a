#include "catalogue/creation.h"

#include <algorithm>

#include "catalogue/catalogue_file.h"
#include "catalogue/profile_layout.h"
#include "catalogue/protected_places.h"
#include "platform/text.h"

namespace velkor {
namespace {

bool Representable(PlatformOps& ops, const std::string& text) {
  std::string ansi;
  return ops.ToAnsi(text, ansi);
}

std::optional<std::string> RequestProblem(CatalogueContext& context, const CreationRequest& request) {
  PlatformOps& ops = context.ops;
  if (auto problem = TitleProblem(request.title)) return problem;
  if (!Representable(ops, request.title)) return "桌面标题含有本系统编码无法保存的字符，请换一个标题。";
  if (request.customPath.empty()) return std::nullopt;
  if (auto problem = CustomPathProblem(request.customPath)) return problem;
  if (!Representable(ops, request.customPath)) return "自定义桌面路径含有本系统编码无法保存的字符。";
  // Deleting the profile later removes this folder: it must be one that may go.
  const PlaceCheck place = CheckPlace(ops, context.paths, request.customPath);
  if (!place.Allowed()) return "自定义桌面路径不能使用：" + request.customPath + "\n它" + place.problem + "。";
  return std::nullopt;
}

}  // namespace

void DuplicateTitleCheck(CatalogueContext& context, std::string& title) {
  const int rows = context.rows.RowCount();
  for (int r = 0; r < rows && !title.empty(); ++r) {
    // Case is ignored as the file system ignores it (Тест and тест share one folder).
    if (ContainsIgnoringNameCase(context.rows.Cell(r, kColTitle), title) &&
        context.ops.ShowReminder("列表中存在重复的名称了,您确定继续创建吗？") != kOk)
      title.clear();
  }
}

CreationResult CreateProfile(CatalogueContext& context, const CreationRequest& request) {
  PlatformOps& ops = context.ops;
  if (request.title.empty()) return CreationResult::Nothing;
  if (auto problem = RequestProblem(context, request)) {
    ops.ShowMessage(*problem, Buttons::Ok);
    return CreationResult::Refused;
  }

  std::string desktop = request.customPath;
  if (desktop.empty()) {
    const std::string root = context.paths.ProfilesRoot() + request.title;
    desktop = root + kDesktopFolder;
    const bool madeRoot = ops.MakeDirectory(root + "\\");
    ops.MakeDirectory(desktop);
    // Without its desktop folder the profile would be an empty promise: say so, add
    // nothing and take back the folder made for it.
    if (!ops.Exists(desktop)) {
      if (madeRoot) ops.RemoveFolder(root);
      ops.ShowMessage("无法创建桌面文件夹：" + desktop, Buttons::Ok);
      return CreationResult::Refused;
    }
    ops.CreateShortcut(desktop + kShortcutName, context.paths.ExecutablePath());
    for (size_t i = 0; i < request.options.size(); ++i)
      if (request.options[i]) ops.MakeDirectory(root + kShellFolderTable[i + 1].profileFolder);
  }

  CatalogueRow row;
  row.cells = {std::to_string(context.rows.RowCount()), request.title, kSizeUnmeasured, desktop, ""};
  context.rows.AppendRow(row);
  const bool saved = SaveCatalogue(context);
  ops.ShowMessage("[" + request.title + "]创建完毕！", Buttons::Ok);
  if (!saved) ops.ShowMessage("桌面列表文件无法保存，新桌面只在本次运行期间显示在列表中。", Buttons::Ok);
  return CreationResult::Created;
}

}  // namespace velkor
