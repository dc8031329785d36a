// Tidying a profile's desktop: files of the ticked categories move, by extension,
// into category folders under "\桌面整理" of the same desktop folder.
#pragma once

#include <array>

#include "catalogue/catalogue_context.h"

namespace velkor {

struct Category {
  std::array<const char*, 5> extensions;  // in the order they are looked for; unused slots null
  const char* folder;                     // below the desktop folder
};

// clang-format off
inline constexpr std::array<Category, 5> kCategories = {{
    {{"doc", "txt", "xls", "ppt"}, "\\桌面整理\\文档文件"},
    {{"jpg", "gif", "bmp", "ico", "png"}, "\\桌面整理\\图片文件"},
    {{"rar", "zip", "7z"}, "\\桌面整理\\压缩包"},
    {{"rmvb", "mp4", "avi", "mpg"}, "\\桌面整理\\视频文件"},
    {{"mp3", "wav", "wma"}, "\\桌面整理\\音频文件"},
}};
// clang-format on

struct MoveCount {
  int moved = 0;
  int left = 0;  // matching files that could not be moved
};

// Moves the files of one category out of the desktop folder `desktop`. A file that
// cannot be moved stays and is counted; a name already taken in the category folder
// gets a free one ("name (2).ext"), so nothing is ever replaced.
MoveCount MoveCategory(PlatformOps& ops, const std::string& desktop, const Category& category);

// The window's done marks, one per category.
class DoneMarks {
 public:
  virtual ~DoneMarks() = default;
  virtual void HideAll() = 0;
  virtual void Show(size_t category) = 0;
};

// Runs the ticked categories on the selected row's desktop, showing each one's mark
// as it finishes, then the closing message. With no desktop selected it only says so.
void ClassifyDesktop(CatalogueContext& context, const std::array<bool, 5>& ticked, DoneMarks& marks);

// "name (n).ext" for the n-th copy of "name.ext".
std::string NumberedName(const std::string& name, int n);

}  // namespace velkor
