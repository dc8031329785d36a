#include "platform/window_design_win.h"

#include <span>

namespace velkor {
namespace {

// A window design whose controls share an id does not compile; the check it uses:
constexpr ControlSpec kTwoOfOneId[] = {design::Button(7, "a", {}, L"a"), design::Button(7, "b", {}, L"b")};
static_assert(!IdsAreUnique(kTwoOfOneId));
static_assert(IdsAreUnique(std::span(kTwoOfOneId).first(1)));

}  // namespace
}  // namespace velkor
