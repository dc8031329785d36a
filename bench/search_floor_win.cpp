// The floor the search is measured against under Wine: one thread, a FindFirstFileW
// walk, CreateFileW + ReadFile in 256 KiB pieces and memchr, nothing else. Prints its
// milliseconds, then, with --rows, the files holding the pattern ("/" separated,
// relative to DIR).
//   search_floor DIR HEXPATTERN [--rows]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/text_win.h"

namespace {

constexpr size_t kPiece = 262144;

bool Holds(const std::string& pattern, const char* data, size_t size) {
  const size_t m = pattern.size();
  for (size_t at = 0; at + m <= size;) {
    const void* hit = std::memchr(data + at, pattern[0], size - m + 1 - at);
    if (!hit) return false;
    at = static_cast<size_t>(static_cast<const char*>(hit) - data);
    if (std::memcmp(data + at, pattern.data(), m) == 0) return true;
    ++at;
  }
  return false;
}

bool FileHolds(const std::wstring& path, const std::string& pattern, std::vector<char>& buffer) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  size_t carried = 0;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer.data() + carried, kPiece, &got, nullptr) || got == 0) break;
    const size_t held = carried + got;
    if ((found = Holds(pattern, buffer.data(), held))) break;
    carried = std::min(pattern.size() - 1, held);
    std::memmove(buffer.data(), buffer.data() + held - carried, carried);
  }
  CloseHandle(file);
  return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: search_floor DIR HEXPATTERN [--rows]\n");
    return 2;
  }
  const std::string hex = velkor::Narrow(argv[2]);
  std::string pattern;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    pattern.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  if (pattern.empty()) return 2;
  const bool rows = argc > 3 && std::wstring(argv[3]) == L"--rows";
  std::vector<char> buffer(kPiece + pattern.size());
  std::vector<std::wstring> found;

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  std::vector<std::wstring> folders{L""};
  const std::wstring root = std::wstring(argv[1]) + L"\\";
  while (!folders.empty()) {
    const std::wstring folder = folders.back();
    folders.pop_back();
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((root + folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) continue;
    do {
      const std::wstring name = data.cFileName;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (name != L"." && name != L".." && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
          folders.push_back(folder + name + L"\\");
      } else if (FileHolds(root + folder + name, pattern, buffer)) {
        found.push_back(folder + name);
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  QueryPerformanceCounter(&end);
  std::printf("%.3f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart);
  if (rows) {
    for (const std::wstring& f : found) {
      std::string line = velkor::Narrow(f);
      for (char& c : line)
        if (c == '\\') c = '/';
      std::printf("%s\n", line.c_str());
    }
  }
  return 0;
}
