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
  lastEvents_ = lastCount_ = Clock::now();
  eventGap_ = std::chrono::milliseconds(kEventInterval);
  countGap_ = std::chrono::milliseconds(kCountInterval);
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
  // The piece chosen is the piece read, and the worker count chosen is the number of
  // files read at once.
  state_.chunkSize = std::max(request.chunkSize, 1);
  state_.threadLimit = std::max(request.threadLimit, 1);
  // A stop pressed after the last check of the previous search must not end this one.
  state_.stopRequested = false;
  state_.stopReading = false;
  state_.pattern = PatternFinder(request.patterns);
  std::vector<std::string> withMark = request.patterns;
  withMark.insert(withMark.end(), request.afterBigEndianMark.begin(), request.afterBigEndianMark.end());
  state_.patternAfterMark = request.afterBigEndianMark.empty() ? PatternFinder() : PatternFinder(std::move(withMark));
  state_.summaryNote = request.summaryNote;
  const size_t longest = std::max(state_.pattern.Longest(), state_.patternAfterMark.Longest());
  const size_t carried = longest == 0 ? 0 : longest - 1;
  state_.slotBuffers.clear();
  // Left uninitialised: a small file touches only the pages it fills.
  for (int k = 0; k < state_.threadLimit; ++k)
    state_.slotBuffers.emplace_back(new char[static_cast<size_t>(state_.chunkSize) + carried]);
  state_.slotNames.assign(static_cast<size_t>(state_.threadLimit), std::string());
  {
    std::lock_guard<std::mutex> lock(state_.finishedLock);
    state_.queue.clear();
    state_.walkDone = false;
    state_.workersStarted = state_.workersEnded = state_.idleWorkers = 0;
    state_.foundRows.clear();
    state_.foundCount = 0;
  }
  examined_ = shownCount_ = 0;
  view_.ClearResults();
}

void SearchEngine::FlatSearch() {
  const std::unique_ptr<DirectoryListing> listing = system_.List(state_.searchDir);
  auto next = [&] {
    ListedEntry entry;
    while (listing->Next(entry))
      if (entry.archive) return entry.name;
    return std::string();
  };
  const std::string first = next();
  const uint32_t t0 = system_.TickCount();
  // The first file is examined right here, before any worker runs.
  if (!first.empty()) {
    state_.slotNames[0] = first;
    SearchFileJob(1);
    // Each further file goes to a worker as soon as a slot is free.
    for (std::string name = next(); !name.empty(); name = next()) {
      if (state_.stopRequested) break;  // the name just fetched is dropped
      HandOut(name);
      KeepWindowAlive();
    }
  }
  WaitForAll();
  state_.stopRequested = false;
  SearchSummary(t0);
}

void SearchEngine::TreeSearch() {
  TextList dirs;
  dirs.Add(state_.searchDir);
  const uint32_t t0 = system_.TickCount();
  std::vector<std::string> subdirs;
  while (dirs.Count() > 0 && !state_.stopRequested) {
    std::string dir = dirs.TakeLast();
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    // One pass per folder: its files are handed out while it is listed, its folders
    // are walked afterwards, the last listed first.
    const std::unique_ptr<DirectoryListing> listing = system_.List(dir);
    subdirs.clear();
    ListedEntry entry;
    while (listing->Next(entry)) {
      if (entry.directory) {
        if (!entry.link && entry.name != "." && entry.name != "..") subdirs.push_back(dir + entry.name);
        continue;
      }
      HandOut(dir + entry.name);
      ++examined_;
      KeepWindowAlive();
      if (state_.stopRequested) break;  // the walk ends; the next name is not fetched
    }
    for (std::string& sub : subdirs) dirs.Add(std::move(sub));
    KeepWindowAlive();
  }
  // Whatever was handed out is examined, also after a stop.
  WaitForAll();
  state_.stopRequested = false;
  ShowCount();
  SearchSummary(t0);
}

void SearchEngine::HandOut(const std::string& name) {
  if (state_.workersStarted == 0) StartWorkers();
  if (state_.workersStarted == 0) {
    // No worker could be started: the file is examined here.
    state_.slotNames[0] = name;
    SearchFileJob(1);
    return;
  }
  std::unique_lock<std::mutex> lock(state_.finishedLock);
  while (state_.queue.size() >= static_cast<size_t>(state_.threadLimit)) {
    state_.waiting = true;
    // Wakes as soon as a worker takes a file; every 10 ms the window gets its events.
    if (!state_.finishedSignal.wait_for(lock, std::chrono::milliseconds(kEventInterval), [&] {
          return state_.queue.size() < static_cast<size_t>(state_.threadLimit);
        })) {
      lock.unlock();
      KeepWindowAlive();
      lock.lock();
    }
  }
  state_.waiting = false;
  state_.queue.push_back(name);
  if (state_.idleWorkers > 0) state_.handedOut.notify_one();
}

void SearchEngine::StartWorkers() {
  for (int slot = 1; slot <= state_.threadLimit; ++slot) {
    {
      std::lock_guard<std::mutex> lock(state_.finishedLock);
      ++state_.workersStarted;
    }
    if (!system_.StartWorker([this, slot] { Work(slot); })) {
      std::lock_guard<std::mutex> lock(state_.finishedLock);
      --state_.workersStarted;
      break;
    }
  }
}

