// The search's system parts on Win32.
#pragma once

#include <windows.h>

#include "tools/search_system.h"
#include "tools/worker_pool.h"

namespace velkor {

class Win32SearchSystem : public SearchSystem {
 public:
  std::unique_ptr<DirectoryListing> List(const std::string& folder, ListFilter filter) override;
  std::unique_ptr<PieceReader> OpenForReading(const std::string& path) override;
  bool StartWorker(std::function<void()> job) override;
  bool ProcessPendingEvents() override;
  uint32_t TickCount() override { return GetTickCount(); }
  void Beep() override { MessageBeep(MB_OK); }

 private:
  WorkerPool pool_{[] { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL); }};
};

}  // namespace velkor
