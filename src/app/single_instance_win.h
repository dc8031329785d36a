// One instance per session: a named mutex, and the first instance's window handle
// kept as a number value at the root of HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>

#include "platform/handles_win.h"
#include "platform/platform_ops.h"

namespace velkor {

class SingleInstance {
 public:
  // True when another instance owns the mutex: its window has been asked to show and
  // this process should end. False when this is the first instance; the mutex is then
  // held until this object goes.
  bool AnotherIsRunning(PlatformOps& ops, const char* name, HWND window, bool store, const wchar_t* windowClass);

 private:
  UniqueHandle mutex_;
};

}  // namespace velkor
