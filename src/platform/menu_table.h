// A menu tree as one ordered table: each item names its level, so a menu bar and the
// popup menus hidden in it are all read from the same list.
#pragma once

#include <span>

namespace velkor {

struct MenuItem {
  const char* caption;  // "-" is a separator
  int level;            // 0 top-level menu, 1 its item, 2 item of a submenu
  bool visible;
  int command;  // 0 for menus and separators
};

// The items below the top-level menu named `caption` (its children and their
// children), or an empty span.
std::span<const MenuItem> MenuChildren(std::span<const MenuItem> menu, const char* caption);

}  // namespace velkor
