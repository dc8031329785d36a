#include "catalogue/catalogue_view.h"

#include "catalogue/catalogue_file.h"

namespace velkor {
namespace {

void MeasureRow(RowList& list, int row, PlatformOps& ops) {
  list.SetCell(row, kColSize, SizeText(ops.FolderSize(list.Cell(row, kColPath))));
}

const char* StateOf(const RowList& list, int row, const DesktopsInUse& inUse) {
  return RunningStateOf(list.Cell(row, kColPath), inUse);
}

}  // namespace

std::string SizeText(uint64_t bytes) { return std::to_string(bytes / 1048576) + " MB"; }

std::string DesktopInUse(PlatformOps& ops) {
  return ops.ReadRegText(RegRoot::CurrentUser, std::string(kShellFoldersKey) + "\\Desktop");
}

DesktopsInUse ReadDesktopsInUse(PlatformOps& ops) {
  return {DesktopInUse(ops), ops.ReadRegText(RegRoot::CurrentUser, std::string(kUserShellFoldersKey) + "\\Desktop")};
}

// Byte-for-byte: case and a trailing backslash on one side make the paths differ.
const char* RunningStateOf(const std::string& desktopPath, const DesktopsInUse& inUse) {
  return desktopPath == inUse.shellFolders && desktopPath == inUse.userShellFolders ? kStateRunning : kStateIdle;
}

void StartupFill(RowList& list, const std::string& catalogueFile, PlatformOps& ops) {
  const DesktopsInUse inUse = ReadDesktopsInUse(ops);
  if (ops.Exists(catalogueFile)) LoadCatalogue(list, catalogueFile, ops);
  for (int r = 0; r < list.RowCount(); ++r) {
    MeasureRow(list, r, ops);
    list.SetCell(r, kColState, StateOf(list, r, inUse));
  }
}

void RunningStateRefresh(RowList& list, PlatformOps& ops) {
  const DesktopsInUse inUse = ReadDesktopsInUse(ops);
  for (int r = 0; r < list.RowCount(); ++r) {
    // The first row keeps its size: only its state is refreshed here.
    if (r > 0) MeasureRow(list, r, ops);
    list.SetCell(r, kColState, StateOf(list, r, inUse));
  }
}

void RefreshDisplay(RowList& list, PlatformOps& ops) {
  for (int r = 0; r < list.RowCount(); ++r) MeasureRow(list, r, ops);
  RunningStateRefresh(list, ops);
}

}  // namespace velkor
