#include "tools/worker_pool.h"

#include <algorithm>
#include <system_error>

namespace velkor {

WorkerPool::WorkerPool(std::function<void()> onThreadStart, size_t maxAwake)
    : onThreadStart_(std::move(onThreadStart)), maxAwake_(std::max<size_t>(maxAwake, 1)) {}

size_t WorkerPool::DefaultMaxAwake() { return std::max(std::thread::hardware_concurrency(), 1u); }

WorkerPool::~WorkerPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

bool WorkerPool::Run(std::function<void()> job) {
  std::unique_lock<std::mutex> lock(mutex_);
  jobs_.push_back(std::move(job));
  // An awake worker takes the job when it is done with the one it has.
  if (Awake() >= maxAwake_) return true;
  if (idle_ > wakeups_) {
    ++wakeups_;
    lock.unlock();
    wake_.notify_one();
    return true;
  }
  try {
    threads_.emplace_back([this] { Work(); });
  } catch (const std::system_error&) {
    // The workers there are will take the job in turn; with none it cannot run.
    if (threads_.empty()) {
      jobs_.pop_back();
      return false;
    }
  }
  return true;
}

void WorkerPool::Work() {
  onThreadStart_();
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (!jobs_.empty()) {
      std::function<void()> job = std::move(jobs_.front());
      jobs_.pop_front();
      lock.unlock();
      job();
      lock.lock();
      continue;
    }
    if (stopping_) return;
    ++idle_;
    wake_.wait(lock, [this] { return stopping_ || wakeups_ > 0; });
    --idle_;
    if (wakeups_ > 0) --wakeups_;
  }
}

}  // namespace velkor
