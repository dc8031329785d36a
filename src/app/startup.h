// Values fixed at start: where the program lives, which system it runs on, and the
// configuration folders it keeps beside itself.
#pragma once

#include <string>

#include "platform/platform_ops.h"

namespace velkor {

inline constexpr char kProgramTitle[] = "Windows多Velkor1.2";
inline constexpr char kTrayTip[] = "Windows多Velkor";
inline constexpr char kSingleInstanceName[] = "Win7多Velkor";

struct AppPaths {
  std::string runDir;   // folder of the executable, no trailing backslash ("C:" at a drive root)
  std::string exeName;  // file name of the executable

  static AppPaths FromExecutable(const std::string& exePath);
  std::string ExecutablePath() const { return runDir + "\\" + exeName; }
  std::string ConfigRoot() const { return runDir + "\\软件配置\\"; }
  std::string ProfilesRoot() const { return runDir + "\\软件配置\\桌面配置\\"; }
  std::string CatalogueFile() const { return ConfigRoot() + "桌面列表.dat"; }
};

enum class OsGeneration { XP, Win7, Other };
OsGeneration OsGenerationOf(const OsVersion& version);
// The main window's title for that system.
std::string MainWindowTitle(OsGeneration generation);

// Drops one trailing backslash, then asks whether anything of that name exists.
bool FolderExists(PlatformOps& ops, const std::string& path);

// Makes the configuration folder and the profiles folder inside it when the
// configuration folder is missing.
void EnsureConfigFolders(PlatformOps& ops, const AppPaths& paths);

}  // namespace velkor
