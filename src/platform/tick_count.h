// A 64-bit millisecond count from the 32-bit one Windows XP offers, which wraps
// around every 49.7 days.
#pragma once

#include <cstdint>

namespace velkor {

// The 64-bit count at `now`, given the 64-bit count of the previous reading. A wrap
// is seen as `now` below the previous low half, so readings must come at least once
// per wrap period.
std::uint64_t WidenTickCount(std::uint64_t previous, std::uint32_t now);

}  // namespace velkor
