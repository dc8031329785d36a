#include "platform/tick_count.h"

namespace velkor {

std::uint64_t WidenTickCount(std::uint64_t previous, std::uint32_t now) {
  std::uint64_t wraps = previous >> 32;
  if (now < static_cast<std::uint32_t>(previous)) ++wraps;
  return (wraps << 32) | now;
}

}  // namespace velkor
