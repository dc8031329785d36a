// Switching to the selected profile: the shell is ended and the user's shell folders
// are pointed into the profile.
#pragma once

#include <string>

#include "catalogue/row_list.h"
#include "platform/platform_ops.h"
#include "switching/shell_folders.h"

namespace velkor {

inline constexpr char kAskReload[] = "桌面已经在运行中了，是否重新载入？";
inline constexpr char kProfileMissing[] = "桌面配置损坏或者丢失！点击确定立即查看软件根目录.";

// The writes of a switch to the desktop folder `desktopPath`: Desktop in both keys,
// then each further shell folder the profile has, in table order. `profilesRoot` is
// the profiles folder: only profiles directly inside it have a root beside their desktop.
RegWritePlan SwitchPlan(const std::string& desktopPath, const std::string& profilesRoot, const FolderTest& exists);

// Switches to the selected row. A missing desktop folder is reported and the run
// directory opened; nothing else changes then. The user's own values are kept before
// the first change, and the values are written as one step: a refused write puts back
// what was written, starts the shell again and says which value was refused.
void SwitchToProfile(RowList& rows, PlatformOps& ops, const std::string& runDir);

// The list's double click: asks first when the selected row is the desktop in use.
void SwitchOnDoubleClick(RowList& rows, PlatformOps& ops, const std::string& runDir);

}  // namespace velkor
