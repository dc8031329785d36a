#include "switching/restore.h"

#include "catalogue/catalogue_view.h"
#include "switching/shell_backup.h"
#include "switching/shell_restart.h"

namespace velkor {

std::string RestoreWindowTitle(OsGeneration generation) {
  switch (generation) {
    case OsGeneration::XP: return "还原到系统原来的桌面[WinXP]";
    case OsGeneration::Win7: return "还原到系统原来的桌面[Win7]";
    case OsGeneration::Other: break;
  }
  return "还原到系统原来的桌面";
}

RegWritePlan RestorePlan(const std::string& name, OsGeneration generation, const FolderTest& exists) {
  const std::string users = "C:\\Users\\" + name;
  const std::string roaming = users + "\\AppData\\Roaming";
  // The lower-case "settings" of this one test is kept: it names the same folder on
  // Windows, and the value written is exactly the text tested.
  const std::string xpDocuments = "C:\\Documents and settings\\" + name + "\\My Documents";
  RegWritePlan plan = {
      {ShellFoldersValue("Desktop"), users + "\\Desktop"},
      {UserShellFoldersValue("Desktop"), users + "\\Desktop"},
      {ShellFoldersValue("AppData"), roaming},
      {UserShellFoldersValue("AppData"), roaming},
      {ShellFoldersValue("Cookies"), roaming + "\\Microsoft\\Windows\\Cookies"},
      {UserShellFoldersValue("Cookies"), roaming + "\\Microsoft\\Windows\\Cookies"},
      {UserShellFoldersValue("Personal"), exists(xpDocuments) ? xpDocuments : "D:\\My Documents\\"},
      {ShellFoldersValue("Startup"), roaming + "\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
      {UserShellFoldersValue("Startup"), roaming + "\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
      {ShellFoldersValue("History"), users + "\\AppData\\Local\\Microsoft\\Windows\\History"},
      {UserShellFoldersValue("History"), users + "\\AppData\\Local\\Microsoft\\Windows\\History"},
  };
  if (generation == OsGeneration::XP) {
    const std::string xp = "C:\\Documents and Settings\\" + name;
    plan.push_back({ShellFoldersValue("Desktop"), xp + "\\桌面"});
    plan.push_back({UserShellFoldersValue("Desktop"), xp + "\\桌面"});
    plan.push_back({ShellFoldersValue("Personal"), xp + "\\My Documents"});
    plan.push_back({ShellFoldersValue("Startup"), xp + "\\「开始」菜单\\程序\\启动"});
  }
  return plan;
}

void RestoreOriginalFolders(PlatformOps& ops, RowList& rows, const std::string& name, const AppPaths& paths) {
  if (ops.ShowMessage(kAskRestore, Buttons::OkCancel) != kOk) return;
  // These fixed texts replace the user's own values too: they are kept first.
  if (!KeepTheWayBack(ops, paths.ConfigRoot(), paths.ProfilesRoot())) return;
  const OsGeneration generation = OsGenerationOf(ops.Version());
  EndShell(ops, ops.ProcessList());
  ApplyRegWrites(ops, RestorePlan(name, generation, FolderTestOf(ops)));
  ops.ShowMessage(kRestoreDone, Buttons::Ok);
  RunningStateRefresh(rows, ops);
}

}  // namespace velkor
