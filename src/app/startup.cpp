#include "app/startup.h"

namespace velkor {

AppPaths AppPaths::FromExecutable(const std::string& exePath) {
  const size_t slash = exePath.rfind('\\');
  if (slash == std::string::npos) return {"", exePath};
  return {exePath.substr(0, slash), exePath.substr(slash + 1)};
}

OsGeneration OsGenerationOf(const OsVersion& version) {
  if (!version.nt) return OsGeneration::Other;
  if (version.major == 5 && version.minor == 1) return OsGeneration::XP;
  if (version.major == 6 && version.minor == 1) return OsGeneration::Win7;
  return OsGeneration::Other;
}

std::string MainWindowTitle(OsGeneration generation) {
  switch (generation) {
    case OsGeneration::XP: return "Windows多Velkor[XP]";
    case OsGeneration::Win7: return "Windows多Velkor[Win7]";
    case OsGeneration::Other: break;
  }
  return kProgramTitle;
}

bool FolderExists(PlatformOps& ops, const std::string& path) {
  // UTF-8 never has 0x5C inside a multi-byte character, so the last byte is safe to test.
  if (!path.empty() && path.back() == '\\') return ops.Exists(path.substr(0, path.size() - 1));
  return ops.Exists(path);
}

void EnsureConfigFolders(PlatformOps& ops, const AppPaths& paths) {
  if (FolderExists(ops, paths.ConfigRoot())) return;
  ops.MakeDirectory(paths.runDir + "\\软件配置\\");
  ops.MakeDirectory(paths.runDir + "\\软件配置\\桌面配置");
}

}  // namespace velkor
