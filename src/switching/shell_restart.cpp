#include "switching/shell_restart.h"

namespace velkor {

void EndShell(PlatformOps& ops, const std::vector<ProcessEntry>& snapshot) {
  for (const ProcessEntry& process : snapshot)
    if (process.exeName == kShellProcessName && process.ownSession) ops.EndProcess(process.id);
}

void ShellRestart(PlatformOps& ops) {
  EndShell(ops, ops.ProcessList());
  ops.ShellOpen("open", ShellProgramPath(ops));
}

}  // namespace velkor
