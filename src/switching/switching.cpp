#include "switching/switching.h"

#include <span>
#include <vector>

#include "catalogue/catalogue_view.h"
#include "catalogue/profile_layout.h"
#include "catalogue/program_paths.h"
#include "catalogue/shell_folder_use.h"
#include "switching/shell_backup.h"
#include "switching/shell_restart.h"

namespace velkor {
namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Where the further folders of a profile are looked for, in order. Creation makes
// them in the profile root, beside the desktop folder (the desktop path without its
// final "\Desktop"); only a profile directly inside the profiles folder has such a
// root. A custom path has none, even when it ends in "\Desktop" (the user's own
// desktop has the user's real AppData beside it), so its desktop folder itself is
// searched. The first place where the folder exists wins.
std::vector<std::string> BaseFolders(const std::string& desktopPath, const std::string& profilesRoot) {
  std::string desktop = desktopPath;
  if (!desktop.empty() && desktop.back() == '\\') desktop.pop_back();
  std::vector<std::string> bases;
  if (EndsWith(desktop, kDesktopFolder)) {
    const std::string root = desktop.substr(0, desktop.size() - (sizeof(kDesktopFolder) - 1));
    const size_t slash = root.rfind('\\');
    const std::string parent = slash == std::string::npos ? std::string() : root.substr(0, slash);
    if (slash + 1 < root.size() && PathIsOrIsInside(parent, profilesRoot) && PathIsOrIsInside(profilesRoot, parent))
      bases.push_back(root);
  }
  bases.push_back(desktop);
  return bases;
}

// Marks the rows after a refused switch, which was put back: the switched row did not
// load, the others follow the registry again.
void MarkRefused(RowList& rows, int selected, PlatformOps& ops) {
  const DesktopsInUse inUse = ReadDesktopsInUse(ops);
  for (int r = 0; r < rows.RowCount(); ++r) rows.SetCell(r, kColState, RunningStateOf(rows.Cell(r, kColPath), inUse));
  rows.SetCell(selected, kColState, kStateLoadError);
}

}  // namespace

RegWritePlan SwitchPlan(const std::string& desktopPath, const std::string& profilesRoot, const FolderTest& exists) {
  RegWritePlan plan;
  auto writeBoth = [&plan](const char* valueName, const std::string& value) {
    plan.push_back({ShellFoldersValue(valueName), value});
    plan.push_back({UserShellFoldersValue(valueName), value});
  };
  writeBoth(kShellFolderTable[0].valueName, desktopPath);
  const std::vector<std::string> bases = BaseFolders(desktopPath, profilesRoot);
  for (const ShellFolder& folder : std::span(kShellFolderTable).subspan(1)) {
    for (const std::string& base : bases) {
      const std::string path = base + folder.profileFolder;
      if (exists(path)) {
        writeBoth(folder.valueName, path);
        break;
      }
    }
  }
  return plan;
}

void SwitchToProfile(RowList& rows, PlatformOps& ops, const std::string& runDir) {
  const std::vector<ProcessEntry> snapshot = ops.ProcessList();
  const int selected = rows.Selected();
  const std::string path = rows.Cell(selected, kColPath);
  if (path.empty()) return;
  if (!FolderExists(ops, path)) {
    ops.ShowMessage(kProfileMissing, Buttons::Ok);
    ops.ShellOpen("open", runDir);
    return;
  }
  const AppPaths paths{runDir, ""};
  if (!KeepTheWayBack(ops, paths.ConfigRoot(), paths.ProfilesRoot())) return;
  EndShell(ops, snapshot);
  for (int r = 0; r < rows.RowCount(); ++r) rows.SetCell(r, kColState, kStateIdle);
  rows.SetCell(selected, kColState, kStateRunning);
  const RegStepResult step = ApplyRegStep(ops, SwitchPlan(path, paths.ProfilesRoot(), FolderTestOf(ops)));
  rows.SetCell(selected, kColSize, SizeText(ops.FolderSize(path)));
  if (!step.ok) {
    // Never a half switch: the values are back as they were, so the shell may come back too.
    ShellRestart(ops);
    MarkRefused(rows, selected, ops);
    ops.ShowMessage(StepRefusedText("切换", step), Buttons::Ok);
    return;
  }
  // Both Desktop values are what the next shell reads: one that did not take is an error.
  rows.SetCell(
      selected, kColState,
      RunningStateOf(path, ReadDesktopsInUse(ops)) == std::string(kStateRunning) ? kStateRunning : kStateLoadError);
}

void SwitchOnDoubleClick(RowList& rows, PlatformOps& ops, const std::string& runDir) {
  if (rows.Cell(rows.Selected(), kColState) == kStateRunning && ops.ShowMessage(kAskReload, Buttons::OkCancel) != kOk)
    return;
  SwitchToProfile(rows, ops, runDir);
}

}  // namespace velkor
