#include "platform/menu_builder_win.h"

#include <string>

#include "platform/text_win.h"

namespace velkor {
namespace {

// Appends the items of one level starting at `i`; deeper items after an item form
// its submenu. Returns the index of the first item not taken.
size_t AddLevel(HMENU menu, std::span<const MenuItem> items, size_t i, int level) {
  while (i < items.size() && items[i].level >= level) {
    const MenuItem& item = items[i++];
    const bool hasChildren = i < items.size() && items[i].level > level;
    HMENU sub = nullptr;
    if (hasChildren) {
      sub = CreatePopupMenu();
      i = AddLevel(sub, items, i, level + 1);
    }
    if (!item.visible) {
      if (sub) DestroyMenu(sub);
      continue;
    }
    if (std::string(item.caption) == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (sub) {
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), Widen(item.caption).c_str());
    } else {
      AppendMenuW(menu, MF_STRING, item.command, Widen(item.caption).c_str());
    }
  }
  return i;
}

}  // namespace

HMENU BuildMenuBar(std::span<const MenuItem> menu) {
  HMENU bar = CreateMenu();
  AddLevel(bar, menu, 0, 0);
  return bar;
}

HMENU BuildPopupMenu(std::span<const MenuItem> menu, const char* caption) {
  HMENU popup = CreatePopupMenu();
  const std::span<const MenuItem> children = MenuChildren(menu, caption);
  AddLevel(popup, children, 0, 1);
  return popup;
}

}  // namespace velkor
