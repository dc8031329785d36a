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

// A catalogue that could not be loaded is never overwritten: it is renamed to a free
// name beside itself, or, when even that fails, left where it is with saving off.
bool KeepUnloadableAside(PlatformOps& ops, const std::string& file, LoadOutcome outcome) {
  if (outcome == LoadOutcome::Loaded) return true;
  const std::string why = outcome == LoadOutcome::TooLarge
                              ? "桌面列表文件过大（超过 1 MB 或 10000 个桌面），没有载入。"
                              : "桌面列表文件无法读取（可能正被其他程序占用，或没有读取权限）。";
  for (int n = 1; n <= 100; ++n) {
    const std::string aside = file + ".unreadable" + (n > 1 ? std::to_string(n) : std::string());
    if (ops.Exists(aside)) continue;
    if (!ops.MovePath(file, aside)) break;
    ops.ShowMessage(why + "\n原文件已原样保留为：\n" + aside + "\n列表从空白开始。", Buttons::Ok);
    return true;
  }
  ops.ShowMessage(why + "\n为了不覆盖原文件，本次运行中新建或删除桌面都不会保存到桌面列表。", Buttons::Ok);
  return false;
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

bool StartupFill(RowList& list, const std::string& catalogueFile, PlatformOps& ops) {
  const DesktopsInUse inUse = ReadDesktopsInUse(ops);
  const bool writable =
      !ops.Exists(catalogueFile) || KeepUnloadableAside(ops, catalogueFile, LoadCatalogue(list, catalogueFile, ops));
  for (int r = 0; r < list.RowCount(); ++r) {
    MeasureRow(list, r, ops);
    list.SetCell(r, kColState, StateOf(list, r, inUse));
  }
  return writable;
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
