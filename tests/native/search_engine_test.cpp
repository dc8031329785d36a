#include "tools/search_engine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <thread>

namespace velkor {
namespace {

using Names = std::vector<std::string>;

// Records what the engine shows; rows arrive from worker threads.
class RecordingView : public SearchView {
 public:
  void SetSearching(bool searching) override {
    std::lock_guard<std::mutex> lock(mutex_);
    log.push_back(searching ? "searching" : "idle");
  }
  void ClearResults() override {
    std::lock_guard<std::mutex> lock(mutex_);
    rows.clear();
    log.push_back("clear");
  }
  void AddResult(const std::string& row) override {
    std::lock_guard<std::mutex> lock(mutex_);
    rows.push_back(row);
  }
  void SetStatus(int part, const std::string& text) override {
    std::lock_guard<std::mutex> lock(mutex_);
    status[part] = text;
    log.push_back("status" + std::to_string(part) + ":" + text);
  }
  std::set<std::string> RowSet() {
    std::lock_guard<std::mutex> lock(mutex_);
    return {rows.begin(), rows.end()};
  }
  void Note(const std::string& event) {
    std::lock_guard<std::mutex> lock(mutex_);
    log.push_back(event);
  }

  Names rows;
  std::map<int, std::string> status;
  Names log;

 private:
  std::mutex mutex_;
};

std::string Summary(uint32_t ms, int found) {
  return std::string(kSummaryPrefix) + std::to_string(ms) + "毫秒。找到文件总数" + std::to_string(found);
}

// An in-memory tree behind the search's system parts. Workers are real threads.
// With `groups` set, every open waits until exactly that many jobs are open together,
// which shows how the engine hands files out: in batches, in waves or one by one.
class ScriptedSystem : public SearchSystem {
 public:
  struct File {
    std::string contents;
    bool archive = true;
    bool locked = false;
  };

  explicit ScriptedSystem(RecordingView& view) : view_(view) {}
  ~ScriptedSystem() override {
    for (std::thread& t : threads_) t.join();
  }

  void AddFile(const std::string& path, File file) {
    files[path] = std::move(file);
    for (size_t slash = path.rfind('\\'); slash != std::string::npos && slash > 0; slash = path.rfind('\\', slash - 1))
      dirs.insert(path.substr(0, slash));
  }

  std::unique_ptr<DirectoryListing> List(const std::string& folder, ListFilter filter) override {
    struct Listing : DirectoryListing {
      Names names;
      size_t next = 0;
      std::string Next() override { return next < names.size() ? names[next++] : std::string(); }
    };
    auto listing = std::make_unique<Listing>();
    const std::string parent = folder.substr(0, folder.size() - 1);
    if (!dirs.count(parent)) return listing;
    if (filter == ListFilter::Directories) listing->names = {".", ".."};
    auto child = [&](const std::string& path) -> std::string {
      return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                     path.find('\\', folder.size()) == std::string::npos
                 ? path.substr(folder.size())
                 : std::string();
    };
    for (const std::string& d : dirs)
      if (const std::string name = child(d); !name.empty() && filter == ListFilter::Directories)
        listing->names.push_back(name);
    for (const auto& [path, file] : files) {
      const std::string name = child(path);
      if (!name.empty() && (filter == ListFilter::Files || (filter == ListFilter::Archive && file.archive)))
        listing->names.push_back(name);
    }
    return listing;
  }

  std::unique_ptr<PieceReader> OpenForReading(const std::string& path) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      opened.push_back(path);
      openedOn.push_back(std::this_thread::get_id());
    }
    view_.Note("open:" + path);
    Gate(path);
    auto it = files.find(path);
    if (it == files.end() || it->second.locked) return nullptr;
    struct Reader : PieceReader {
      std::string contents;
      size_t at = 0;
      uint64_t Size() const override { return contents.size(); }
      size_t Read(char* into, size_t max) override {
        const size_t n = std::min(max, contents.size() - at);
        std::copy_n(contents.data() + at, n, into);
        at += n;
        return n;
      }
    };
    auto reader = std::make_unique<Reader>();
    reader->contents = it->second.contents;
    return reader;
  }

  bool StartWorker(std::function<void()> job) override {
    threads_.emplace_back(std::move(job));
    return true;
  }
  bool ProcessPendingEvents() override {
    if (onPump) onPump(++pumps);
    return true;
  }
  uint32_t TickCount() override { return ticks += 7; }
  void Beep() override { ++beeps; }

