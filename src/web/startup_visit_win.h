// The one request to the maker's site that every start makes, off the window thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace velkor {

// The visit drops the answer, so it reads no more than this of the body: an answer
// that never ends costs neither memory nor time.
inline constexpr size_t kStartupVisitBodyLimit = 16 * 1024;
// Nor does it wait longer than this for any one step of a server that holds the
// connection silently.
inline constexpr std::chrono::milliseconds kStartupVisitWaitLimit{30000};

// The visit itself: one GET of `site` that reads at most kStartupVisitBodyLimit bytes
// of the body, waits at most `waitLimit` for each step and writes nothing to the web
// cache. Returns what was read.
std::string VisitSite(const std::string& site, std::chrono::milliseconds waitLimit = kStartupVisitWaitLimit);

// Starts the visit of `site` on a thread of its own and lets it go: nobody waits for
// it, and ending the program ends it wherever it is.
void StartStartupVisit(const std::string& site);

}  // namespace velkor
