#pragma once
// Stand-in advances for the dot tests: the board's for blanks, 8 for one-byte and 16 for
// two-byte characters. Mirroring and framing only compose blanks, so any advances show whether
// the other characters stand where they should.

#include <string_view>
#include <utility>
#include <vector>

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

/// Each visible character of a line with its dot, at those advances.
inline std::vector<std::pair<char16_t, int>> placed(std::u16string_view line)
{
    std::vector<std::pair<char16_t, int>> out;
    int x = 0;
    for (char16_t c : line) {
        if (!board::isBoardBlank(c)) {
            out.emplace_back(c, x);
        }
        x += stubDots(c);
    }
    return out;
}

}  // namespace masumemo::testing
