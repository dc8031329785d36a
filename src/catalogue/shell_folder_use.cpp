#include "catalogue/shell_folder_use.h"

#include "catalogue/catalogue_view.h"
#include "catalogue/profile_layout.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace velkor {

bool PathIsOrIsInside(const std::string& path, const std::string& folder) {
  const std::optional<std::string> p = CanonicalPath(path, ""), f = CanonicalPath(folder, "");
  return p && f && PathWithin(*p, *f);
}

std::optional<ShellFolderUse> ShellFolderNaming(PlatformOps& ops, const std::vector<std::string>& folders) {
  for (const char* key : {kShellFoldersKey, kUserShellFoldersKey}) {
    std::vector<RegValue> values;
    ops.ReadRegValues(RegRoot::CurrentUser, key, values);
    for (const RegValue& value : values) {
      if (value.type != kRegSz && value.type != kRegExpandSz) continue;
      const std::string name = std::string(key) + "\\" + value.name;
      // Read as text too, so that an expandable value is compared as the shell expands it.
      for (const std::string& path : {RegDataText(value.data), ops.ReadRegText(RegRoot::CurrentUser, name)})
        for (const std::string& folder : folders)
          if (PathIsOrIsInside(path, folder)) return ShellFolderUse{name, path};
    }
  }
  return std::nullopt;
}

std::optional<std::string> ProfileInUseProblem(CatalogueContext& context, int row) {
  const std::string title = context.rows.Cell(row, kColTitle);
  std::vector<std::string> folders = {context.rows.Cell(row, kColPath)};
  if (!title.empty() && !TitleProblem(title)) folders.push_back(context.paths.ProfilesRoot() + title);
  const std::optional<ShellFolderUse> use = ShellFolderNaming(context.ops, folders);
  if (!use) return std::nullopt;
  return "桌面[" + title + "]的文件夹仍在被系统使用，现在不能删除：\n" + use->value + " = " + use->path +
         "\n请先切换到其他桌面，或用“程序设定”→“还原到切换前的文件夹”找回您原来的文件夹，然后再删除。";
}

}  // namespace velkor
