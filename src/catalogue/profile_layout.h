// What a profile folder holds: the Desktop folder with the shortcut to the program,
// and the optional folders of the shell-folder table (switching/shell_folders.h).
#pragma once

#include <optional>
#include <string>

namespace velkor {

inline constexpr char kDesktopFolder[] = "\\Desktop";
inline constexpr char kShortcutName[] = "\\WinowsVelkor.lnk";

// Why `title` cannot name a profile folder, or nothing when it can: one folder name,
// no characters Windows forbids in names, not "." or "..", no trailing dot or space,
// no device name.
std::optional<std::string> TitleProblem(const std::string& title);
// Why `path` cannot be a custom desktop path, or nothing.
std::optional<std::string> CustomPathProblem(const std::string& path);

}  // namespace velkor
