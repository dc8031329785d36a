#include "tools/classification.h"

#include "catalogue/protected_places.h"

namespace velkor {

std::string NumberedName(const std::string& name, int n) {
  const size_t dot = name.rfind('.');
  const std::string suffix = " (" + std::to_string(n) + ")";
  return dot == std::string::npos || dot == 0 ? name + suffix : name.substr(0, dot) + suffix + name.substr(dot);
}

MoveCount MoveCategory(PlatformOps& ops, const std::string& desktop, const Category& category) {
  MoveCount count;
  ops.MakeDirectory(desktop + "\\桌面整理");
  const std::string folder = desktop + category.folder;
  for (const char* extension : category.extensions) {
    if (!extension) break;
    // One listing per extension: a file that cannot be moved is passed over instead
    // of being found again and again.
    for (const DirEntry& entry : ops.ListDirectory(desktop + "\\*." + extension)) {
      if (entry.directory) continue;
      ops.MakeDirectory(folder);
      std::string target = folder + "\\" + entry.name;
      for (int n = 2; ops.Exists(target); ++n) target = folder + "\\" + NumberedName(entry.name, n);
      // Moved means gone from the desktop: a copy whose source stayed is no move.
      const std::string source = desktop + "\\" + entry.name;
      if (ops.MovePath(source, target) && !ops.Exists(source))
        ++count.moved;
      else
        ++count.left;
    }
  }
  return count;
}

void ClassifyDesktop(CatalogueContext& context, const std::array<bool, 5>& ticked, DoneMarks& marks) {
  const std::string desktop = context.rows.Cell(context.rows.Selected(), kColPath);
  if (desktop.empty()) {
    context.ops.ShowMessage("尚未选择需要进行分类的桌面！", Buttons::Ok);
    return;
  }
  // Files are moved about inside this folder: never a root, a system folder or the
  // program's own.
  const PlaceCheck place = CheckPlace(context.ops, context.paths, desktop);
  if (!place.Allowed()) {
    context.ops.ShowMessage("这个桌面路径不能整理：" + desktop + "\n它" + place.problem + "。", Buttons::Ok);
    return;
  }
  marks.HideAll();
  int left = 0;
  for (size_t i = 0; i < kCategories.size(); ++i) {
    if (!ticked[i]) continue;
    left += MoveCategory(context.ops, desktop, kCategories[i]).left;
    marks.Show(i);
  }
  context.ops.ShowMessage(
      left == 0 ? std::string("整理完毕！")
                : "整理完毕！\n有 " + std::to_string(left) + " 个文件无法移动（可能正在使用），仍留在原处。",
      Buttons::Ok);
}

}  // namespace velkor
