// What a profile folder holds: the Desktop folder with the shortcut to the program,
// and the optional folders that switching redirects the shell folders to.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace velkor {

inline constexpr char kDesktopFolder[] = "\\Desktop";
inline constexpr char kShortcutName[] = "\\WinowsVelkor.lnk";

// The optional folders in the order they are made, with the shell-folder value each
// one stands for.
struct OptionalFolder {
  const char* folder;     // below the profile root
  const char* valueName;  // in Shell Folders and User Shell Folders
};
inline constexpr std::array<OptionalFolder, 8> kOptionalFolders = {{
    {"\\Cookies", "Cookies"},
    {"\\Personal", "Personal"},
    {"\\Favorites", "Favorites"},
    {"\\History", "History"},
    {"\\Temporary Internet Files", "Cache"},
    {"\\Startup", "Startup"},
    {"\\Local AppData", "Local AppData"},
    {"\\AppData", "AppData"},
}};

// Why `title` cannot name a profile folder, or nothing when it can: one folder name,
// no characters Windows forbids in names, not "." or "..", no trailing dot or space,
// no device name.
std::optional<std::string> TitleProblem(const std::string& title);
// Why `path` cannot be a custom desktop path, or nothing.
std::optional<std::string> CustomPathProblem(const std::string& path);

}  // namespace velkor
