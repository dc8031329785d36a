// Registry writes of the shell folders that switching and the restore rewrite,
// planned as data: portable code builds the ordered list, one step applies it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalogue/profile_layout.h"
#include "platform/platform_ops.h"

namespace velkor {

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
