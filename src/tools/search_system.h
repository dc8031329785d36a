// The system parts the content search needs: directory listings, reading a file in
// pieces, worker threads, the window's pending events, the tick count and the beep.
// Paths use "\" as separator everywhere; the POSIX implementation maps it to "/".
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velkor {

// One entry of a folder listing, "." and ".." included.
struct ListedEntry {
  std::string name;
  bool directory = false;
  bool link = false;  // a junction or symbolic link: never walked into
  bool archive = false;
};

class DirectoryListing {
 public:
  virtual ~DirectoryListing() = default;
  // The next entry; false when none is left (and from then on).
  virtual bool Next(ListedEntry& entry) = 0;
};

class PieceReader {
 public:
  virtual ~PieceReader() = default;
  // Reads up to `max` bytes from the current position; 0 at the end or when the read
  // fails. Fewer than `max` bytes means the end of the file was reached.
  virtual size_t Read(char* into, size_t max) = 0;
};

// The most workers a search runs at once (the largest worker count offered).
inline constexpr size_t kMostWorkers = 20;

class SearchSystem {
 public:
  virtual ~SearchSystem() = default;
  // Lists `folder` (which ends with "\") in one pass. A folder that cannot be listed
  // has no entries.
  virtual std::unique_ptr<DirectoryListing> List(const std::string& folder) = 0;
  // Opens for reading while others may read, write or delete it; nullptr when it cannot be opened.
  virtual std::unique_ptr<PieceReader> OpenForReading(const std::string& path) = 0;
  // Runs `job` on a worker thread of above-normal priority: an idle one when there is
  // one, else a new one. The caller keeps the number of jobs at once within its limit.
  // False when no worker could be started (the job has not run).
  virtual bool StartWorker(std::function<void()> job) = 0;
  // Handles the window events that are waiting. False when the program is quitting.
  virtual bool ProcessPendingEvents() = 0;
  virtual uint32_t TickCount() = 0;  // milliseconds, wrapping
  virtual void Beep() = 0;
};

// The system of the platform the program runs on (Win32, or POSIX natively).
std::unique_ptr<SearchSystem> MakeSearchSystem();

}  // namespace velkor
