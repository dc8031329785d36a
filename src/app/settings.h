// The password option of the settings window. The password lives in memory only.
#pragma once

#include <string>

#include "platform/platform_ops.h"

namespace velkor {

// Runs after the password check box changed to `ticked`.
void PasswordToggled(PlatformOps& ops, std::string& heldPassword, bool ticked);

}  // namespace velkor
