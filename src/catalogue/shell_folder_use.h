// Whether the shell folders still name a profile's folders: a profile is in use while
// any value of either shell-folder key points into it, whatever its list cell says.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue_context.h"

namespace velkor {

// Whether `path` is `folder` itself or lies inside it, both compared in canonical form
// (paths.h); a path that names no folder for certain is inside nothing.
bool PathIsOrIsInside(const std::string& path, const std::string& folder);

struct ShellFolderUse {
  std::string value;  // key path, backslash, value name
  std::string path;   // what the value holds
};

// The first value of Shell Folders, then of User Shell Folders, that names one of
// `folders` or a folder inside one of them.
std::optional<ShellFolderUse> ShellFolderNaming(PlatformOps& ops, const std::vector<std::string>& folders);

// Why the profile of `row` cannot be deleted now, or nothing: the value that still
// names its desktop folder or profile root, and how to get the user's folders back.
std::optional<std::string> ProfileInUseProblem(CatalogueContext& context, int row);

}  // namespace velkor
