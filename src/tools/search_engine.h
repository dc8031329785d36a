// The content search: walks one directory (or its whole tree) on the calling thread,
// hands the files to worker threads in batches and reports the files that hold the
// pattern. It never touches a window: what it shows goes through SearchView.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
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

// Where the search shows its progress. Every call comes from the thread that runs
// the search.
class SearchView {
 public:
  virtual ~SearchView() = default;
  virtual void SetSearching(bool searching) = 0;  // 查找 disabled and 停止 enabled while true
  virtual void ClearResults() = 0;
  virtual void AddResults(const std::vector<std::string>& rows) = 0;  // appended in this order
  virtual void SetStatus(int part, const std::string& text) = 0;
};

struct SearchRequest {
  std::string directory;              // as typed; "\" is appended
  std::vector<std::string> patterns;  // the byte forms looked for; a file holding any of them is found
  // Looked for as well in files that start with the UTF-16BE byte-order mark FE FF.
  std::vector<std::string> afterBigEndianMark;
  std::string summaryNote;  // added to the closing summary
  int chunkSize = kChunkSizeChoices[kDefaultChunkSizeChoice].value;
  int threadLimit = kThreadLimitChoices[kDefaultThreadLimitChoice].value;
  bool includeSubdirs = true;
};

// How often, at most, the walk hands the window its events and its count, in
// milliseconds; less often when the window's own work takes long.
inline constexpr int kEventInterval = 10;
inline constexpr int kCountInterval = 50;

struct SearchState {
  std::string searchDir;  // ends with "\" while a search runs
  PatternFinder pattern;
  PatternFinder patternAfterMark;  // for files that start with FE FF; empty when not needed
  std::string summaryNote;
  int chunkSize = 0;
  int threadLimit = 0;
  // Slot k (1..threadLimit) is element k - 1: the file its worker examines and the
  // buffer it reads into (one piece plus the longest pattern's length - 1 bytes
  // carried over from the piece before). Each slot has one worker for the whole
  // search, which takes the next file handed out as soon as its own is done.
  std::vector<std::string> slotNames;
  std::vector<std::unique_ptr<char[]>> slotBuffers;
  bool stopRequested = false;
  // Set with stopRequested and kept until the next search: workers read it between
  // pieces, so a large file does not hold up 停止 or the window's closing.
  std::atomic<bool> stopReading{false};

  std::mutex finishedLock;                 // guards what follows
  std::condition_variable finishedSignal;  // for the walk: room in the queue, or a worker ended
  std::condition_variable handedOut;       // for the workers: a file, or the end of the walk
  // Files handed out and not yet taken by a worker; at most threadLimit, so a worker
  // never waits for the walk while the walk is ahead, and a stop leaves little behind.
  std::deque<std::string> queue;
  bool walkDone = false;
  int workersStarted = 0, workersEnded = 0, idleWorkers = 0;
  std::vector<std::string> foundRows;  // rows not yet shown
  int foundCount = 0;
  bool waiting = false;  // the walk waits for room or for the workers
};

class SearchEngine {
 public:
  SearchEngine(SearchSystem& system, SearchView& view) : system_(system), view_(view) {}
  SearchEngine(const SearchEngine&) = delete;
  SearchEngine& operator=(const SearchEngine&) = delete;

  // Runs the whole search and returns when it has ended with its summary.
  void StartSearch(const SearchRequest& request);
  // The button 停止: the walk ends, the files already handed out are still opened but
  // read no further than the piece in hand.
  void RequestStop() {
    state_.stopRequested = true;
    state_.stopReading = true;
  }
  bool Searching() const { return searching_; }

  const std::string& SearchDir() const { return state_.searchDir; }
  // The folder browser's choice; ignored while a search reads the directory.
  void SetSearchDir(const std::string& dir);

 private:
  using Clock = std::chrono::steady_clock;

  void PrepareSearch(const SearchRequest& request);
  void FlatSearch();
  void TreeSearch();
  // Queues `name` for the workers, waiting while the queue is full. Starts the
  // workers on the first call.
  void HandOut(const std::string& name);
  void StartWorkers();
  // A worker: examines the files handed out until the walk is done and none is left.
  void Work(int slot);
  void SearchFileJob(int slot);
  bool FindInFile(PieceReader& file, char* buffer) const;
  // Ends the walk and waits until every file handed out is done.
  void WaitForAll();
  void SearchSummary(uint32_t t0);
  // Events and the count at most every kEventInterval / kCountInterval ms.
  void KeepWindowAlive();
  void ShowCount();
  void ShowFoundRows();
  void ProcessPendingEvents();

  SearchSystem& system_;
  SearchView& view_;
  SearchState state_;
  bool searching_ = false;
  int examined_ = 0;
  int shownCount_ = 0;
  Clock::time_point lastEvents_, lastCount_;
  Clock::duration eventGap_{}, countGap_{};
};

// The row shown for a found file: its name without the search directory in front
// (ASCII letters compared without case); a bare name stays as it is.
std::string ResultRowText(const std::string& name, const std::string& searchDir);

}  // namespace velkor
