#include "platform/tick_count.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

TEST(TickCount, WidensAcrossWrapsAndNeverGoesBack) {
  constexpr std::uint64_t kWrap = std::uint64_t{1} << 32;
  struct Case {
    std::uint64_t previous;
    std::uint32_t now;
    std::uint64_t expected;
  };
  // clang-format off
  const Case cases[] = {
      {0,                 0,          0},
      {0,                 1000,       1000},
      {1000,              1000,       1000},                  // same tick
      {0xFFFFFF00,        0xFFFFFFFF, 0xFFFFFFFF},            // just before the wrap
      {0xFFFFFF00,        5,          kWrap + 5},             // wrapped
      {kWrap + 5,         10,         kWrap + 10},            // after the wrap, no second one
      {3 * kWrap + 7,     6,          4 * kWrap + 6},         // a later wrap keeps the earlier ones
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.previous << " then " << c.now);
    EXPECT_EQ(WidenTickCount(c.previous, c.now), c.expected);
    EXPECT_GE(WidenTickCount(c.previous, c.now), c.previous);
  }
}

}  // namespace
}  // namespace velkor
