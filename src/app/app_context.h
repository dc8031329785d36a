// What the procedures behind the windows share: the system, the catalogue list and
// the program's folders, plus the state that lives for the whole run.
#pragma once

#include <string>

#include "app/startup.h"
#include "catalogue/row_list.h"
#include "platform/platform_ops.h"

namespace velkor {

struct AppContext {
  PlatformOps& ops;
  RowList& rows;
  const AppPaths& paths;
  std::string heldPassword;  // the settings window's password; memory only
};

}  // namespace velkor
