#pragma once
// Stand-in advances for the dot tests: the board's for blanks, 8 for one-byte and 16 for
// two-byte characters. Mirroring and framing only compose blanks, so any advances show whether
// the other characters stand where they should.

#include "board/BoardBlanks.h"
#include "grid/Cp932.h"

namespace masumemo::testing {

inline int stubDots(char16_t c)
{
    if (auto d = board::blankDots(c)) {
        return *d;
    }
    if ((c & 0xFC00) == 0xDC00) {
        return 0;
    }
    return grid::charWidth(c) == 1 ? 8 : 16;
}

}  // namespace masumemo::testing
