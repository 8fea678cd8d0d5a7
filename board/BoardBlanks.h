#pragma once
// The blanks of the proportional board font and their widths in its dots at 16 px, the size its
// pictures are drawn for. Pure functions, no Qt.
//
// The Unicode spaces are the ones authors write as references for the last few dots. Their
// widths are the board font's, which differ from the screen font's where that font lacks the
// character or rounds it: U+2006 lines up with its neighbours in the corpus at 3 dots, never at
// the screen font's 2.67.

#include <optional>
#include <string_view>

namespace masumemo::board {

inline constexpr int kHalfSpaceDots = 5;
inline constexpr int kFullSpaceDots = 11;

/// Width in dots of a blank a board keeps: U+0020, U+3000 and the spaces U+2002 to U+200A.
/// nullopt for any other character (U+200B has no width and is no blank to compose with).
std::optional<int> blankDots(char16_t c);

/// True for the characters blankDots knows.
inline bool isBoardBlank(char16_t c)
{
    return blankDots(c).has_value();
}

/// True for the blanks code page 932 lacks, which files and boards hold as references.
bool isUnicodeSpace(char16_t c);

/// Bytes a blank takes as a board stores it: 1 for U+0020, 2 for U+3000, and for a Unicode space
/// its reference in the spelling new pictures use ("&#x200A;", 8 bytes).
int postedBytes(char16_t blank);

/// The sum of blankDots over a run of blanks; a character that is no blank counts 0.
int runDots(std::u16string_view run);

}  // namespace masumemo::board
