// Writing the system's default shell folders of a named account back.
#pragma once

#include <string>

#include "catalogue/program_paths.h"
#include "catalogue/row_list.h"
#include "platform/platform_ops.h"
#include "switching/shell_folders.h"

namespace velkor {

inline constexpr char kAskRestore[] = "您确定还原成为系统原来的桌面路径吗？";
inline constexpr char kRestoreDone[] = "恢复完毕！！";

// The restore window's title for that system.
std::string RestoreWindowTitle(OsGeneration generation);

// The writes of a restore for account `name`, taken as typed: the Win7 defaults, then
// on XP four XP defaults. `exists` decides the Personal folder of User Shell Folders.
RegWritePlan RestorePlan(const std::string& name, OsGeneration generation, const FolderTest& exists);

// Asks, keeps the user's own values unless a backup exists, ends the shell, writes the
// defaults, reports and refreshes the list.
void RestoreOriginalFolders(PlatformOps& ops, RowList& rows, const std::string& name, const AppPaths& paths);

}  // namespace velkor
