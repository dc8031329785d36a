// Why a system call failed, for whoever watches the debugger output (DebugView, a
// debugger, Wine's +debugstr channel): the call, what it was given and the error code.
// Nothing of this reaches the user.
#pragma once

#include <windows.h>

#include <string>

namespace velkor {

// Records the failure with this thread's last error and returns false. Call it right
// after the failing call, with arguments that need no work to pass, so that nothing
// can change the last error first.
bool Failed(const wchar_t* call, const std::wstring& argument);
// A call with a source and a target.
bool Failed(const wchar_t* call, const std::wstring& from, const std::wstring& to);
// The same for calls that return their error code (the registry's).
bool Failed(const wchar_t* call, const std::wstring& argument, LSTATUS error);

}  // namespace velkor
