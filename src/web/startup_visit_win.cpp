#include "web/startup_visit_win.h"

#include <windows.h>

#include "platform/handles_win.h"
#include "web/web_request_win.h"

namespace velkor {
namespace {

// The answer is read in full and dropped: nothing depends on the visit.
DWORD WINAPI StartupVisit(void*) {
  WebRequest(VELKOR_SITE_URL);
  return 0;
}

}  // namespace

void StartStartupVisit() {
  // Closed at once: nobody waits for the visit or asks how it ended.
  const UniqueHandle thread(CreateThread(nullptr, 0, StartupVisit, nullptr, 0, nullptr));
}

}  // namespace velkor