void SearchEngine::Work(int slot) {
  std::unique_lock<std::mutex> lock(state_.finishedLock);
  for (;;) {
    while (state_.queue.empty() && !state_.walkDone) {
      ++state_.idleWorkers;
      state_.handedOut.wait(lock);
      --state_.idleWorkers;
    }
    if (state_.queue.empty()) break;
    state_.slotNames[static_cast<size_t>(slot - 1)] = std::move(state_.queue.front());
    state_.queue.pop_front();
    if (state_.waiting) state_.finishedSignal.notify_one();
    lock.unlock();
    SearchFileJob(slot);
    lock.lock();
  }
  ++state_.workersEnded;
  // The walk is woken under the lock: once it is released the engine may be gone.
  if (state_.waiting) state_.finishedSignal.notify_one();
}

void SearchEngine::SearchFileJob(int slot) {
  const std::string& name = state_.slotNames[static_cast<size_t>(slot - 1)];
  bool found = false;
  if (!state_.pattern.Empty() || !state_.patternAfterMark.Empty()) {
    const std::string path = name.find('\\') == std::string::npos ? state_.searchDir + name : name;
    if (const std::unique_ptr<PieceReader> file = system_.OpenForReading(path))
      found = FindInFile(*file, state_.slotBuffers[static_cast<size_t>(slot - 1)].get());
  }
  if (!found) return;
  std::string row = ResultRowText(name, state_.searchDir);
  std::lock_guard<std::mutex> lock(state_.finishedLock);
  state_.foundRows.push_back(std::move(row));
  ++state_.foundCount;
}

bool SearchEngine::FindInFile(PieceReader& file, char* buffer) const {
  // The last pattern length - 1 bytes of a piece are kept in front of the next one,
  // so an occurrence across two pieces, or longer than a piece, is found.
  const PatternFinder* finder = &state_.pattern;
  const size_t piece = static_cast<size_t>(state_.chunkSize);
  size_t carried = 0;
  for (bool first = true;; first = false) {
    // A file already handed out is still opened after a stop, but read no further.
    if (!first && state_.stopReading.load(std::memory_order_relaxed)) return false;
    const size_t got = file.Read(buffer + carried, piece);
    if (got == 0) return false;
    if (first && !state_.patternAfterMark.Empty() && got >= 2 && static_cast<unsigned char>(buffer[0]) == 0xFE &&
        static_cast<unsigned char>(buffer[1]) == 0xFF)
      finder = &state_.patternAfterMark;
    const size_t carryMax = finder->Longest() == 0 ? 0 : finder->Longest() - 1;
    const size_t held = carried + got;
    if (finder->FoundIn(buffer, held)) return true;
    if (got < piece) return false;  // the end of the file
    carried = std::min(carryMax, held);
    std::memmove(buffer, buffer + held - carried, carried);
  }
}

void SearchEngine::WaitForAll() {
  std::unique_lock<std::mutex> lock(state_.finishedLock);
  state_.walkDone = true;
  state_.handedOut.notify_all();
  while (state_.workersEnded < state_.workersStarted) {
    state_.waiting = true;
    if (!state_.finishedSignal.wait_for(lock, std::chrono::milliseconds(kEventInterval),
                                        [&] { return state_.workersEnded >= state_.workersStarted; })) {
      lock.unlock();
      KeepWindowAlive();
      lock.lock();
    }
  }
  state_.waiting = false;
}

void SearchEngine::KeepWindowAlive() {
  // The window's own work (painting new rows and the count; slow under Wine) is
  // given at most about a fifth of this thread's time: the next turn comes after
  // four times what the last one took, and never sooner than the interval.
  Clock::time_point now = Clock::now();
  if (now - lastEvents_ >= eventGap_) {
    ShowFoundRows();
    ProcessPendingEvents();
    const Clock::time_point done = Clock::now();
    eventGap_ = std::max<Clock::duration>(std::chrono::milliseconds(kEventInterval), 4 * (done - now));
    lastEvents_ = now = done;
  }
  if (now - lastCount_ >= countGap_) {
    ShowCount();
    const Clock::time_point done = Clock::now();
    countGap_ = std::max<Clock::duration>(std::chrono::milliseconds(kCountInterval), 4 * (done - now));
    lastCount_ = done;
  }
}

void SearchEngine::ShowCount() {
  if (examined_ == shownCount_) return;
  shownCount_ = examined_;
  view_.SetStatus(1, std::to_string(examined_));
}

void SearchEngine::ShowFoundRows() {
  std::vector<std::string> rows;
  {
    std::lock_guard<std::mutex> lock(state_.finishedLock);
    rows.swap(state_.foundRows);
  }
  if (!rows.empty()) view_.AddResults(rows);
}

void SearchEngine::SearchSummary(uint32_t t0) {
  ShowFoundRows();
  const uint32_t t1 = system_.TickCount();
  int found;
  {
    std::lock_guard<std::mutex> lock(state_.finishedLock);
    found = state_.foundCount;
  }
  system_.Beep();
  view_.SetStatus(
      0, kSummaryPrefix + std::to_string(t1 - t0) + "毫秒。找到文件总数" + std::to_string(found) + state_.summaryNote);
}

void SearchEngine::ProcessPendingEvents() {
  if (!system_.ProcessPendingEvents()) RequestStop();
}

}  // namespace velkor
