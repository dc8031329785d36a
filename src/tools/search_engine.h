// The content search: walks one directory (or its whole tree) on the calling thread,
// hands the files to worker threads in batches and reports the files that hold the
// pattern. It never touches a window: what it shows goes through SearchView.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tools/search_pattern.h"
#include "tools/search_system.h"

namespace velkor {

struct SearchChoice {
  const char* caption;
  int value;
};

// The piece size and worker count boxes: the value follows the item index.
inline constexpr SearchChoice kChunkSizeChoices[] = {{"256K", 262144}, {"512k", 524288},  {"1M", 1048576},
                                                     {"2M", 2097152},  {"10M", 10485760}, {"1K", 1024}};
inline constexpr int kDefaultChunkSizeChoice = 0;
inline constexpr SearchChoice kThreadLimitChoices[] = {{"1", 1}, {"2", 2}, {"5", 5}, {"10", 10}, {"20", 20}};
inline constexpr int kDefaultThreadLimitChoice = 2;

// The largest piece read at once, whatever larger size is chosen.
inline constexpr int kLargestRead = 262144;

inline constexpr char kSummaryPrefix[] = "  搜索完毕，总耗时";

// The program's own ordered list of texts; the tree walk uses it as a stack.
class TextList {
 public:
  void Add(std::string text) { texts_.push_back(std::move(text)); }
  // Removes and returns the last text; "" when the list is empty.
  std::string TakeLast();
  int Count() const { return static_cast<int>(texts_.size()); }

 private:
  std::vector<std::string> texts_;
};

// Where the search shows its progress. AddResult is called from worker threads;
// everything else on the thread that runs the search.
class SearchView {
 public:
  virtual ~SearchView() = default;
  virtual void SetSearching(bool searching) = 0;  // 查找 disabled and 停止 enabled while true
  virtual void ClearResults() = 0;
  virtual void AddResult(const std::string& row) = 0;
  virtual void SetStatus(int part, const std::string& text) = 0;
};

struct SearchRequest {
  std::string directory;  // as typed; "\" is appended
  std::string pattern;    // the bytes looked for
  int chunkSize = kChunkSizeChoices[kDefaultChunkSizeChoice].value;
  int threadLimit = kThreadLimitChoices[kDefaultThreadLimitChoice].value;
  bool includeSubdirs = true;
};

struct SearchState {
  std::string searchDir;  // ends with "\" while a search runs
  PatternFinder pattern;
  int chunkSize = 0;
  int threadLimit = 0;
  // Slot k (1..threadLimit) is element k - 1. A slot's buffer holds one piece plus the
  // pattern length - 1 bytes carried over from the piece before.
  std::vector<std::string> slotNames;
  std::vector<std::unique_ptr<char[]>> slotBuffers;
  bool stopRequested = false;
  // Set with stopRequested and kept until the next search: workers read it between
  // pieces, so a large file does not hold up 停止 or the window's closing.
  std::atomic<bool> stopReading{false};
  bool listingDone = false;

  std::mutex finishedLock;  // guards the counts
  std::condition_variable finishedSignal;
  int finishedCount = 0;
  int foundCount = 0;
  int awaitedCount = 0;  // what the waiting thread waits for; 0 when nobody waits
};

class SearchEngine {
 public:
  SearchEngine(SearchSystem& system, SearchView& view) : system_(system), view_(view) {}
  SearchEngine(const SearchEngine&) = delete;
  SearchEngine& operator=(const SearchEngine&) = delete;

  // Runs the whole search and returns when it has ended with its summary.
  void StartSearch(const SearchRequest& request);
  // The button 停止: the walk ends after the files already handed out.
  void RequestStop() {
    state_.stopRequested = true;
    state_.stopReading = true;
  }
  bool Searching() const { return searching_; }

  const std::string& SearchDir() const { return state_.searchDir; }
  // The folder browser's choice; ignored while a search reads the directory.
  void SetSearchDir(const std::string& dir);

 private:
  void PrepareSearch(const SearchRequest& request);
  void FlatSearch();
  void TreeSearch();
  void StartWorker(int slot);
  void SearchFileJob(int slot);
  bool FindInFile(PieceReader& file, char* buffer) const;
  void SearchSummary(uint32_t t0);
  // Starts the workers of slots 1..count and waits until all of them have finished.
  void RunBatch(int count);
  void WaitForFinished(int count);
  void ResetFinished();
  void ProcessPendingEvents();

  SearchSystem& system_;
  SearchView& view_;
  SearchState state_;
  bool searching_ = false;
};

// The row shown for a found file: its name without the search directory in front
// (ASCII letters compared without case); a bare name stays as it is.
std::string ResultRowText(const std::string& name, const std::string& searchDir);

}  // namespace velkor
