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

// One typed change under HKEY_CURRENT_USER: the value written with its own type and
// bytes, or removed.
struct RegChange {
  std::string key;
  RegValue value;  // only the name counts for a removal
  bool remove = false;
  bool operator==(const RegChange&) const = default;
};
using RegChangePlan = std::vector<RegChange>;

// What a step did: all of its changes, or none.
struct RegStepResult {
  bool ok = true;
  std::string refused;                  // key path, backslash, value name of the refused change
  std::vector<std::string> notPutBack;  // values the roll-back itself could not restore
};

// Makes the changes as one step: the keys are read first; when a change is refused,
// every value changed so far is put back exactly (type and bytes, or removed when it
// did not exist) and nothing after it is made. A key that cannot be read refuses the
// step before anything is changed.
RegStepResult ApplyRegStep(PlatformOps& ops, const RegChangePlan& plan);
// The same for text writes (REG_SZ), as switching plans them.
RegStepResult ApplyRegStep(PlatformOps& ops, const RegWritePlan& plan);

// Tells the user that a step was refused and put back.
std::string StepRefusedText(const std::string& what, const RegStepResult& result);

}  // namespace velkor
