// A small modal box asking for one line of text.
#pragma once

#include <string>

namespace velkor {

// Returns false when cancelled; `text` holds the typed text after OK.
bool ShowInputBox(const std::wstring& title, const std::wstring& prompt, std::wstring& text);

}  // namespace velkor
