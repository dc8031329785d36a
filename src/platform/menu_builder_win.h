// Builds Win32 menus from the menu table; items that are not visible are left out.
#pragma once

#include <windows.h>

#include <span>

#include "platform/menu_table.h"

namespace velkor {

HMENU BuildMenuBar(std::span<const MenuItem> menu);
// The popup menu of the hidden top-level menu `caption`, built anew for each showing.
HMENU BuildPopupMenu(std::span<const MenuItem> menu, const char* caption);

}  // namespace velkor