  Names Opened() {
    std::lock_guard<std::mutex> lock(mutex_);
    return opened;
  }

  std::map<std::string, File> files;
  std::set<std::string> dirs;
  std::function<void(int)> onPump;
  int pumps = 0;
  uint32_t ticks = 1000;
  int beeps = 0;
  std::vector<size_t> groups;  // expected sizes, in order
  std::vector<Names> seenGroups;
  std::vector<std::string> gateFailures;
  Names opened;
  std::vector<std::thread::id> openedOn;

 private:
  void Gate(const std::string& path) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (groups.empty()) return;
    if (seenGroups.size() == groups.size()) {
      gateFailures.push_back("opened after the last group: " + path);
      return;
    }
    waiting_.push_back(path);
    if (waiting_.size() == groups[seenGroups.size()]) {
      Release();
      return;
    }
    const int generation = generation_;
    if (!released_.wait_for(lock, std::chrono::seconds(5), [&] { return generation_ != generation; })) {
      gateFailures.push_back("group " + std::to_string(seenGroups.size()) + " stayed at " +
                             std::to_string(waiting_.size()));
      Release();
    }
  }
  void Release() {
    std::sort(waiting_.begin(), waiting_.end());
    seenGroups.push_back(std::move(waiting_));
    waiting_.clear();
    ++generation_;
    released_.notify_all();
  }

  RecordingView& view_;
  std::mutex mutex_;
  std::condition_variable released_;
  Names waiting_;
  int generation_ = 0;
  std::vector<std::thread> threads_;
};

SearchRequest Request(const std::string& dir, bool tree, int threads, std::string pattern = "x") {
  SearchRequest r;
  r.directory = dir;
  r.includeSubdirs = tree;
  r.threadLimit = threads;
  r.pattern = std::move(pattern);
  return r;
}

