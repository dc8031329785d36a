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
};

}  // namespace velkor
