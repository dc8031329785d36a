// Where the program keeps its data: the configuration folder beside the executable,
// the profiles folder inside it and the catalogue file.
#pragma once

#include <string>

#include "platform/platform_ops.h"

namespace velkor {

struct AppPaths {
  std::string runDir;   // folder of the executable, no trailing backslash ("C:" at a drive root)
  std::string exeName;  // file name of the executable

  static AppPaths FromExecutable(const std::string& exePath);
  std::string ExecutablePath() const { return runDir + "\\" + exeName; }
  std::string ConfigRoot() const { return runDir + "\\软件配置\\"; }
  std::string ProfilesRoot() const { return runDir + "\\软件配置\\桌面配置\\"; }
  std::string CatalogueFile() const { return ConfigRoot() + "桌面列表.dat"; }
};

// Makes the configuration folder and the profiles folder inside it, each when missing.
void EnsureConfigFolders(PlatformOps& ops, const AppPaths& paths);

}  // namespace velkor
