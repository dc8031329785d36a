// The one request to the maker's site that every start makes, off the window thread.
#pragma once

namespace velkor {

// Starts StartupVisit on a thread of its own and lets it go: nobody waits for it,
// and ending the program ends it wherever it is.
void StartStartupVisit();

}  // namespace velkor
