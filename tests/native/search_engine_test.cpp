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
  void AddResults(const std::vector<std::string>& found) override {
    std::lock_guard<std::mutex> lock(mutex_);
    rows.insert(rows.end(), found.begin(), found.end());
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

// An in-memory tree behind the search's system parts. Workers are real threads. A file
// named in `held` is opened only once the test releases it, which shows how many
// files are examined at once and when a slot is handed out again.
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

  // Folders first ("." and ".." included), then files, each in name order.
  std::unique_ptr<DirectoryListing> List(const std::string& folder) override {
    struct Listing : DirectoryListing {
      std::vector<ListedEntry> entries;
      size_t next = 0;
      bool Next(ListedEntry& entry) override {
        if (next >= entries.size()) return false;
        entry = entries[next++];
        return true;
      }
    };
    auto listing = std::make_unique<Listing>();
    const std::string parent = folder.substr(0, folder.size() - 1);
    if (!dirs.count(parent)) return listing;
    listing->entries = {{".", true, false, false}, {"..", true, false, false}};
    auto child = [&](const std::string& path) -> std::string {
      return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                     path.find('\\', folder.size()) == std::string::npos
                 ? path.substr(folder.size())
                 : std::string();
    };
    for (const std::string& d : dirs)
      if (const std::string name = child(d); !name.empty())
        listing->entries.push_back({name, true, links.count(d) > 0, false});
    for (const auto& [path, file] : files)
      if (const std::string name = child(path); !name.empty())
        listing->entries.push_back({name, false, false, file.archive});
    return listing;
  }

  std::unique_ptr<PieceReader> OpenForReading(const std::string& path) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      opened.push_back(path);
      openedOn.push_back(std::this_thread::get_id());
    }
    view_.Note("open:" + path);
    Hold(path);
    OpenCount counted{this};
    auto it = files.find(path);
    if (it == files.end() || it->second.locked) return nullptr;
    struct Reader : PieceReader {
      std::string contents;
      size_t at = 0;
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
  int MostOpenAtOnce() {
    std::lock_guard<std::mutex> lock(mutex_);
    return mostOpen_;
  }
  void Release(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    held.erase(path);
    released_.notify_all();
  }

  std::map<std::string, File> files;
  std::set<std::string> dirs;
  std::set<std::string> links;  // folders listed as links
  std::set<std::string> held;
  std::function<void(int)> onPump;
  int pumps = 0;
  uint32_t ticks = 1000;
  int beeps = 0;
  Names opened;
  std::vector<std::thread::id> openedOn;
  bool heldTooLong = false;

 private:
  struct OpenCount {
    ScriptedSystem* system;
    ~OpenCount() {
      std::lock_guard<std::mutex> lock(system->mutex_);
      --system->open_;
    }
  };
  void Hold(const std::string& path) {
    std::unique_lock<std::mutex> lock(mutex_);
    mostOpen_ = std::max(mostOpen_, ++open_);
    if (!released_.wait_for(lock, std::chrono::seconds(5), [&] { return !held.count(path); })) heldTooLong = true;
  }

  RecordingView& view_;
  std::mutex mutex_;
  std::condition_variable released_;
  int open_ = 0, mostOpen_ = 0;
  std::vector<std::thread> threads_;
};

SearchRequest Request(const std::string& dir, bool tree, int threads, std::string pattern = "x") {
  SearchRequest r;
  r.directory = dir;
  r.includeSubdirs = tree;
  r.threadLimit = threads;
  r.patterns = {std::move(pattern)};
  return r;
}

