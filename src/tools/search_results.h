// What the search window's result list hands to the shell for a found file.
#pragma once

#include <string>

#include "platform/platform_ops.h"

namespace velkor {

enum class ResultAction {
  Open,            // "默认方式打开": the file type's default action
  Edit,            // "默认编辑器打开"
  ExploreFolder,   // "浏览所在文件夹"
  ShowInExplorer,  // double click: a new Explorer window with the file selected
};

// `row` is the result row's text, joined to `searchDir` as it stands now.
void RunResultAction(PlatformOps& ops, ResultAction action, const std::string& searchDir, const std::string& row);

// Every two consecutive backslashes become one, left to right; a leading "\\" of a
// network path stays.
std::string CollapseDoubledBackslashes(const std::string& path);

}  // namespace velkor
