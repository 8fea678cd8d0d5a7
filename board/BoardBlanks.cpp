#include "BoardBlanks.h"

#include "grid/LineModel.h"

namespace masumemo::board {

std::optional<int> blankDots(char16_t c)
{
    switch (c) {
    case grid::kHalfSpace: return kHalfSpaceDots;
    case grid::kFullSpace: return kFullSpaceDots;
    case u'\u2002': return 8;   // en space
    case u'\u2003': return 16;  // em space
    case u'\u2004': return 5;   // three-per-em: 5.33, which the board draws as 5
    case u'\u2005': return 4;   // four-per-em
    case u'\u2006': return 3;   // six-per-em: 2.67 in the screen font, 3 on the board
    case u'\u2007': return 8;   // figure space: a digit's width
    case u'\u2008': return 3;   // punctuation space: a full stop's width
    case u'\u2009': return 2;   // thin space
    case u'\u200A': return 1;   // hair space
    default: return std::nullopt;
    }
}

bool isUnicodeSpace(char16_t c)
{
    return c >= u'\u2002' && c <= u'\u200A';
}

int postedBytes(char16_t blank)
{
    if (blank == grid::kHalfSpace) {
        return 1;
    }
    if (blank == grid::kFullSpace) {
        return 2;
    }
    return 8;  // "&#x200A;"
}

int runDots(std::u16string_view run)
{
    int dots = 0;
    for (char16_t c : run) {
        dots += blankDots(c).value_or(0);
    }
    return dots;
}

}  // namespace masumemo::board
