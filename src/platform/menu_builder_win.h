// Builds Win32 menus from the menu table; items that are not visible are left out.
#pragma once

#include <windows.h>

#include <span>

#include "platform/handles_win.h"
#include "platform/menu_table.h"

namespace velkor {

UniqueMenu BuildMenuBar(std::span<const MenuItem> menu);
// The popup menu of the hidden top-level menu `caption`, built anew for each showing.
UniqueMenu BuildPopupMenu(std::span<const MenuItem> menu, const char* caption);

}  // namespace velkor
