// Paths in one canonical form: full, absolute, separators collapsed, "." and ".."
// resolved, the drive letter upper case, no trailing backslash but at a root
// ("D:\", "\\server\share\"). Every check that compares or guards paths uses it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velkor {

// "X:\..." or "\\server\share\..." (either slash): a path that does not depend on a
// current directory.
bool IsAbsolutePath(std::string_view path);

// The canonical form of `path`, relative spellings resolved against `currentDir`
// (itself absolute). Nothing for what cannot name a folder for certain: an empty
// text, device names (CON, NUL, ...), "\\?\" and "\\.\" names, characters names cannot
// hold, or a folder name with a trailing dot or space before the last one. The last
// name loses trailing dots and spaces, as Windows drops them.
std::optional<std::string> CanonicalPath(std::string_view path, std::string_view currentDir);

// True for "X:\" and "\\server\share\".
bool IsRootPath(std::string_view canonical);
// The folder holding `canonical`; the root itself for a root.
std::string ParentPath(std::string_view canonical);
// Canonical paths compared as the file system compares names: ignoring case over Unicode.
bool SamePath(std::string_view a, std::string_view b);
// `inner` is `outer` or lies below it (canonical paths).
bool PathWithin(std::string_view inner, std::string_view outer);
// The name the system takes literally, without its own trimming of dots and spaces:
// "\\?\X:\..." or "\\?\UNC\server\share\...".
std::string ExtendedLengthPath(std::string_view canonical);

}  // namespace velkor
