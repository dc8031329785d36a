// Ending and restarting the shell (every process named exactly "explorer.exe").
#pragma once

#include <vector>

#include "platform/platform_ops.h"

namespace velkor {

inline constexpr char kShellProcessName[] = "explorer.exe";

// Ends every process of the snapshot named exactly "explorer.exe" (case counts) that
// runs in this session, in snapshot order, without waiting; one that cannot be ended
// is passed over.
void EndShell(PlatformOps& ops, const std::vector<ProcessEntry>& snapshot);

// Ends the running shell, then starts the Windows folder's "explorer.exe" through the
// shell at once.
void ShellRestart(PlatformOps& ops);

}  // namespace velkor
