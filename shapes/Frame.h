#pragma once
// Frames and speech bubbles around a few lines of text: a line of pieces above and below, a piece
// on each side of every line, the right side aligned on every line, by cells in the fixed font
// and to the dot in the proportional board font. Styles are kept in a plain text file. Pure
// functions, no Qt.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/DotMoves.h"

namespace masumemo::shapes {

/// The eight pieces of a frame, its inner margin in half-width units, and an optional tail that
/// takes the left piece's place on the middle line.
struct FrameStyle
{
    std::u16string name;
    std::u16string topLeft, top, topRight, right, bottomRight, bottom, bottomLeft, left;
    std::u16string tail;
    int margin = 2;

    bool complete() const;
    friend bool operator==(const FrameStyle&, const FrameStyle&) = default;
};

/// The styles of a style text: each starts with a line "[name]", followed by lines "key=value"
/// with the keys 左上 上 右上 右 右下 下 左下 左 (the pieces, taken as written after "="),
/// しっぽ (the tail) and 余白 (the margin, 0 to 20). Lines starting with "#" and empty lines are
/// skipped. A style missing a piece is left out; badLines gets the numbers (from 1) of lines it
/// could not read.
std::vector<FrameStyle> parseFrameStyles(std::u16string_view text,
                                         std::vector<int>* badLines = nullptr);

/// The built-in styles, in the format parseFrameStyles reads.
std::u16string_view builtInFrameStyles();

/// Why a frame was not laid.
enum class FrameRefusal
{
    Nothing,     ///< the lines hold no visible character
    NoRoom,      ///< the frame would not fit inside the canvas
    NotBlank,    ///< (dots) the line above or below holds characters the frame would cover
};

struct Framed
{
    std::vector<std::u16string> lines;  ///< the whole canvas, framed
    std::optional<FrameRefusal> refused;
    int offLines = 0;   ///< (dots) lines whose right piece is not exactly at the others' dot
    int largestOff = 0; ///< dots
};

/// Canvas lines (each the same width in units) with a frame around lines [first, last]
/// (0-based): around their visible characters, or around the unit columns [column, column +
/// width) when width > 0 (the rectangle). The line above and below take the top and bottom,
/// laid over the cells there like a paste.
Framed frameCells(const std::vector<std::u16string>& lines, int first, int last,
                  const FrameStyle& style, int column = 0, int width = 0);

/// The same in the board font's dots: each framed line is rebuilt as blank run, left piece, blank
/// run, its characters as they stand, blank run, right piece, every run composed to the dot, so
/// the characters keep their dots and the right pieces stand at one dot. The lines above and
/// below must be blank.
Framed frameDots(const std::vector<std::u16string>& lines, int first, int last,
                 const FrameStyle& style, const board::CharDots& dots, bool unicodeSpaces);

}  // namespace masumemo::shapes
