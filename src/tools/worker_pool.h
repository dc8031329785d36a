// Worker threads kept for the next job: starting a thread costs far more than
// examining a small file, so a search hands each file to an idle worker and starts a
// new thread only when none is idle.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace velkor {

class WorkerPool {
 public:
  // `onThreadStart` runs first on every new worker thread (to set its priority).
  explicit WorkerPool(std::function<void()> onThreadStart) : onThreadStart_(std::move(onThreadStart)) {}
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;
  // Lets the running jobs finish, then ends every worker.
  ~WorkerPool();

  // Runs `job` on a worker. False when no worker exists and none could be started.
  bool Run(std::function<void()> job);

 private:
  void Work();

  std::function<void()> onThreadStart_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
  size_t idle_ = 0;
  bool stopping_ = false;
};

}  // namespace velkor
