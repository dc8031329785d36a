// The computed cells of the main list: sizes and running state.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/row_list.h"
#include "platform/platform_ops.h"

namespace velkor {

inline constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr char kUserShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Whole mebibytes followed by " MB".
std::string SizeText(uint64_t bytes);

// The Desktop value of Shell Folders: the desktop the shell shows.
std::string DesktopInUse(PlatformOps& ops);

// The Desktop values of both keys. A profile runs only when both name its desktop:
// one key alone is a half switch.
struct DesktopsInUse {
  std::string shellFolders, userShellFolders;
};
DesktopsInUse ReadDesktopsInUse(PlatformOps& ops);
// "运行中" when both values equal `desktopPath` byte for byte, else "-".
const char* RunningStateOf(const std::string& desktopPath, const DesktopsInUse& inUse);

// Loads the catalogue file (when it exists) and measures every row. A file that cannot
// be loaded is put aside and the user told; false when it had to stay in place, so
// that it must not be saved over.
bool StartupFill(RowList& list, const std::string& catalogueFile, PlatformOps& ops);
// Marks the row in use; measures every row but the first again.
void RunningStateRefresh(RowList& list, PlatformOps& ops);
// Measures every row, then runs RunningStateRefresh.
void RefreshDisplay(RowList& list, PlatformOps& ops);

}  // namespace velkor
