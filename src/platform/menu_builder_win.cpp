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
    UniqueMenu sub;
    if (hasChildren) {
      sub.reset(CreatePopupMenu());
      i = AddLevel(sub.get(), items, i, level + 1);
    }
    if (!item.visible) continue;
    if (std::string(item.caption) == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (sub) {
      // The menu owns its submenu from here on.
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub.release()), Widen(item.caption).c_str());
    } else {
      AppendMenuW(menu, MF_STRING, item.command, Widen(item.caption).c_str());
    }
  }
  return i;
}

}  // namespace

UniqueMenu BuildMenuBar(std::span<const MenuItem> menu) {
  UniqueMenu bar(CreateMenu());
  AddLevel(bar.get(), menu, 0, 0);
  return bar;
}

UniqueMenu BuildPopupMenu(std::span<const MenuItem> menu, const char* caption) {
  UniqueMenu popup(CreatePopupMenu());
  AddLevel(popup.get(), MenuChildren(menu, caption), 0, 1);
  return popup;
}

}  // namespace velkor
