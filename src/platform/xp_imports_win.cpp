// System functions that the static runtime imports but Windows XP lacks, supplied by
// the program itself in the 32-bit build for XP. Linked as an object ahead of the
// system libraries, so the runtime's import slot resolves here instead of to kernel32.
#include <windows.h>

#if defined(__MINGW32__) && !defined(_WIN64) && _WIN32_WINNT < 0x0600

#include <atomic>
#include <cstdint>

#include "platform/proc_address_win.h"
#include "platform/tick_count.h"

namespace velkor {
namespace {

// The threads runtime measures its timeouts with GetTickCount64 (Vista and later).
ULONGLONG WINAPI TickCount64() {
  using Fn = ULONGLONG(WINAPI*)();
  static const Fn system = ProcAddress<Fn>(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64");
  if (system) return system();
  static std::atomic<std::uint64_t> last{0};
  std::uint64_t previous = last.load();
  for (;;) {
    const std::uint64_t now = WidenTickCount(previous, GetTickCount());
    if (last.compare_exchange_weak(previous, now)) return now;
  }
}

}  // namespace
}  // namespace velkor

// The import slot's own name: a pointer the runtime calls through.
extern "C" ULONGLONG(WINAPI* const velkor_imp_GetTickCount64)() __asm__("__imp__GetTickCount64@0");
extern "C" ULONGLONG(WINAPI* const velkor_imp_GetTickCount64)() = velkor::TickCount64;

#endif
