// UTF-8 inside, UTF-16 at the API call.
#pragma once

#include <string>

namespace velkor {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
std::string Narrow(const wchar_t* utf16);
// The bytes of a UTF-8 text in code page `codePage`; false, with `out` untouched, when
// some character has no exact form there.
bool ToCodePage(unsigned codePage, const std::string& utf8, std::string& out);

}  // namespace velkor
