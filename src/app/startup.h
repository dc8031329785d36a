// The program's names: its title on each system, the tray tip and the name of the
// single-instance mutex and registry value.
#pragma once

#include <string>

#include "platform/platform_ops.h"

namespace velkor {

inline constexpr char kProgramTitle[] = "Windows多Velkor1.2";
inline constexpr char kTrayTip[] = "Windows多Velkor";
inline constexpr char kVersionMessage[] = "本软件版本为:1.2";
inline constexpr char kSingleInstanceName[] = "Win7多Velkor";

// The main window's title for that system.
std::string MainWindowTitle(OsGeneration generation);

}  // namespace velkor
