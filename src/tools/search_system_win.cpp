#include "tools/search_system_win.h"

#include "platform/handles_win.h"
#include "platform/text_win.h"
#include "platform/win_util_win.h"

namespace velkor {
namespace {

// Paths longer than MAX_PATH reach the file system only with the \\?\ prefix (which
// also turns off the parsing of "." and ".." and of "/").
std::wstring LongPath(const std::string& path) {
  std::wstring wide = Widen(path);
  if (wide.size() < MAX_PATH - 12) return wide;
  if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
  if (wide.rfind(L"\\\\", 0) == 0 && wide.rfind(L"\\\\?\\", 0) != 0) return L"\\\\?\\UNC\\" + wide.substr(2);
  return wide;
}

class Win32Listing : public DirectoryListing {
 public:
  explicit Win32Listing(const std::string& folder)
      : find_(FindFirstFileExW(LongPath(folder + "*").c_str(), FindExInfoBasic, &data_, FindExSearchNameMatch, nullptr,
                               FIND_FIRST_EX_LARGE_FETCH)) {
    // Windows before 7 knows neither the basic level nor the large fetch.
    if (!find_ && GetLastError() == ERROR_INVALID_PARAMETER)
      find_.reset(FindFirstFileW(LongPath(folder + "*").c_str(), &data_));
  }

  bool Next(ListedEntry& entry) override {
    if (!find_) return false;
    const DWORD attributes = data_.dwFileAttributes;
    entry.name = Narrow(data_.cFileName);
    entry.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A folder link (junction or symbolic link) is never walked into: a link to "."
    // or to a parent would repeat the tree without end.
    entry.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry.archive = (attributes & FILE_ATTRIBUTE_ARCHIVE) != 0;
    if (!FindNextFileW(find_.get(), &data_)) find_.reset();
    return true;
  }

 private:
  WIN32_FIND_DATAW data_{};
  UniqueFind find_;
};

class Win32Reader : public PieceReader {
 public:
  explicit Win32Reader(UniqueFile file) : file_(std::move(file)) {}
  size_t Read(char* into, size_t max) override {
    DWORD got = 0;
    if (!ReadFile(file_.get(), into, static_cast<DWORD>(max), &got, nullptr)) return 0;
    return got;
  }

 private:
  UniqueFile file_;
};

}  // namespace

std::unique_ptr<DirectoryListing> Win32SearchSystem::List(const std::string& folder) {
  return std::make_unique<Win32Listing>(folder);
}

std::unique_ptr<PieceReader> Win32SearchSystem::OpenForReading(const std::string& path) {
  UniqueFile file(CreateFileW(LongPath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32Reader>(std::move(file));
}

bool Win32SearchSystem::StartWorker(std::function<void()> job) { return pool_.Run(std::move(job)); }

// A quit met here is posted again for the main loop, which ends once the search has.
bool Win32SearchSystem::ProcessPendingEvents() { return PumpPendingMessages(); }

ScopedPriorityClass::ScopedPriorityClass(DWORD priorityClass) : previous_(GetPriorityClass(GetCurrentProcess())) {
  if (previous_) SetPriorityClass(GetCurrentProcess(), priorityClass);
}

ScopedPriorityClass::~ScopedPriorityClass() {
  if (previous_) SetPriorityClass(GetCurrentProcess(), previous_);
}

std::unique_ptr<SearchSystem> MakeSearchSystem() { return std::make_unique<Win32SearchSystem>(); }

}  // namespace velkor
