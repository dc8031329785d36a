// What a profile folder holds: the Desktop folder with the shortcut to the program,
// and the optional folders of the shell-folder table.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace velkor {

inline constexpr char kDesktopFolder[] = "\\Desktop";
inline constexpr char kShortcutName[] = "\\WinowsVelkor.lnk";

struct ShellFolder {
  const char* profileFolder;  // appended to the profile's base folder; "" for the desktop itself
  const char* valueName;
};

// In the order switching goes through it; the Desktop comes first. Creation makes
// the folders of rows 1 to 8 in this order too.
// clang-format off
inline constexpr std::array<ShellFolder, 9> kShellFolderTable = {{
    {"", "Desktop"},
    {"\\Cookies", "Cookies"},
    {"\\Personal", "Personal"},
    {"\\Favorites", "Favorites"},
    {"\\History", "History"},
    {"\\Temporary Internet Files", "Cache"},
    {"\\Startup", "Startup"},
    {"\\Local AppData", "Local AppData"},
    {"\\AppData", "AppData"},
}};
// clang-format on

// Why `title` cannot name a profile folder, or nothing when it can: one folder name,
// no characters Windows forbids in names, not "." or "..", no trailing dot or space,
// no device name.
std::optional<std::string> TitleProblem(const std::string& title);
// Why `path` cannot be a custom desktop path, or nothing.
std::optional<std::string> CustomPathProblem(const std::string& path);

}  // namespace velkor
