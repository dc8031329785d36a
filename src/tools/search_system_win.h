// The search's system parts on Win32.
#pragma once

#include <windows.h>

#include "tools/search_system.h"
#include "tools/worker_pool.h"

namespace velkor {

class Win32SearchSystem : public SearchSystem {
 public:
  std::unique_ptr<DirectoryListing> List(const std::string& folder) override;
  std::unique_ptr<PieceReader> OpenForReading(const std::string& path) override;
  bool StartWorker(std::function<void()> job) override;
  bool ProcessPendingEvents() override;
  uint32_t TickCount() override { return GetTickCount(); }
  void Beep() override { MessageBeep(MB_OK); }

 private:
  // The engine keeps the files at once within the chosen count; the pool runs them all.
  WorkerPool pool_{[] { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL); }, kMostWorkers};
};

// The process priority class for as long as it lives, then the class it had before.
class ScopedPriorityClass {
 public:
  explicit ScopedPriorityClass(DWORD priorityClass);
  ~ScopedPriorityClass();
  ScopedPriorityClass(const ScopedPriorityClass&) = delete;
  ScopedPriorityClass& operator=(const ScopedPriorityClass&) = delete;

 private:
  DWORD previous_;
};

}  // namespace velkor