TEST(SearchEngine, HandsFilesOutInWalkOrder) {
  struct Case {
    const char* what;
    bool tree;
    Names files;  // below C:\d
    Names order;  // as opened by one worker
  } cases[] = {
      {"tree, flat folder", true, {"a", "b", "c"}, {"a", "b", "c"}},
      // Own files first, then the last-listed folder; a folder link is not entered.
      {"tree, nested",
       true,
       {"f", "s1\\g1", "s1\\g2", "s2\\h", "s2\\t\\i", "z\\linked"},
       {"f", "s2\\h", "s2\\t\\i", "s1\\g1", "s1\\g2"}},
      {"flat", false, {"a", "b", "c", "sub\\d"}, {"a", "b", "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingView view;
    ScriptedSystem system(view);
    system.dirs.insert("C:\\d");
    for (const std::string& f : c.files) system.AddFile("C:\\d\\" + f, {"x"});
    system.links.insert("C:\\d\\z");
    SearchEngine engine(system, view);
    engine.StartSearch(Request("C:\\d", c.tree, 1));
    Names expected;
    for (const std::string& f : c.order) expected.push_back("C:\\d\\" + f);
    EXPECT_EQ(system.Opened(), expected);
    EXPECT_EQ(view.RowSet(), std::set<std::string>(c.order.begin(), c.order.end()));
    EXPECT_EQ(view.status[0], Summary(7, static_cast<int>(c.order.size())));
    if (c.tree) {
      EXPECT_EQ(view.status[1], std::to_string(c.order.size()));  // the final count, exactly
    } else {
      EXPECT_EQ(view.status.count(1), 0u);  // the flat walk keeps no count
    }
    EXPECT_EQ(system.beeps, 1);
    EXPECT_EQ(view.log.front(), "searching");
    EXPECT_EQ(view.log.back(), "idle");
  }
}

TEST(SearchEngine, ExaminesAtMostNFilesAtOnceAndRefillsEachSlotAsItsFileEnds) {
  for (bool tree : {true, false}) {
    SCOPED_TRACE(tree ? "tree" : "flat");
    RecordingView view;
    ScriptedSystem system(view);
    // In the flat walk the first file is examined before any worker starts.
    for (const char* f : {"a0", "f1", "f2", "f3", "f4", "f5"}) system.AddFile(std::string("C:\\d\\") + f, {"x"});
    system.held = {"C:\\d\\f1", "C:\\d\\f2", "C:\\d\\f3", "C:\\d\\f4"};
    SearchEngine engine(system, view);
    // Events are processed while the walk waits for a slot: with f1-f3 held (tree: a0 is
    // done), letting f2 go must start f4 at once, while f1 and f3 are still held.
    Names seenBeforeRelease, seenAfterRelease;
    bool released = false;
    system.onPump = [&](int) {
      const Names opened = system.Opened();
      if (!released && opened.size() == 4) {
        seenBeforeRelease = opened;
        std::sort(seenBeforeRelease.begin(), seenBeforeRelease.end());  // workers open in any order
        released = true;
        system.Release("C:\\d\\f2");
      } else if (released && seenAfterRelease.empty() && opened.size() == 5) {
        seenAfterRelease = opened;
        for (const char* f : {"C:\\d\\f1", "C:\\d\\f3", "C:\\d\\f4"}) system.Release(f);
      }
    };
    engine.StartSearch(Request("C:\\d", tree, 3));
    EXPECT_EQ(seenBeforeRelease, (Names{"C:\\d\\a0", "C:\\d\\f1", "C:\\d\\f2", "C:\\d\\f3"}));
    EXPECT_EQ(seenAfterRelease.size(), 5u);
    if (!seenAfterRelease.empty()) {
      EXPECT_EQ(seenAfterRelease.back(), "C:\\d\\f4");
    }
    EXPECT_LE(system.MostOpenAtOnce(), 3);
    EXPECT_FALSE(system.heldTooLong);
    EXPECT_EQ(view.RowSet().size(), 6u);
    EXPECT_EQ(view.status[0], Summary(7, 6));
  }
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

TEST(SearchEngine, StopEndsTheWalkButStillExaminesTheFilesHandedOut) {
  for (bool tree : {true, false}) {
    SCOPED_TRACE(tree ? "tree" : "flat");
    RecordingView view;
    ScriptedSystem system(view);
    for (int i = 0; i < 10; ++i) system.AddFile("C:\\d\\f" + std::to_string(i), {"x"});
    system.held = {"C:\\d\\f1", "C:\\d\\f2", "C:\\d\\f3"};
    SearchEngine engine(system, view);
    // 停止 is pressed while the walk waits for room, with f1-f3 held by the three
    // workers (tree: f0 is done; flat: f0 was examined first) and f4-f6 queued. The
    // walk ends after the file it was handing out (f7); every file handed out is still
    // examined.
    system.onPump = [&](int) {
      if (system.Opened().size() == 4 && system.held.size() == 3) {
        engine.RequestStop();
        for (const char* f : {"C:\\d\\f1", "C:\\d\\f2", "C:\\d\\f3"}) system.Release(f);
      }
    };
    engine.StartSearch(Request("C:\\d", tree, 3));
    Names opened = system.Opened();
    std::sort(opened.begin(), opened.end());
    // f7 is handed out only when the walk had already taken it when the stop came: on
    // a busy machine the flat walk may not have, so it may stop after f6.
    Names expected;
    for (size_t i = 0; i < std::max<size_t>(opened.size(), 7); ++i) expected.push_back("C:\\d\\f" + std::to_string(i));
    EXPECT_TRUE(opened.size() == 8 || (!tree && opened.size() == 7)) << opened.size();
    EXPECT_EQ(opened, expected);
    const int examined = static_cast<int>(opened.size());
    if (tree) {
      EXPECT_EQ(view.status[1], std::to_string(examined));
    }
    EXPECT_EQ(view.status[0], Summary(7, examined));

    // The stop was consumed: the next search runs to the end. A stop pressed between
    // two searches does not end the next one either.
    system.onPump = nullptr;
    engine.RequestStop();
    engine.StartSearch(Request("C:\\d", tree, 3));
    EXPECT_EQ(view.RowSet().size(), 10u);
  }
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
    size_t Read(char* into, size_t max) override {
      if (++shared->reads == 3) {
        for (int i = 0; i < 500 && !shared->pressed; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      const size_t n = static_cast<size_t>(std::min<uint64_t>(max, (64ull << 20) - at));
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
  std::unique_ptr<DirectoryListing> List(const std::string& folder) override { return real_->List(folder); }
  std::unique_ptr<PieceReader> OpenForReading(const std::string& path) override {
    struct Reader : PieceReader {
      std::unique_ptr<PieceReader> real;
      MeasuringSystem* owner;
      std::string path;
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
  request.patterns = {longPattern};
  engine.StartSearch(request);
  EXPECT_EQ(view.RowSet(), (std::set<std::string>{"long.bin", "longer_than_a_piece.bin"}));

  // The flat walk finds the same top-level files and shows bare names.
  request.includeSubdirs = false;
  request.patterns = {p};
  engine.StartSearch(request);
  EXPECT_EQ(view.RowSet(), (std::set<std::string>{"inside.bin", "across.bin", "one_piece_last_byte.bin",
                                                  "piece_plus_one_last_byte.bin", "far.bin"}));
}

TEST(SearchEngineOnFiles, FindsAWordInEveryEncodingItIsSavedIn) {
  // 工作 saved as GBK, UTF-8, UTF-16LE with and without its mark and UTF-16BE with its
  // mark; once near the start and once across the boundary of two 1K pieces.
  const std::string gbk = "\xB9\xA4\xD7\xF7", utf8 = "工作";
  const std::string le = std::string("\xE5\x5D\x5C\x4F", 4), be = std::string("\x5D\xE5\x4F\x5C", 4);
  const std::string leMark = "\xFF\xFE", beMark = "\xFE\xFF";
  struct Saved {
    const char* name;
    std::string start, word;
  } saved[] = {{"gbk", "", gbk},    {"utf8", "\xEF\xBB\xBF", utf8}, {"utf16le_mark", leMark, le},
               {"utf16le", "", le}, {"utf16be_mark", beMark, be},   {"be_without_mark", "", be}};
  ScratchDir dir;
  for (const Saved& f : saved) {
    for (size_t at : {size_t{10}, size_t{1022}}) {
      const std::string name = std::string(f.name) + (at == 10 ? "_start.txt" : "_across.txt");
      dir.Write(name, 4096, f.start + std::string(at - f.start.size(), 'a') + f.word, 0);
    }
  }
  RecordingView view;
  std::unique_ptr<SearchSystem> system = MakeSearchSystem();
  SearchEngine engine(*system, view);
  SearchRequest request = Request(dir.Text(), true, 3, gbk);
  request.chunkSize = 1024;
  engine.StartSearch(request);
  EXPECT_EQ(view.RowSet(), (std::set<std::string>{"gbk_start.txt", "gbk_across.txt"}));

  request.patterns = {gbk, utf8, le};
  request.afterBigEndianMark = {be};
  request.summaryNote = "!";
  engine.StartSearch(request);
  std::set<std::string> all;
  for (const Saved& f : saved)
    if (std::string(f.name) != "be_without_mark")
      all.insert({std::string(f.name) + "_start.txt", std::string(f.name) + "_across.txt"});
  EXPECT_EQ(view.RowSet(), all);
  EXPECT_EQ(view.rows.size(), all.size());  // each file once
  EXPECT_TRUE(view.status[0].ends_with("找到文件总数10!")) << view.status[0];
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
  // the file passes through one buffer in reads of the chosen piece, past every 32-bit
  // offset, until the hit.
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
  EXPECT_EQ(system.reads.largest, kPiece);
  EXPECT_EQ(system.reads.pieces, static_cast<int>((kAt + pattern.size()) / kPiece) + 1);
}

}  // namespace
}  // namespace velkor
