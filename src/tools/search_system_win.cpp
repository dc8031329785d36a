#include "tools/search_system_win.h"

#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace velkor {
namespace {

class Win32Listing : public DirectoryListing {
 public:
  Win32Listing(const std::string& folder, ListFilter filter)
      : find_(FindFirstFileW(Widen(folder + "*.*").c_str(), &data_)), filter_(filter) {}

  std::string Next() override {
    while (find_) {
      const bool passes = Passes(data_.dwFileAttributes);
      const std::string name = passes ? Narrow(data_.cFileName) : std::string();
      if (!FindNextFileW(find_.get(), &data_)) find_.reset();
      if (passes) return name;
    }
    return {};
  }

 private:
  bool Passes(DWORD attributes) const {
    switch (filter_) {
      // A folder link (junction or symbolic link) is never walked into: a link to "."
      // or to a parent would repeat the tree without end.
      case ListFilter::Directories:
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
      case ListFilter::Files: return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
      case ListFilter::Archive: return (attributes & FILE_ATTRIBUTE_ARCHIVE) != 0;
    }
    return false;
  }

  WIN32_FIND_DATAW data_{};
  UniqueFind find_;
  ListFilter filter_;
};

class Win32Reader : public PieceReader {
 public:
  Win32Reader(UniqueFile file, uint64_t size) : file_(std::move(file)), size_(size) {}
  uint64_t Size() const override { return size_; }
  size_t Read(char* into, size_t max) override {
    DWORD got = 0;
    if (!ReadFile(file_.get(), into, static_cast<DWORD>(max), &got, nullptr)) return 0;
    return got;
  }

 private:
  UniqueFile file_;
  uint64_t size_;
};

}  // namespace

std::unique_ptr<DirectoryListing> Win32SearchSystem::List(const std::string& folder, ListFilter filter) {
  return std::make_unique<Win32Listing>(folder, filter);
}

std::unique_ptr<PieceReader> Win32SearchSystem::OpenForReading(const std::string& path) {
  UniqueFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size)) return nullptr;
  return std::make_unique<Win32Reader>(std::move(file), static_cast<uint64_t>(size.QuadPart));
}

bool Win32SearchSystem::StartWorker(std::function<void()> job) { return pool_.Run(std::move(job)); }

bool Win32SearchSystem::ProcessPendingEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop, once the search has ended
      return false;
    }
    if (dialog_ && IsDialogMessageW(dialog_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

ScopedPriorityClass::ScopedPriorityClass(DWORD priorityClass) : previous_(GetPriorityClass(GetCurrentProcess())) {
  if (previous_) SetPriorityClass(GetCurrentProcess(), priorityClass);
}

ScopedPriorityClass::~ScopedPriorityClass() {
  if (previous_) SetPriorityClass(GetCurrentProcess(), previous_);
}

std::unique_ptr<SearchSystem> MakeSearchSystem() { return std::make_unique<Win32SearchSystem>(); }

}  // namespace velkor
