// What the commands and windows that act on profiles share: the system, the catalogue
// list and the program's folders.
#pragma once

#include "catalogue/program_paths.h"
#include "catalogue/row_list.h"
#include "platform/platform_ops.h"

namespace velkor {

struct CatalogueContext {
  PlatformOps& ops;
  RowList& rows;
  const AppPaths& paths;
  // The catalogue file could not be read at start-up and could not be put aside:
  // saving would overwrite the profiles it holds, so nothing is saved this run.
  bool catalogueFileKept = false;
};

}  // namespace velkor