TEST(SearchEngine, HandsFilesOutInBatchesAndWaves) {
  struct Case {
    const char* what;
    bool tree;
    int threads;
    Names files;  // below C:\d
    std::vector<Names> groups;
  } cases[] = {
      {"tree, one worker", true, 1, {"a", "b", "c"}, {{"a"}, {"b"}, {"c"}}},
      {"tree, exactly N files", true, 3, {"a", "b", "c"}, {{"a", "b", "c"}}},
      {"tree, N + 1 files", true, 3, {"a", "b", "c", "d"}, {{"a", "b", "c"}, {"d"}}},
      // Own files first, then the last-listed folder; batches run across folders.
      {"tree, nested",
       true,
       2,
       {"f", "s1\\g1", "s1\\g2", "s2\\h", "s2\\t\\i"},
       {{"f", "s2\\h"}, {"s2\\t\\i", "s1\\g1"}, {"s1\\g2"}}},
      {"flat, first file alone", false, 2, {"a", "b", "c", "d", "e"}, {{"a"}, {"b", "c"}, {"d", "e"}}},
      {"flat, last wave partial", false, 3, {"a", "b", "c", "d", "e"}, {{"a"}, {"b", "c", "d"}, {"e"}}},
      {"flat, one worker", false, 1, {"a", "b"}, {{"a"}, {"b"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingView view;
    ScriptedSystem system(view);
    system.dirs.insert("C:\\d");
    for (const std::string& f : c.files) system.AddFile("C:\\d\\" + f, {"x"});
    for (const Names& g : c.groups) system.groups.push_back(g.size());
    SearchEngine engine(system, view);
    engine.StartSearch(Request("C:\\d", c.tree, c.threads));

    std::vector<Names> expected;
    for (const Names& g : c.groups) {
      Names paths;
      for (const std::string& f : g) paths.push_back("C:\\d\\" + f);
      std::sort(paths.begin(), paths.end());
      expected.push_back(paths);
    }
    EXPECT_EQ(system.seenGroups, expected);
    EXPECT_EQ(system.gateFailures, Names{});
    Names rows(c.files);
    if (!c.tree) std::erase_if(rows, [](const std::string& f) { return f.find('\\') != std::string::npos; });
    EXPECT_EQ(view.RowSet(), std::set<std::string>(rows.begin(), rows.end()));
    EXPECT_EQ(view.status[0], Summary(7, static_cast<int>(rows.size())));
    EXPECT_EQ(system.beeps, 1);
    EXPECT_EQ(view.log.front(), "searching");
    EXPECT_EQ(view.log.back(), "idle");
  }
}

TEST(SearchEngine, TreeWalkCountsFilesAndStartsABatchOnlyWhenAFileFindsTheSlotsFull) {
  RecordingView view;
  ScriptedSystem system(view);
  for (const char* f : {"a", "b", "c", "d"}) system.AddFile(std::string("C:\\d\\") + f, {"x"});
  SearchEngine engine(system, view);
  engine.StartSearch(Request("C:\\d", true, 3));
  Names progress;
  for (const std::string& e : view.log)
    if (e.rfind("status1:", 0) == 0 || e.rfind("open:", 0) == 0) progress.push_back(e);
  // The first three wait in their slots until the fourth file finds them all taken;
  // the fourth waits for the final step.
  ASSERT_EQ(progress.size(), 8u);
  std::sort(progress.begin() + 3, progress.begin() + 6);
  EXPECT_EQ(progress, (Names{"status1:1", "status1:2", "status1:3", "open:C:\\d\\a", "open:C:\\d\\b", "open:C:\\d\\c",
                             "status1:4", "open:C:\\d\\d"}));
}

TEST(SearchEngine, FlatWalkTakesArchivedEntriesAndExaminesTheFirstOnTheCallingThread) {
  RecordingView view;
  ScriptedSystem system(view);
  system.AddFile("C:\\d\\a.txt", {"x"});
  system.AddFile("C:\\d\\b.txt", {"x"});
  system.AddFile("C:\\d\\plain.txt", {"x", false});  // archive attribute clear
  system.AddFile("C:\\d\\z.txt", {"x"});
  system.AddFile("C:\\d\\sub\\deep.txt", {"x"});
  SearchEngine engine(system, view);

  engine.StartSearch(Request("C:\\d", false, 5));
  ASSERT_EQ(system.Opened().size(), 3u);
  EXPECT_EQ(system.opened[0], "C:\\d\\a.txt");
  EXPECT_EQ(system.openedOn[0], std::this_thread::get_id());
  for (size_t i = 1; i < system.openedOn.size(); ++i) EXPECT_NE(system.openedOn[i], std::this_thread::get_id());
  EXPECT_EQ(view.RowSet(), (std::set<std::string>{"a.txt", "b.txt", "z.txt"}));
  EXPECT_EQ(view.status.count(1), 0u);

  // The tree walk takes every file, archived or not.
  engine.StartSearch(Request("C:\\d", true, 5));
  EXPECT_EQ(view.RowSet(), (std::set<std::string>{"a.txt", "b.txt", "plain.txt", "z.txt", "sub\\deep.txt"}));
  EXPECT_EQ(view.status[0], Summary(7, 5));
}

TEST(SearchEngine, StopDuringTreeWalkStillExaminesTheFilesInSlots) {
  RecordingView view;
  ScriptedSystem system(view);
  for (int i = 0; i < 10; ++i) system.AddFile("C:\\d\\f" + std::to_string(i), {"x"});
  SearchEngine engine(system, view);
  // Events are processed when the search starts (1), after the folder listing (2) and
  // after each worker start (3, 4, 5): 停止 pressed while the first batch starts.
  system.onPump = [&](int pump) {
    if (pump == 3) engine.RequestStop();
  };
  engine.StartSearch(Request("C:\\d", true, 3));
  Names opened = system.Opened();
  std::sort(opened.begin(), opened.end());
  EXPECT_EQ(opened, (Names{"C:\\d\\f0", "C:\\d\\f1", "C:\\d\\f2", "C:\\d\\f3"}));  // f4 was fetched and dropped
  EXPECT_EQ(view.status[1], "4");
  EXPECT_EQ(view.status[0], Summary(7, 4));

  // The stop was consumed: the next search runs to the end.
  system.onPump = nullptr;
  engine.StartSearch(Request("C:\\d", true, 3));
  EXPECT_EQ(view.RowSet().size(), 10u);
}

TEST(SearchEngine, StopEndsTheReadingOfALargeFileWithinOnePiece) {
  // A 64 MiB file read in 1K pieces; 停止 (or closing the window) is pressed while the
  // worker is inside its third piece.
  struct Shared {
    std::atomic<int> reads{0};
    std::atomic<bool> pressed{false};
  };
  struct SlowReader : PieceReader {
    Shared* shared;
    uint64_t at = 0;
    uint64_t Size() const override { return 64ull << 20; }
    size_t Read(char* into, size_t max) override {
      if (++shared->reads == 3) {
        for (int i = 0; i < 500 && !shared->pressed; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      const size_t n = static_cast<size_t>(std::min<uint64_t>(max, Size() - at));
      std::memset(into, 'a', n);
      at += n;
      return n;
    }
  };
  struct SlowSystem : ScriptedSystem {
    using ScriptedSystem::ScriptedSystem;
    Shared shared;
    std::unique_ptr<PieceReader> OpenForReading(const std::string& path) override {
      if (!path.ends_with("big.bin")) return ScriptedSystem::OpenForReading(path);
      auto reader = std::make_unique<SlowReader>();
      reader->shared = &shared;
      return reader;
    }
  };
  for (bool tree : {true, false}) {
    SCOPED_TRACE(tree ? "tree" : "flat");
    RecordingView view;
    SlowSystem system(view);
    // In the flat walk the first file is examined on the calling thread: put a small
    // one first so the large one goes to a worker.
    system.AddFile("C:\\d\\a", {"x"});
    system.AddFile("C:\\d\\big.bin", {});
    SearchEngine engine(system, view);
    system.onPump = [&](int) {
      if (system.shared.reads >= 3 && !system.shared.pressed) {
        engine.RequestStop();
        system.shared.pressed = true;
      }
    };
    SearchRequest request = Request("C:\\d", tree, 2, "needle");
    request.chunkSize = 1024;
    engine.StartSearch(request);
    EXPECT_TRUE(system.shared.pressed);
    EXPECT_LE(system.shared.reads.load(), 4);  // at most one piece after the stop
    EXPECT_TRUE(view.status[0].rfind(kSummaryPrefix, 0) == 0) << view.status[0];
    EXPECT_EQ(view.log.back(), "idle");
  }
}

TEST(SearchEngine, StopLeftPendingByTheFinalBatchDoesNotEndTheNextSearch) {
  for (bool tree : {true, false}) {
    SCOPED_TRACE(tree ? "next search: tree" : "next search: flat");
    RecordingView view;
    ScriptedSystem system(view);
    for (int i = 0; i < 8; ++i) system.AddFile("C:\\d\\f" + std::to_string(i), {"x"});
    SearchEngine engine(system, view);
    // All eight files sit in slots; 停止 is pressed while the final batch starts (events
    // are processed at the start, after the listing, then after each start), after the
    // walk's last check.
    system.onPump = [&](int pump) {
      if (pump == 3) engine.RequestStop();
    };
    engine.StartSearch(Request("C:\\d", true, 20));
    EXPECT_EQ(view.RowSet().size(), 8u);
    system.onPump = nullptr;
    engine.StartSearch(Request("C:\\d", tree, 2));
    EXPECT_EQ(view.RowSet().size(), 8u);
    EXPECT_EQ(view.status[0], Summary(7, 8));
  }
}

TEST(SearchEngine, BadInputEndsWithASummaryAndNoHang) {
  struct Case {
    const char* what;
    std::string dir;
    std::string pattern;
    std::set<std::string> rows;
    size_t opened;
  } cases[] = {
      {"missing directory", "C:\\missing", "x", {}, 0},
      {"empty directory", "C:\\empty", "x", {}, 0},
      {"locked and unreadable files", "C:\\d", "x", {"ok.txt"}, 3},
      {"empty pattern", "C:\\d", "", {}, 0},
      {"letter case counts", "C:\\d", "X", {}, 3},
  };
  for (bool tree : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (tree ? " (tree)" : " (flat)"));
      RecordingView view;
      ScriptedSystem system(view);
      system.dirs.insert("C:\\empty");
      system.AddFile("C:\\d\\locked.txt", {"x", true, true});
      system.AddFile("C:\\d\\ok.txt", {"x"});
      system.AddFile("C:\\d\\zero.txt", {""});
      SearchEngine engine(system, view);
      engine.StartSearch(Request(c.dir, tree, 2, c.pattern));
      EXPECT_EQ(view.RowSet(), c.rows);
      EXPECT_EQ(system.Opened().size(), c.opened);
      EXPECT_EQ(view.status[0], Summary(7, static_cast<int>(c.rows.size())));
      if (c.opened == 0 && c.pattern == "x") {
        EXPECT_EQ(view.status.count(1), 0u);  // no file, no count
      }
    }
  }
}

TEST(SearchEngine, ResultRowIsTheNameWithoutTheSearchDirectory) {
  struct Case {
    const char* name;
    const char* dir;
    const char* row;
  } cases[] = {
      {"C:\\d\\sub\\a.txt", "C:\\d\\", "sub\\a.txt"},
      {"a.txt", "C:\\d\\", "a.txt"},
      {"C:\\D\\Sub\\a.txt", "c:\\d\\", "Sub\\a.txt"},  // ASCII letters without case
      {"C:\\\\x\\a.txt", "C:\\\\", "x\\a.txt"},        // the drive root doubles its backslash
      {"C:\\文档\\文档\\a", "C:\\文档\\", "文档\\a"},
      // Only the leading search directory goes: the same text further on is part of the name.
      {"\\Windows\\System32\\a.dll", "\\", "Windows\\System32\\a.dll"},
      {"docs\\xdocs\\a.txt", "docs\\", "xdocs\\a.txt"},
      {"C:\\d\\sub\\C:\\d\\x", "C:\\d\\", "sub\\C:\\d\\x"},
      {"x\\C:\\d\\a", "C:\\d\\", "x\\C:\\d\\a"},
  };
  for (const Case& c : cases) EXPECT_EQ(ResultRowText(c.name, c.dir), c.row) << c.name;
}

// ---- the real system of the platform, on files in a scratch folder ----

namespace fs = std::filesystem;

// Keeps the largest read asked for and the pieces each file gave.
class MeasuringSystem : public SearchSystem {
 public:
  std::unique_ptr<DirectoryListing> List(const std::string& folder, ListFilter filter) override {
    return real_->List(folder, filter);
  }
  std::unique_ptr<PieceReader> OpenForReading(const std::string& path) override {
    struct Reader : PieceReader {
      std::unique_ptr<PieceReader> real;
      MeasuringSystem* owner;
      std::string path;
      uint64_t Size() const override { return real->Size(); }
      size_t Read(char* into, size_t max) override {
        const size_t got = real->Read(into, max);
        std::lock_guard<std::mutex> lock(owner->mutex_);
        owner->largestRead = std::max(owner->largestRead, max);
        if (got) ++owner->pieces[path];
        return got;
      }
    };
    std::unique_ptr<PieceReader> real = real_->OpenForReading(path);
    if (!real) return nullptr;
    auto reader = std::make_unique<Reader>();
    reader->real = std::move(real);
    reader->owner = this;
    reader->path = path.substr(path.rfind('\\') + 1);
    return reader;
  }
  bool StartWorker(std::function<void()> job) override { return real_->StartWorker(std::move(job)); }
  bool ProcessPendingEvents() override { return real_->ProcessPendingEvents(); }
  uint32_t TickCount() override { return real_->TickCount(); }
  void Beep() override {}

  size_t largestRead = 0;
  std::map<std::string, int> pieces;

 private:
  std::unique_ptr<SearchSystem> real_ = MakeSearchSystem();
  std::mutex mutex_;
};

class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("velkor_search_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "_" +
             std::to_string(++counter));
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string Text() const { return path_.string(); }
  // Writes `size` filler bytes with `insert` at `at`.
  void Write(const std::string& relative, size_t size, const std::string& insert = "", size_t at = 0) const {
    std::string bytes(size, 'a');
    bytes.replace(at, insert.size(), insert);
    bytes.resize(size);
    const fs::path file = path_ / fs::path(relative);
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  fs::path operator/(const std::string& relative) const { return path_ / relative; }

 private:
  fs::path path_;
};

TEST(SearchEngineOnFiles, FindsPatternsAcrossPiecesAndAtTheLastByte) {
  ScratchDir dir;
  const std::string p = *HexToBytes("515A584A4B");  // "QZXJK"
  std::string longPattern(3000, '\0');
  for (size_t i = 0; i < longPattern.size(); ++i) longPattern[i] = static_cast<char>('A' + (i * 7919) % 26);
  constexpr size_t kPiece = 1024;
  struct Case {
    const char* name;
    size_t size;
    std::string insert;
    size_t at;
    bool found;
    int pieces;
  } cases[] = {
      {"inside.bin", 4096, p, 100, true, 1},
      {"across.bin", 4096, p, kPiece - 2, true, 2},
      {"one_piece_last_byte.bin", kPiece, p, kPiece - 5, true, 1},
      {"piece_plus_one_last_byte.bin", kPiece + 1, p, kPiece - 4, true, 2},
      {"cut_at_end.bin", kPiece + 1, p.substr(0, 4), kPiece - 3, false, 2},
      {"far.bin", 100000, p, 100000 - 5, true, 98},
      {"none.bin", 2048, "", 0, false, 2},
      {"sub\\deeper\\deep_across.bin", 3000, p, 2 * kPiece - 1, true, 3},
      {"longer_than_a_piece.bin", 10000, longPattern, 2500, false, 10},
      {"empty.bin", 0, "", 0, false, 0},
  };
  for (const Case& c : cases) {
    std::string relative = c.name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    dir.Write(relative, c.size, c.insert, c.at);
  }

  RecordingView view;
  MeasuringSystem system;
  SearchEngine engine(system, view);
  SearchRequest request = Request(dir.Text(), true, 5, p);
  request.chunkSize = kPiece;
  engine.StartSearch(request);
  std::set<std::string> expected;
  for (const Case& c : cases) {
    if (c.found) expected.insert(c.name);
    const std::string bare = std::string(c.name).substr(std::string(c.name).rfind('\\') + 1);
    EXPECT_EQ(system.pieces[bare], c.pieces) << c.name;
  }
  EXPECT_EQ(view.RowSet(), expected);
  EXPECT_EQ(system.largestRead, kPiece);

  // A pattern three pieces long.
  dir.Write("long.bin", 10000, longPattern, 2500);
  request.pattern = longPattern;
  engine.StartSearch(request);
  EXPECT_EQ(view.RowSet(), (std::set<std::string>{"long.bin", "longer_than_a_piece.bin"}));

  // The flat walk finds the same top-level files and shows bare names.
  request.includeSubdirs = false;
  request.pattern = p;
  engine.StartSearch(request);
  EXPECT_EQ(view.RowSet(), (std::set<std::string>{"inside.bin", "across.bin", "one_piece_last_byte.bin",
                                                  "piece_plus_one_last_byte.bin", "far.bin"}));
}

TEST(SearchEngineOnFiles, MissingDirectoryGivesAnEmptySearch) {
  ScratchDir dir;
  for (bool tree : {true, false}) {
    RecordingView view;
    std::unique_ptr<SearchSystem> system = MakeSearchSystem();
    SearchEngine engine(*system, view);
    engine.StartSearch(Request((dir / "missing").string(), tree, 5));
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.status.count(1), 0u);
    EXPECT_TRUE(view.status[0].rfind(kSummaryPrefix, 0) == 0 && view.status[0].ends_with("找到文件总数0"))
        << view.status[0];
  }
}

TEST(SearchEngine, TenGibibyteFileIsReadInPieces) {
  // A file of zeros with the pattern across the boundary of the last two 10M pieces:
  // the file passes through one buffer in reads of at most kLargestRead bytes, past
  // every 32-bit offset, until the hit.
  static constexpr uint64_t kSize = 10ull << 30;
  static constexpr size_t kPiece = 10485760;
  static constexpr uint64_t kAt = kSize - kPiece - 2;
  static const std::string pattern("MZ\x90\x00\x03", 5);
  struct Reads {
    size_t largest = 0;
    int pieces = 0;
  };
  struct ZeroReader : PieceReader {
    Reads* reads;
    uint64_t at = 0;
    uint64_t Size() const override { return kSize; }
    size_t Read(char* into, size_t max) override {
      reads->largest = std::max(reads->largest, max);
      ++reads->pieces;
      const size_t n = static_cast<size_t>(std::min<uint64_t>(max, kSize - at));
      std::memset(into, 0, n);
      for (size_t i = 0; i < pattern.size(); ++i)
        if (kAt + i >= at && kAt + i < at + n) into[kAt + i - at] = pattern[i];
      at += n;
      return n;
    }
  };
  struct BigFileSystem : ScriptedSystem {
    using ScriptedSystem::ScriptedSystem;
    Reads reads;
    std::unique_ptr<PieceReader> OpenForReading(const std::string&) override {
      auto reader = std::make_unique<ZeroReader>();
      reader->reads = &reads;
      return reader;
    }
  };
  RecordingView view;
  BigFileSystem system(view);
  system.AddFile("C:\\d\\big.bin", {});
  SearchEngine engine(system, view);
  SearchRequest request = Request("C:\\d", true, 20, pattern);
  request.chunkSize = kPiece;
  engine.StartSearch(request);
  EXPECT_EQ(view.rows, Names{"big.bin"});
  EXPECT_EQ(system.reads.largest, static_cast<size_t>(kLargestRead));
  EXPECT_EQ(system.reads.pieces, static_cast<int>((kAt + pattern.size()) / kLargestRead) + 1);
}

}  // namespace
}  // namespace velkor
