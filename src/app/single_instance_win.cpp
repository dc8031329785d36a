#include "app/single_instance_win.h"

#include "platform/text_win.h"
#include "platform/win_util_win.h"

namespace velkor {
namespace {

bool IsOtherInstanceWindow(HWND window, HWND own, const wchar_t* windowClass) {
  wchar_t cls[64] = L"";
  DWORD pid = 0;
  return window && window != own && IsWindow(window) && GetClassNameW(window, cls, ARRAYSIZE(cls)) &&
         wcscmp(cls, windowClass) == 0 && GetWindowThreadProcessId(window, &pid) && pid != GetCurrentProcessId();
}

}  // namespace

bool SingleInstance::AnotherIsRunning(PlatformOps& ops, const char* name, HWND window, bool store,
                                      const wchar_t* windowClass) {
  UniqueHandle mutex(CreateMutexW(nullptr, TRUE, Widen(name).c_str()));
  if (mutex && WaitForSingleObject(mutex.get(), 100) == WAIT_TIMEOUT) {
    if (store) {
      HWND first = reinterpret_cast<HWND>(static_cast<uintptr_t>(ops.ReadRegNumber(RegRoot::LocalMachine, name)));
      // A user who may not write at the root of HKEY_LOCAL_MACHINE leaves the value
      // missing or stale: find the first instance by its window class instead.
      if (!IsOtherInstanceWindow(first, window, windowClass)) {
        first = nullptr;
        ForEachTopLevelWindow([&](HWND other) {
          if (IsOtherInstanceWindow(other, window, windowClass)) first = other;
          return first == nullptr;
        });
      }
      if (first) ShowWindow(first, SW_SHOW);
    }
    return true;
  }
  if (store)
    ops.WriteRegNumber(RegRoot::LocalMachine, name, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)));
  mutex_ = std::move(mutex);
  return false;
}

}  // namespace velkor
