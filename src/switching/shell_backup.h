// The way back: the user's own shell-folder values, kept exactly (name, type, bytes)
// before the program changes any of them, in a file in the configuration folder and a
// second copy under the program's own key.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/row_list.h"
#include "platform/platform_ops.h"
#include "switching/shell_folders.h"

namespace velkor {

inline constexpr char kBackupFileName[] = "切换前的文件夹.dat";
inline constexpr char kProgramKey[] = "Software\\Windows多Velkor";
inline constexpr char kBackupValueName[] = "ShellFoldersBackup";
inline constexpr char kExactRestoreCaption[] = "还原到切换前的文件夹";

inline constexpr char kAskExactRestore[] =
    "您确定把桌面、我的文档等文件夹还原到第一次切换前的样子吗？\n（将结束并重新启动桌面）";
inline constexpr char kNoBackup[] = "没有找到可用的切换前文件夹备份，没有做任何修改。";
inline constexpr char kBackupFileDamaged[] = "切换前文件夹的备份文件已损坏或不完整，已改用注册表中保存的备份副本。";

struct KeyValues {
  std::string key;
  std::vector<RegValue> values;
  bool operator==(const KeyValues&) const = default;
};
// Shell Folders, then User Shell Folders.
using ShellFolderSnapshot = std::vector<KeyValues>;

std::string EncodeBackup(const ShellFolderSnapshot& snapshot);
// Nothing for bytes that are not one whole, intact backup.
std::optional<ShellFolderSnapshot> DecodeBackup(const std::string& bytes);

// Every value of both keys as it is now; nothing when a key cannot be read.
std::optional<ShellFolderSnapshot> ReadShellFolders(PlatformOps& ops);

struct LoadedBackup {
  std::optional<ShellFolderSnapshot> snapshot;
  bool fileDamaged = false;  // a file exists but is not a whole backup
};
// The file when it is intact, else the registry copy.
LoadedBackup LoadBackup(PlatformOps& ops, const std::string& configRoot);
bool BackupAvailable(PlatformOps& ops, const std::string& configRoot);

// Before the first change of the shell folders: keeps the user's values unless a
// backup exists, warns about a synced Desktop or Documents folder, and says so when
// the values already point into a profile. False when the switch must not go on.
bool KeepTheWayBack(PlatformOps& ops, const std::string& configRoot, const std::string& profilesRoot);

// The folders of sync clients the user has: OneDrive's folders from its own key and
// from the user's environment.
std::vector<std::string> SyncFolders(PlatformOps& ops);

// The changes that bring the keys from `current` back to `backup`: values that differ
// are written with their own type and bytes, shell-folder values that did not exist
// are removed; everything else is left alone.
RegChangePlan ExactRestorePlan(const ShellFolderSnapshot& backup, const ShellFolderSnapshot& current);

// "还原到切换前的文件夹": asks, ends the shell, writes the backup back as one step,
// starts the shell again, reports and refreshes the list.
void RestoreFromBackup(PlatformOps& ops, RowList& rows, const std::string& configRoot);

}  // namespace velkor
