// Making a desktop profile: its folders and shortcut, its catalogue row, the save.
#pragma once

#include <array>
#include <string>

#include "catalogue/catalogue_context.h"

namespace velkor {

struct CreationRequest {
  std::string title;
  std::string customPath;         // empty: a normal profile under the profiles folder
  std::array<bool, 8> options{};  // the optional folders: rows 1 to 8 of kShellFolderTable
};

// Asks once for every row whose title contains `title` (ASCII letters folded). Cancel
// empties `title`, after which no later row asks.
void DuplicateTitleCheck(CatalogueContext& context, std::string& title);

enum class CreationResult { Nothing, Refused, Created };

// Nothing for an empty title; Refused (after a message) for a title or path that
// cannot be used; Created after the "创建完毕" message.
CreationResult CreateProfile(CatalogueContext& context, const CreationRequest& request);

}  // namespace velkor
