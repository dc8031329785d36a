#include "switching/shell_folders.h"

#include "catalogue/catalogue_view.h"

namespace velkor {

std::string ShellFoldersValue(const std::string& valueName) { return std::string(kShellFoldersKey) + "\\" + valueName; }

std::string UserShellFoldersValue(const std::string& valueName) {
  return std::string(kUserShellFoldersKey) + "\\" + valueName;
}

FolderTest FolderTestOf(PlatformOps& ops) {
  return [&ops](const std::string& path) { return FolderExists(ops, path); };
}

void ApplyRegWrites(PlatformOps& ops, const RegWritePlan& plan) {
  for (const RegWrite& write : plan) ops.WriteRegText(RegRoot::CurrentUser, write.path, write.value);
}

}  // namespace velkor
