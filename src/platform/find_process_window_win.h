// Finds a visible top-level window of a process, highest in the Z order first.
#pragma once

#include <windows.h>

#include <string>

namespace velkor {

// `title` and `className`, when not empty, must occur in the window's text and class
// name, ignoring case.
HWND FindProcessWindow(DWORD processId, const std::wstring& title = {}, const std::wstring& className = {});

}  // namespace velkor
