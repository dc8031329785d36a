// Times one tree walk of the content search engine over a folder, as the program runs
// it, and optionally lists the files it found (relative, "/" separated). An empty
// pattern opens no file: what remains is the walk and one thread per file.
//   search_bench DIR HEXPATTERN[,HEXPATTERN...] THREADS CHUNKBYTES [--rows]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "tools/search_engine.h"

namespace {

class CollectingView : public velkor::SearchView {
 public:
  void SetSearching(bool) override {}
  void ClearResults() override { rows_.clear(); }
  void AddResults(const std::vector<std::string>& rows) override {
    rows_.insert(rows_.end(), rows.begin(), rows.end());
  }
  void SetStatus(int, const std::string&) override {}
  const std::vector<std::string>& Rows() const { return rows_; }

 private:
  std::vector<std::string> rows_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s DIR HEXPATTERN THREADS CHUNKBYTES [--rows]\n", argv[0]);
    return 2;
  }
  // Several forms, comma separated, are looked for together.
  std::vector<std::string> patterns;
  for (std::string rest = argv[2];;) {
    const size_t comma = rest.find(',');
    const std::optional<std::string> pattern = velkor::HexToBytes(rest.substr(0, comma));
    if (!pattern) {
      std::fprintf(stderr, "the pattern must be hexadecimal digits\n");
      return 2;
    }
    patterns.push_back(*pattern);
    if (comma == std::string::npos) break;
    rest = rest.substr(comma + 1);
  }
  velkor::SearchRequest request;
  request.directory = argv[1];
  request.patterns = patterns;
  request.threadLimit = std::atoi(argv[3]);
  request.chunkSize = std::atoi(argv[4]);
  request.includeSubdirs = true;

  const std::unique_ptr<velkor::SearchSystem> system = velkor::MakeSearchSystem();
  CollectingView view;
  velkor::SearchEngine engine(*system, view);
  const auto start = std::chrono::steady_clock::now();
  engine.StartSearch(request);
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;

  std::printf("%.3f\n", elapsed.count());
  if (argc > 5 && std::string(argv[5]) == "--rows") {
    for (std::string row : view.Rows()) {
      for (char& c : row)
        if (c == '\\') c = '/';
      std::printf("%s\n", row.c_str());
    }
  }
  return 0;
}
