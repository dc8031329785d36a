#include "platform/platform_ops.h"

namespace velkor {

OsGeneration OsGenerationOf(const OsVersion& version) {
  if (!version.nt) return OsGeneration::Other;
  if (version.major == 5 && version.minor == 1) return OsGeneration::XP;
  if (version.major == 6 && version.minor == 1) return OsGeneration::Win7;
  return OsGeneration::Other;
}

bool FolderExists(PlatformOps& ops, const std::string& path) {
  // UTF-8 never has 0x5C inside a multi-byte character, so the last byte is safe to test.
  if (!path.empty() && path.back() == '\\') return ops.Exists(path.substr(0, path.size() - 1));
  return ops.Exists(path);
}

std::string ShellProgramPath(PlatformOps& ops) { return ops.WindowsFolder() + "\\explorer.exe"; }

}  // namespace velkor
