#include "tools/search_results.h"

namespace velkor {

std::string CollapseDoubledBackslashes(const std::string& path) {
  const bool network = path.size() > 2 && path.compare(0, 2, "\\\\") == 0 && path[2] != '\\';
  std::string out = network ? "\\\\" : "";
  for (size_t i = out.size(); i < path.size(); ++i) {
    out.push_back(path[i]);
    if (path[i] == '\\' && i + 1 < path.size() && path[i + 1] == '\\') ++i;
  }
  return out;
}

void RunResultAction(PlatformOps& ops, ResultAction action, const std::string& searchDir, const std::string& row) {
  switch (action) {
    case ResultAction::Open: ops.ShellOpen("", searchDir + row); break;
    case ResultAction::Edit: ops.ShellOpen("edit", searchDir + row); break;
    case ResultAction::ExploreFolder: {
      const size_t slash = row.rfind('\\');
      ops.ShellOpen("explore", slash == std::string::npos ? searchDir : searchDir + row.substr(0, slash + 1));
      break;
    }
    case ResultAction::ShowInExplorer:
      ops.StartProcess(std::string(1, '"').append(ShellProgramPath(ops)) + "\" /n,/select,\"" +
                           CollapseDoubledBackslashes(searchDir + row) + "\"",
                       1000);
      break;
  }
}

}  // namespace velkor
