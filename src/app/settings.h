// The password option of the settings window. The password lives in memory only.
#pragma once

#include "app/app_context.h"

namespace velkor {

// Runs after the password check box changed to `ticked`.
void PasswordToggled(AppContext& context, bool ticked);

}  // namespace velkor
