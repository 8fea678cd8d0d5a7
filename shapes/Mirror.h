#pragma once
// Turning a part to face the other way: left-right and upside-down, with each character replaced
// by its mirror image where a table of pairs gives one. In the fixed font the mirrored part keeps
// its cells; in the proportional board font each visible character lands at its mirrored dot
// position and the blank runs between are composed to the dot. Pure functions, no Qt.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "board/DotMoves.h"

namespace masumemo::shapes {

/// Characters and their mirror images, both ways.
class MirrorTable
{
public:
    /// Adds the pairs of a table text: one pair a line, its first two characters (spaces
    /// between them are ignored); empty lines and lines starting with "#" are skipped. A pair
    /// replaces any earlier pair of either of its characters, so a later table overrides.
    /// Returns the lines (from 1) that hold no pair.
    std::vector<int> addPairs(std::u16string_view text);

    /// The image of c, or c itself.
    char32_t mirror(char32_t c) const;
    /// The image of one character written in UTF-16 (a surrogate pair is one).
    std::u16string imageOf(std::u16string_view character) const;
    /// Every character with its image, each pair once in each direction.
    const std::map<char32_t, char32_t>& pairs() const { return m_pairs; }

private:
    std::map<char32_t, char32_t> m_pairs;
};

/// The built-in tables: left-right and upside-down.
std::u16string_view builtInLeftRightPairs();
std::u16string_view builtInUpsideDownPairs();

/// Lines of equal width in units mirrored left to right in cells: each line's characters in
/// reverse order, each through the table, so a character at units [a, b) lands at [W - b,
/// W - a).
std::vector<std::u16string> mirrorCells(const std::vector<std::u16string>& lines,
                                        const MirrorTable& table);

/// Lines in reverse order, each character through the table.
std::vector<std::u16string> mirrorUpsideDown(const std::vector<std::u16string>& lines,
                                             const MirrorTable& table);

/// What mirroring in dots did.
struct DotMirror
{
    std::vector<std::u16string> lines;
    int offCharacters = 0;  ///< visible characters not at their mirrored dot
    int largestOff = 0;     ///< dots, the largest distance of one of them
    int unchangedLines = 0; ///< lines left as they were: they would not fit their cells
};

/// Lines mirrored left to right in the board font's dots: every visible character lands at the
/// mirrored position within the span from the leftmost start to the rightmost end of the lines'
/// visible characters, the blank runs composed to the dot (the nearest where the rules allow no
/// exact run). Each line keeps its width in units, filled or trimmed at its end.
DotMirror mirrorDots(const std::vector<std::u16string>& lines, const MirrorTable& table,
                     const board::CharDots& dots, bool unicodeSpaces);

}  // namespace masumemo::shapes
