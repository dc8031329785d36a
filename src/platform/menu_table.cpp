#include "platform/menu_table.h"

#include <cstring>

namespace velkor {

std::span<const MenuItem> MenuChildren(std::span<const MenuItem> menu, const char* caption) {
  for (size_t i = 0; i < menu.size(); ++i) {
    if (menu[i].level != 0 || std::strcmp(menu[i].caption, caption) != 0) continue;
    size_t end = i + 1;
    while (end < menu.size() && menu[end].level > 0) ++end;
    return menu.subspan(i + 1, end - i - 1);
  }
  return {};
}

}  // namespace velkor
