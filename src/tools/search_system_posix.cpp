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
  PosixListing(const std::string& folder, ListFilter filter)
      : folder_(NativePath(folder)), dir_(opendir(folder_.c_str())), filter_(filter) {}
  ~PosixListing() override {
    if (dir_) closedir(dir_);
  }

  std::string Next() override {
    while (dir_) {
      const dirent* entry = readdir(dir_);
      if (!entry) {
        closedir(dir_);
        dir_ = nullptr;
        break;
      }
      const bool directory = IsDirectory(*entry);
      if ((filter_ == ListFilter::Directories) == directory) return entry->d_name;
    }
    return {};
  }

 private:
  // Links are entries of their own, never followed into another tree.
  bool IsDirectory(const dirent& entry) const {
    if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
    struct stat st;
    return lstat((folder_ + entry.d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  std::string folder_;
  DIR* dir_;
  ListFilter filter_;
};

class PosixReader : public PieceReader {
 public:
  PosixReader(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~PosixReader() override { close(fd_); }
  uint64_t Size() const override { return size_; }
  size_t Read(char* into, size_t max) override {
    ssize_t got;
    do {
      got = read(fd_, into, max);
    } while (got < 0 && errno == EINTR);
    return got > 0 ? static_cast<size_t>(got) : 0;
  }

 private:
  int fd_;
  uint64_t size_;
};

class PosixSearchSystem : public SearchSystem {
 public:
  std::unique_ptr<DirectoryListing> List(const std::string& folder, ListFilter filter) override {
    return std::make_unique<PosixListing>(folder, filter);
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
    return std::make_unique<PosixReader>(fd, static_cast<uint64_t>(st.st_size));
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
  WorkerPool pool_{[nice = getpriority(PRIO_PROCESS, 0) - 1] { setpriority(PRIO_PROCESS, 0, nice); }};
};

}  // namespace

std::unique_ptr<SearchSystem> MakeSearchSystem() { return std::make_unique<PosixSearchSystem>(); }

}  // namespace velkor
