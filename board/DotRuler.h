#pragma once
// Widths in the dots of a proportional font. Pictures drawn for the proportional canvas font are
// lined up in its dots at 12 pt on a 96 dpi screen, 16 px, whatever size the canvas shows them at.

#include <QFont>
#include <QFontMetricsF>
#include <string_view>

#include "board/DotMoves.h"

namespace masumemo::board {

class DotRuler
{
public:
    /// The proportional canvas font at the size its pictures are drawn for.
    static QFont boardFont();

    explicit DotRuler(const QFont& font = boardFont());

    /// One character's advance in dots; fractional in a face without whole-dot widths. A Unicode
    /// space (U+2002..U+200A) has its width on the board (blankDots), scaled to the font's size.
    double advance(char16_t c) const;
    /// The sum of the advances of text, rounded once at the end.
    int width(std::u16string_view text) const;

    /// Whole-dot advances for the dot rules: a board blank its board width, any other character
    /// its advance rounded; a character beyond the basic plane counts a full-width cell (16) at
    /// its first half and nothing at its second. The function keeps a copy of this ruler.
    CharDots charDots() const;

private:
    QFontMetricsF m_metrics;
    double m_dotsPerBoardDot;  ///< the font's pixel size over the board's 16
};

}  // namespace masumemo::board
