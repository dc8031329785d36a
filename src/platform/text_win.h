// UTF-8 inside, UTF-16 at the API call.
#pragma once

#include <string>

namespace velkor {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
std::string Narrow(const wchar_t* utf16);

}  // namespace velkor
