// Times the content search as the program runs it: the search window itself, driven
// as a user would (folder, pattern, worker count, piece size, then 查找), with its
// status bar, its result list and its event processing. Prints the milliseconds the
// click took, then, with --rows, the rows of the result list ("/" separated).
//   search_window_bench DIR HEXPATTERN THREADS CHUNKBYTES [--rows] [--text UTF8TEXT] [--one-form]
// With --text the pattern is typed into the text box instead of the hexadecimal one;
// --one-form unticks 多种编码.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "catalogue/catalogue_context.h"
#include "platform/platform_ops_win.h"
#include "platform/text_win.h"
#include "tools/search_window_win.h"

namespace {

using namespace velkor;

// The main list with nothing selected: the window opens with an empty folder box.
class NoRows : public RowList {
 public:
  int RowCount() const override { return 0; }
  int ColumnCount() const override { return kColumnCount; }
  std::string Cell(int, int) const override { return {}; }
  void SetCell(int, int, const std::string&) override {}
  CatalogueRow Row(int) const override { return {}; }
  int AppendRow(const CatalogueRow&) override { return -1; }
  void DeleteRow(int) override {}
  void Clear() override {}
  int Selected() const override { return -1; }
};

template <size_t N>
int ChoiceIndex(const SearchChoice (&choices)[N], int value) {
  for (size_t i = 0; i < N; ++i)
    if (choices[i].value == value) return static_cast<int>(i);
  std::fprintf(stderr, "%d is not offered by the window\n", value);
  std::exit(2);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: search_window_bench DIR HEXPATTERN THREADS CHUNKBYTES [--rows] [--text UTF8TEXT]\n");
    return 2;
  }
  bool rows = false, oneForm = false;
  std::wstring text;
  for (int i = 5; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--rows") rows = true;
    if (std::wstring(argv[i]) == L"--one-form") oneForm = true;
    if (std::wstring(argv[i]) == L"--text" && i + 1 < argc) text = argv[++i];
  }
  INITCOMMONCONTROLSEX icc{sizeof(icc),
                           ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  Win32PlatformOps ops;
  NoRows noRows;
  const AppPaths paths{"C:", "bench.exe"};
  CatalogueContext context{ops, noRows, paths};
  SearchWindow window(context);
  window.OpenOnce();
  HWND w = window.Handle();
  if (!w) return 1;
  SetDlgItemTextW(w, kIdSearchDir, argv[1]);
  if (text.empty()) {
    SendDlgItemMessageW(w, kIdHexMode, BM_CLICK, 0, 0);
    SetDlgItemTextW(w, kIdHexPattern, argv[2]);
  } else {
    SetDlgItemTextW(w, kIdTextPattern, text.c_str());
  }
  if (oneForm) SendDlgItemMessageW(w, kIdMultiEncoding, BM_SETCHECK, BST_UNCHECKED, 0);
  SendDlgItemMessageW(w, kIdThreads, CB_SETCURSEL, ChoiceIndex(kThreadLimitChoices, _wtoi(argv[3])), 0);
  SendDlgItemMessageW(w, kIdChunk, CB_SETCURSEL, ChoiceIndex(kChunkSizeChoices, _wtoi(argv[4])), 0);

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  // The click returns when the search has ended, as in the program.
  SendDlgItemMessageW(w, kIdFind, BM_CLICK, 0, 0);
  QueryPerformanceCounter(&end);
  std::printf("%.3f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart);

  if (rows) {
    HWND list = GetDlgItem(w, kIdResults);
    for (int i = 0, n = ListView_GetItemCount(list); i < n; ++i) {
      wchar_t row[4096] = L"";
      ListView_GetItemText(list, i, 0, row, 4096);
      std::string line = Narrow(row);
      for (char& c : line)
        if (c == '\\') c = '/';
      std::printf("%s\n", line.c_str());
    }
  }
  window.Close();
  return 0;
}
