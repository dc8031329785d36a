#include "catalogue/program_paths.h"

namespace velkor {

AppPaths AppPaths::FromExecutable(const std::string& exePath) {
  const size_t slash = exePath.rfind('\\');
  if (slash == std::string::npos) return {"", exePath};
  return {exePath.substr(0, slash), exePath.substr(slash + 1)};
}

void EnsureConfigFolders(PlatformOps& ops, const AppPaths& paths) {
  if (FolderExists(ops, paths.ConfigRoot())) return;
  ops.MakeDirectory(paths.runDir + "\\软件配置\\");
  ops.MakeDirectory(paths.runDir + "\\软件配置\\桌面配置");
}

}  // namespace velkor
