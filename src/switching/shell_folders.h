// The shell folders that switching and the restore rewrite, and registry writes
// planned as data: portable code builds the ordered list, one step applies it.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform_ops.h"

namespace velkor {

struct ShellFolder {
  const char* profileFolder;  // appended to the profile's base folder; "" for the desktop itself
  const char* valueName;
};

// In the order switching goes through it; the Desktop comes first. Creation makes
// the folders of rows 1 to 8 in this order too.
// clang-format off
inline constexpr std::array<ShellFolder, 9> kShellFolderTable = {{
    {"", "Desktop"},
    {"\\Cookies", "Cookies"},
    {"\\Personal", "Personal"},
    {"\\Favorites", "Favorites"},
    {"\\History", "History"},
    {"\\Temporary Internet Files", "Cache"},
    {"\\Startup", "Startup"},
    {"\\Local AppData", "Local AppData"},
    {"\\AppData", "AppData"},
}};
// clang-format on

// One text value under HKEY_CURRENT_USER; `path` is key path, backslash, value name.
struct RegWrite {
  std::string path;
  std::string value;
  bool operator==(const RegWrite&) const = default;
};
using RegWritePlan = std::vector<RegWrite>;

// Answers whether anything of that name exists.
using FolderTest = std::function<bool(const std::string&)>;
// FolderExists on the system.
FolderTest FolderTestOf(PlatformOps& ops);

std::string ShellFoldersValue(const std::string& valueName);
std::string UserShellFoldersValue(const std::string& valueName);

// Makes every write in order; a refused write is passed over and the next one made.
void ApplyRegWrites(PlatformOps& ops, const RegWritePlan& plan);

}  // namespace velkor
