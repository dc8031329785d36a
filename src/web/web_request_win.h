// One blocking HTTP request over WinINet, which is loaded from "wininet.dll" on first
// use (the program is not linked to it).
#pragma once

#include <string>

#include "web/web_request.h"

namespace velkor {

// Sends one GET or POST to `url` and returns the whole body. Fills in the in/out and
// out fields of `args`; leaves them all untouched when no request could be opened.
std::string WebRequest(const std::string& url, WebRequestArgs& args);
// The same with every other argument omitted.
std::string WebRequest(const std::string& url);

}  // namespace velkor
