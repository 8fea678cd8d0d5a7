#include "Push.h"

namespace masumemo::grid {

// Not built yet: nothing moves.
MoveOutcome Push(std::u16string_view, int, Arrow, Step, int) { return {}; }
MoveOutcome Pull(std::u16string_view, int, Arrow, Step, int) { return {}; }
MoveOutcome SellMove(std::u16string_view, int, int, Arrow, Step, int) { return {}; }

}  // namespace masumemo::grid
