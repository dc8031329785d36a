// The one rule for where deletion, creation and classification may act: never a drive
// or share root, the Windows or system folders, the user's profile folder or anything
// above it, the program's folder or anything above it, the profiles folder itself, or
// a folder that holds the catalogue.
#pragma once

#include <string>

#include "catalogue/program_paths.h"
#include "platform/platform_ops.h"

namespace velkor {

struct PlaceCheck {
  std::string canonical;  // the folder the path names; empty when it names none for certain
  std::string problem;    // why the folder may not be used; empty when it may
  bool Allowed() const { return problem.empty(); }
};

// Checks a path as typed or stored. Only absolute paths ("X:\..." or
// "\\server\share\...") are taken: a relative one would depend on the current folder.
PlaceCheck CheckPlace(PlatformOps& ops, const AppPaths& paths, const std::string& path);

}  // namespace velkor
