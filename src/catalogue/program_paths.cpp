#include "catalogue/program_paths.h"

namespace velkor {

AppPaths AppPaths::FromExecutable(const std::string& exePath) {
  const size_t slash = exePath.rfind('\\');
  if (slash == std::string::npos) return {"", exePath};
  return {exePath.substr(0, slash), exePath.substr(slash + 1)};
}

void EnsureConfigFolders(PlatformOps& ops, const AppPaths& paths) {
  // Each one on its own: a configuration folder without the profiles folder would
  // otherwise refuse every creation for good.
  if (!FolderExists(ops, paths.ConfigRoot())) ops.MakeDirectory(paths.runDir + "\\软件配置\\");
  if (!FolderExists(ops, paths.ProfilesRoot())) ops.MakeDirectory(paths.runDir + "\\软件配置\\桌面配置");
}

}  // namespace velkor
