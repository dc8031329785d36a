// Worker threads kept for the next job. Starting a thread costs far more than
// examining a small file, and so does waking one: a job goes to an awake worker when
// there is one, and at most `maxAwake` workers (the processors) are awake at once;
// more would only take turns on the same processors.
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
  explicit WorkerPool(std::function<void()> onThreadStart, size_t maxAwake = DefaultMaxAwake());
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;
  // Runs the jobs already handed over, then ends every worker.
  ~WorkerPool();

  // Runs `job` on a worker. False when no worker exists and none could be started.
  bool Run(std::function<void()> job);

  static size_t DefaultMaxAwake();

 private:
  void Work();
  size_t Awake() const { return threads_.size() - idle_ + wakeups_; }

  std::function<void()> onThreadStart_;
  const size_t maxAwake_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
  size_t idle_ = 0;     // workers waiting for a wake-up
  size_t wakeups_ = 0;  // wake-ups given that no worker has taken yet
  bool stopping_ = false;
};

}  // namespace velkor
