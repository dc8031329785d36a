#include "tools/worker_pool.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace velkor {
namespace {

TEST(WorkerPool, RunsEveryJobOnceWithAtMostMaxAwakeAtATime) {
  for (size_t maxAwake : {1u, 2u, 5u}) {
    std::atomic<int> done{0}, running{0}, most{0}, started{0};
    {
      WorkerPool pool([&] { ++started; }, maxAwake);
      for (int i = 0; i < 500; ++i) {
        ASSERT_TRUE(pool.Run([&, i] {
          const int now = ++running;
          for (int seen = most.load(); now > seen && !most.compare_exchange_weak(seen, now);) {
          }
          std::this_thread::sleep_for(std::chrono::microseconds(i % 7 == 0 ? 200 : 0));
          --running;
          ++done;
        }));
      }
    }  // the pool runs what it was handed before it ends
    EXPECT_EQ(done.load(), 500) << maxAwake;
    EXPECT_LE(most.load(), static_cast<int>(maxAwake)) << maxAwake;
    EXPECT_LE(started.load(), static_cast<int>(maxAwake)) << maxAwake;
  }
}

TEST(WorkerPool, AJobThatWaitsDoesNotHoldTheOthers) {
  std::mutex mutex;
  std::condition_variable changed;
  bool release = false;
  int others = 0;
  WorkerPool pool([] {}, 2);
  pool.Run([&] {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return release; });
  });
  for (int i = 0; i < 10; ++i)
    pool.Run([&] {
      std::lock_guard<std::mutex> lock(mutex);
      ++others;
      changed.notify_all();
    });
  {
    std::unique_lock<std::mutex> lock(mutex);
    EXPECT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] { return others == 10; }));
    release = true;
  }
  changed.notify_all();
}

TEST(WorkerPool, WorkersWaitForLaterJobs) {
  std::mutex mutex;
  std::condition_variable changed;
  int done = 0;
  WorkerPool pool([] {}, 2);
  for (int round = 1; round <= 50; ++round) {
    for (int i = 0; i < 3; ++i)
      pool.Run([&] {
        std::lock_guard<std::mutex> lock(mutex);
        ++done;
        changed.notify_all();
      });
    std::unique_lock<std::mutex> lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] { return done == 3 * round; })) << round;
  }
}

}  // namespace
}  // namespace velkor
