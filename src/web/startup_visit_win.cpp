#include "web/startup_visit_win.h"

#include <windows.h>

#include <memory>

#include "platform/handles_win.h"
#include "web/web_request_win.h"

namespace velkor {
namespace {

// The answer is dropped: nothing depends on the visit.
DWORD WINAPI StartupVisit(void* site) {
  const std::unique_ptr<std::string> address(static_cast<std::string*>(site));
  VisitSite(*address);
  return 0;
}

}  // namespace

std::string VisitSite(const std::string& site, std::chrono::milliseconds waitLimit) {
  WebRequestArgs args;
  args.bodyLimit = kStartupVisitBodyLimit;
  args.waitLimit = waitLimit;
  return WebRequest(site, args);
}

void StartStartupVisit(const std::string& site) {
  auto address = std::make_unique<std::string>(site);
  // Closed at once: nobody waits for the visit or asks how it ended.
  const UniqueHandle thread(CreateThread(nullptr, 0, StartupVisit, address.get(), 0, nullptr));
  if (thread) address.release();
}

}  // namespace velkor
