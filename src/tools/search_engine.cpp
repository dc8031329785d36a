#include "tools/search_engine.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/text.h"

namespace velkor {
namespace {

bool SameIgnoringCase(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

}  // namespace

std::string TextList::TakeLast() {
  std::string last;
  if (!texts_.empty()) {
    last.swap(texts_.back());
    texts_.pop_back();
  }
  return last;
}

std::string ResultRowText(const std::string& name, const std::string& searchDir) {
  // Only a leading search directory goes: the same letters further on belong to the name.
  if (name.size() >= searchDir.size() && SameIgnoringCase(name.data(), searchDir.data(), searchDir.size()))
    return name.substr(searchDir.size());
  return name;
}

void SearchEngine::SetSearchDir(const std::string& dir) {
  if (!searching_) state_.searchDir = dir;
}

void SearchEngine::StartSearch(const SearchRequest& request) {
  if (searching_) return;
  state_.searchDir = request.directory + "\\";
  PrepareSearch(request);
  // The window shows the search has begun, even when the walk never waits.
  ProcessPendingEvents();
  if (request.includeSubdirs) {
    TreeSearch();
  } else {
    FlatSearch();
  }
  // Idle windows keep no pieces.
  state_.slotBuffers.clear();
  searching_ = false;
  view_.SetSearching(false);
}

void SearchEngine::PrepareSearch(const SearchRequest& request) {
  searching_ = true;
  view_.SetSearching(true);
  {
    std::lock_guard<std::mutex> lock(state_.finishedLock);
    state_.finishedCount = 0;
    state_.foundCount = 0;
  }
  // The chosen size bounds what a worker holds; larger choices are read in steps of
  // kLargestRead. Results are the same (bytes are carried between pieces), and the
  // first touch of every page of a fresh multi-megabyte buffer costs more than the
  // extra reads: a search of many small files and a few large ones ran 3-4 times
  // faster this way.
  state_.chunkSize = std::clamp(request.chunkSize, 1, kLargestRead);
  state_.threadLimit = std::max(request.threadLimit, 1);
  state_.listingDone = false;
  // A stop pressed after the last check of the previous search must not end this one.
  state_.stopRequested = false;
  state_.stopReading = false;
  state_.pattern = PatternFinder(request.pattern);
  const size_t carried = request.pattern.empty() ? 0 : request.pattern.size() - 1;
  state_.slotBuffers.clear();
  // Left uninitialised: a small file touches only the pages it fills.
  for (int k = 0; k < state_.threadLimit; ++k)
    state_.slotBuffers.emplace_back(new char[static_cast<size_t>(state_.chunkSize) + carried]);
  state_.slotNames.assign(static_cast<size_t>(state_.threadLimit), std::string());
  view_.ClearResults();
}

void SearchEngine::FlatSearch() {
  const std::unique_ptr<DirectoryListing> listing = system_.List(state_.searchDir, ListFilter::Archive);
  state_.slotNames[0] = listing->Next();
  const uint32_t t0 = system_.TickCount();
  // The first file is examined right here, before any worker runs.
  if (!state_.slotNames[0].empty()) {
    SearchFileJob(1);
    ResetFinished();
  }
  while (!state_.listingDone) {
    int started = 0;
    for (int k = 1; k <= state_.threadLimit; ++k) {
      state_.slotNames[k - 1] = listing->Next();
      if (state_.slotNames[k - 1].empty()) {
        state_.listingDone = true;
        continue;
      }
      StartWorker(k);
      ProcessPendingEvents();
      ++started;
    }
    WaitForFinished(started);
    ResetFinished();
    if (state_.stopRequested) {
      state_.stopRequested = false;
      break;
    }
  }
  SearchSummary(t0);
}

void SearchEngine::TreeSearch() {
  TextList dirs;
  dirs.Add(state_.searchDir);
  const uint32_t t0 = system_.TickCount();
  const int n = state_.threadLimit;
  int filled = 0, examined = 0;
  while (dirs.Count() > 0) {
    std::string dir = dirs.TakeLast();
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    {
      const std::unique_ptr<DirectoryListing> subdirs = system_.List(dir, ListFilter::Directories);
      for (std::string name = subdirs->Next(); !name.empty(); name = subdirs->Next())
        if (name != "." && name != "..") dirs.Add(dir + name);
    }
    ProcessPendingEvents();
    const std::unique_ptr<DirectoryListing> files = system_.List(dir, ListFilter::Files);
    for (std::string name = files->Next(); !name.empty();) {
      // A batch starts only when a file finds every slot taken; it becomes slot 1 of the next.
      if (filled == n) {
        RunBatch(n);
        std::fill(state_.slotNames.begin(), state_.slotNames.end(), std::string());
        filled = 0;
      }
      state_.slotNames[filled++] = dir + name;
      view_.SetStatus(1, std::to_string(++examined));
      name = files->Next();
      if (state_.stopRequested) break;  // the name just fetched is dropped
    }
    if (state_.stopRequested) {
      state_.stopRequested = false;
      break;
    }
  }
  // Whatever sits in a slot is examined, also after a stop.
  RunBatch(filled);
  SearchSummary(t0);
}

void SearchEngine::RunBatch(int count) {
  ResetFinished();
  for (int k = 1; k <= count; ++k) {
    StartWorker(k);
    ProcessPendingEvents();
  }
  WaitForFinished(count);
  ResetFinished();
}

void SearchEngine::StartWorker(int slot) {
  // Without a thread the file is examined here, so the wait cannot stall on it.
  if (!system_.StartWorker([this, slot] { SearchFileJob(slot); })) SearchFileJob(slot);
}

void SearchEngine::SearchFileJob(int slot) {
  const std::string name = state_.slotNames[static_cast<size_t>(slot - 1)];
  bool found = false;
  if (!state_.pattern.Pattern().empty()) {
    const std::string path = name.find('\\') == std::string::npos ? state_.searchDir + name : name;
    if (const std::unique_ptr<PieceReader> file = system_.OpenForReading(path))
      found = FindInFile(*file, state_.slotBuffers[static_cast<size_t>(slot - 1)].get());
  }
  if (found) view_.AddResult(ResultRowText(name, state_.searchDir));
  // The last step on every path. Only the last of a batch wakes the waiting thread,
  // under the lock: once it is released the engine may be gone.
  std::lock_guard<std::mutex> lock(state_.finishedLock);
  ++state_.finishedCount;
  if (found) ++state_.foundCount;
  if (state_.awaitedCount > 0 && state_.finishedCount >= state_.awaitedCount) state_.finishedSignal.notify_one();
}

bool SearchEngine::FindInFile(PieceReader& file, char* buffer) const {
  // The last pattern length - 1 bytes of a piece are kept in front of the next one,
  // so an occurrence across two pieces, or longer than a piece, is found.
  const size_t carryMax = state_.pattern.Pattern().size() - 1;
  const uint64_t size = file.Size();
  uint64_t position = 0;
  size_t carried = 0;
  while (position < size) {
    // A file already handed out is still opened after a stop, but read no further.
    if (position > 0 && state_.stopReading.load(std::memory_order_relaxed)) break;
    const size_t got = file.Read(buffer + carried, static_cast<size_t>(state_.chunkSize));
    if (got == 0) break;
    position += got;
    const size_t held = carried + got;
    if (state_.pattern.FoundIn(buffer, held)) return true;
    carried = std::min(carryMax, held);
    std::memmove(buffer, buffer + held - carried, carried);
  }
  return false;
}

void SearchEngine::SearchSummary(uint32_t t0) {
  const uint32_t t1 = system_.TickCount();
  int found;
  {
    std::lock_guard<std::mutex> lock(state_.finishedLock);
    found = state_.foundCount;
  }
  system_.Beep();
  view_.SetStatus(0, kSummaryPrefix + std::to_string(t1 - t0) + "毫秒。找到文件总数" + std::to_string(found));
}

void SearchEngine::WaitForFinished(int count) {
  std::unique_lock<std::mutex> lock(state_.finishedLock);
  state_.awaitedCount = count;
  // Wakes as soon as the last worker finishes; every 10 ms the window gets its events.
  while (!state_.finishedSignal.wait_for(lock, std::chrono::milliseconds(10),
                                         [&] { return state_.finishedCount >= count; })) {
    lock.unlock();
    ProcessPendingEvents();
    lock.lock();
  }
  state_.awaitedCount = 0;
}

void SearchEngine::ResetFinished() {
  std::lock_guard<std::mutex> lock(state_.finishedLock);
  state_.finishedCount = 0;
}

void SearchEngine::ProcessPendingEvents() {
  if (!system_.ProcessPendingEvents()) state_.stopRequested = true;
}

}  // namespace velkor
