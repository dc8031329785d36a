// Functions taken by name at run time, from libraries the program is not linked to
// or that older systems lack.
#pragma once

#include <windows.h>

namespace velkor {

template <typename Fn>
Fn ProcAddress(HMODULE module, const char* name) {
  // Through void*: FARPROC and the real signature are incompatible function types.
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace velkor
