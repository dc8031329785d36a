#include "app/single_instance_win.h"

#include "platform/text_win.h"

namespace velkor {
namespace {

bool IsOtherInstanceWindow(HWND window, HWND own, const wchar_t* windowClass) {
  wchar_t cls[64] = L"";
  DWORD pid = 0;
  return window && window != own && IsWindow(window) && GetClassNameW(window, cls, ARRAYSIZE(cls)) &&
         wcscmp(cls, windowClass) == 0 && GetWindowThreadProcessId(window, &pid) && pid != GetCurrentProcessId();
}

struct FindState {
  HWND own;
  const wchar_t* windowClass;
  HWND found;
};

BOOL CALLBACK FindOther(HWND window, LPARAM lp) {
  auto* state = reinterpret_cast<FindState*>(lp);
  if (!IsOtherInstanceWindow(window, state->own, state->windowClass)) return TRUE;
  state->found = window;
  return FALSE;
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
        FindState state{window, windowClass, nullptr};
        EnumWindows(FindOther, reinterpret_cast<LPARAM>(&state));
        first = state.found;
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
