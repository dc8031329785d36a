// Values of Windows versions after XP that the headers hide when the program is
// compiled for XP. Only what a newer system sends or accepts, never a function: those
// are taken by name (proc_address_win.h), so the program still starts on XP.
#pragma once

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WC_ERR_INVALID_CHARS
#define WC_ERR_INVALID_CHARS 0x80
#endif
