// The search's system parts on POSIX, so the engine runs natively in tests and
// benchmarks. "\" separates path parts as on Windows and becomes "/" here; there is
// no archive attribute, so every entry that is not a directory counts as archived.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

#include "tools/search_system.h"
#include "tools/worker_pool.h"

namespace velkor {
namespace {

std::string NativePath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

class PosixListing : public DirectoryListing {
 public:
  explicit PosixListing(const std::string& folder) : folder_(NativePath(folder)), dir_(opendir(folder_.c_str())) {}
  ~PosixListing() override {
    if (dir_) closedir(dir_);
  }

  bool Next(ListedEntry& entry) override {
    if (!dir_) return false;
    const dirent* found = readdir(dir_);
    if (!found) {
      closedir(dir_);
      dir_ = nullptr;
      return false;
    }
    entry.name = found->d_name;
    unsigned char type = found->d_type;
    if (type == DT_UNKNOWN) {
      struct stat st;
      type = lstat((folder_ + found->d_name).c_str(), &st) != 0 ? DT_UNKNOWN
             : S_ISDIR(st.st_mode)                              ? DT_DIR
             : S_ISLNK(st.st_mode)                              ? DT_LNK
                                                                : DT_REG;
    }
    // Links are entries of their own, never followed into another tree.
    entry.directory = type == DT_DIR;
    entry.link = type == DT_LNK;
    entry.archive = !entry.directory;
    return true;
  }

 private:
  std::string folder_;
  DIR* dir_;
};

class PosixReader : public PieceReader {
 public:
  explicit PosixReader(int fd) : fd_(fd) {}
  ~PosixReader() override { close(fd_); }
  size_t Read(char* into, size_t max) override {
    // A short read of a regular file means its end, but read() may stop early on a
    // signal: fill what was asked for.
    size_t total = 0;
    while (total < max) {
      const ssize_t got = read(fd_, into + total, max - total);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      total += static_cast<size_t>(got);
    }
    return total;
  }

 private:
  int fd_;
};

class PosixSearchSystem : public SearchSystem {
 public:
  std::unique_ptr<DirectoryListing> List(const std::string& folder) override {
    return std::make_unique<PosixListing>(folder);
  }

  std::unique_ptr<PieceReader> OpenForReading(const std::string& path) override {
    // Non-blocking, so a FIFO in the tree cannot hang the open; only regular files are read.
    const int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      close(fd);
      return nullptr;
    }
    return std::make_unique<PosixReader>(fd);
  }

  bool StartWorker(std::function<void()> job) override { return pool_.Run(std::move(job)); }

  bool ProcessPendingEvents() override { return true; }  // no window here

  uint32_t TickCount() override {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
  }

  void Beep() override {}  // no sound natively

 private:
  // On Linux the nice value belongs to the thread; lowering it may need privileges.
  // The engine keeps the files at once within the chosen count; the pool runs them all.
  WorkerPool pool_{[nice = getpriority(PRIO_PROCESS, 0) - 1] { setpriority(PRIO_PROCESS, 0, nice); }, kMostWorkers};
};

}  // namespace

std::unique_ptr<SearchSystem> MakeSearchSystem() { return std::make_unique<PosixSearchSystem>(); }

}  // namespace velkor
