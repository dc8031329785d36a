#include "switching/shell_folders.h"

#include "catalogue/catalogue_view.h"

namespace velkor {

std::string ShellFoldersValue(const std::string& valueName) { return std::string(kShellFoldersKey) + "\\" + valueName; }

std::string UserShellFoldersValue(const std::string& valueName) {
  return std::string(kUserShellFoldersKey) + "\\" + valueName;
}

void ApplyRegWrites(PlatformOps& ops, const RegWritePlan& plan) {
  for (const RegWrite& write : plan) ops.WriteRegText(RegRoot::CurrentUser, write.path, write.value);
}

}  // namespace velkor
