#include "tools/search_results.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace velkor {
namespace {

TEST(SearchResults, ActionsJoinTheRowToTheSearchDirectory) {
  struct Case {
    ResultAction action;
    const char* dir;
    const char* row;
    const char* shell;    // "verb|file", or "" when nothing goes to the shell
    const char* started;  // command line, or ""
  } cases[] = {
      {ResultAction::Open, "C:\\d\\", "sub\\a.txt", "|C:\\d\\sub\\a.txt", ""},
      {ResultAction::Edit, "C:\\d\\", "sub\\a.txt", "edit|C:\\d\\sub\\a.txt", ""},
      {ResultAction::ExploreFolder, "C:\\d\\", "sub\\deeper\\a.txt", "explore|C:\\d\\sub\\deeper\\", ""},
      {ResultAction::ExploreFolder, "C:\\d\\", "a.txt", "explore|C:\\d\\", ""},  // a flat search's bare name
      {ResultAction::Open, "C:\\\\", "a.txt", "|C:\\\\a.txt", ""},               // the drive root as typed
      {ResultAction::ShowInExplorer, "C:\\\\", "x\\a.txt", "",
       "\"C:\\Windows\\explorer.exe\" /n,/select,\"C:\\x\\a.txt\""},
      {ResultAction::ShowInExplorer, "C:\\d\\", "", "",
       "\"C:\\Windows\\explorer.exe\" /n,/select,\"C:\\d\\\""},  // no row selected
      {ResultAction::ShowInExplorer, "\\\\srv\\share\\", "文档.txt", "",
       "\"C:\\Windows\\explorer.exe\" /n,/select,\"\\\\srv\\share\\文档.txt\""},
  };
  for (const Case& c : cases) {
    test::FakePlatform ops;
    RunResultAction(ops, c.action, c.dir, c.row);
    EXPECT_EQ(ops.shellOpens, c.shell[0] ? std::vector<std::string>{c.shell} : std::vector<std::string>{}) << c.row;
    EXPECT_EQ(ops.startedProcesses, c.started[0] ? std::vector<std::string>{c.started} : std::vector<std::string>{})
        << c.row;
  }
}

TEST(SearchResults, CollapseDoubledBackslashes) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\\\a.txt", "C:\\a.txt"}, {"C:\\a\\b", "C:\\a\\b"},
      {"C:\\\\\\a", "C:\\\\a"},  // pairs are taken left to right
      {"C:\\\\\\\\a", "C:\\\\a"},   {"\\\\srv\\share\\\\a", "\\\\srv\\share\\a"},
      {"\\\\\\a", "\\\\a"},         {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CollapseDoubledBackslashes(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace velkor
