#include "switching/switching.h"

#include <span>
#include <vector>

#include "catalogue/catalogue_view.h"
#include "catalogue/profile_layout.h"
#include "switching/shell_restart.h"

namespace velkor {
namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Where the further folders of a profile are looked for, in order. Creation makes
// them in the profile root, beside the desktop folder (the desktop path without its
// final "\Desktop"); a profile on a custom path has no root of its own, so the desktop
// folder itself is searched next. The first place where the folder exists wins.
std::vector<std::string> BaseFolders(const std::string& desktopPath) {
  std::string desktop = desktopPath;
  if (!desktop.empty() && desktop.back() == '\\') desktop.pop_back();
  std::vector<std::string> bases;
  if (EndsWith(desktop, kDesktopFolder))
    bases.push_back(desktop.substr(0, desktop.size() - (sizeof(kDesktopFolder) - 1)));
  bases.push_back(desktop);
  return bases;
}

}  // namespace

RegWritePlan SwitchPlan(const std::string& desktopPath, const FolderTest& exists) {
  RegWritePlan plan;
  auto writeBoth = [&plan](const char* valueName, const std::string& value) {
    plan.push_back({ShellFoldersValue(valueName), value});
    plan.push_back({UserShellFoldersValue(valueName), value});
  };
  writeBoth(kShellFolderTable[0].valueName, desktopPath);
  const std::vector<std::string> bases = BaseFolders(desktopPath);
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
  EndShell(ops, snapshot);
  for (int r = 0; r < rows.RowCount(); ++r) rows.SetCell(r, kColState, kStateIdle);
  rows.SetCell(selected, kColState, kStateRunning);
  ApplyRegWrites(ops, SwitchPlan(path, FolderTestOf(ops)));
  rows.SetCell(selected, kColSize, SizeText(ops.FolderSize(path)));
  // The Desktop value is what the next shell shows: a write that did not take is an error.
  rows.SetCell(selected, kColState, DesktopInUse(ops) == path ? kStateRunning : kStateLoadError);
}

void SwitchOnDoubleClick(RowList& rows, PlatformOps& ops, const std::string& runDir) {
  if (rows.Cell(rows.Selected(), kColState) == kStateRunning && ops.ShowMessage(kAskReload, Buttons::OkCancel) != kOk)
    return;
  SwitchToProfile(rows, ops, runDir);
}

}  // namespace velkor
