#pragma once
// Mirroring a rectangle (rectangle mode) in place: in the fixed font a rectangle of cells,
// whose picture keeps its cells; in the proportional board font a rectangle of dots, whose
// chosen characters land at their mirrored dots with the blank runs around them composed.
// Pure functions, no Qt.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/DotBlock.h"
#include "grid/Block.h"
#include "shapes/Mirror.h"

namespace masumemo::shapes {

/// The canvas (lines of 2 x keta units joined by CR LF) with the characters wholly inside rect
/// mirrored where they stand: left-right, each line's characters in reverse order through the
/// table; upside down, the lines' contents in reverse order through the table. A full-width
/// character cut by the rectangle's edge belongs to the picture and stays. Upside down gives
/// nothing when such characters leave the lines different spans inside the rectangle, since
/// the lines could not change places without cutting them. An empty rectangle leaves the
/// canvas as it is.
std::optional<std::u16string> mirrorRectangle(std::u16string_view canvas, grid::BlockRect rect,
                                              int keta, const MirrorTable& table,
                                              bool upsideDown);

/// Why a rectangle of dots was left as it was.
enum class DotMirrorRefusal {
    Overlap,  ///< a turned character would stand over one outside the rectangle
    TooWide,  ///< a line would outgrow its units
};

/// A rectangle of dots turned in place.
struct DotRectangleMirror
{
    int first = 0;                      ///< the canvas line of lines' first
    std::vector<std::u16string> lines;  ///< the block's lines turned; empty: nothing changes
    int offCharacters = 0;              ///< visible characters not at their dot
    int largestOff = 0;                 ///< dots
    std::optional<DotMirrorRefusal> refused;
};

/// The block's chosen characters turned where they stand, every other visible character of its
/// lines kept at its dot. Left-right, each lands at its mirrored dot within the span from the
/// block's leftmost visible character to its rightmost one; upside down, the lines change
/// places and every character keeps its dot. Blank runs are composed to the dot, the nearest
/// where the rules allow no exact run.
DotRectangleMirror mirrorDotRectangle(const std::vector<std::u16string>& lines,
                                      const board::DotBlock& block, const MirrorTable& table,
                                      bool upsideDown, const board::CharDots& dots,
                                      bool unicodeSpaces);

/// A line of a floating block of dots: its characters and the dot where the first stands.
struct DotLine
{
    std::u16string text;
    int x = 0;
    friend bool operator==(const DotLine&, const DotLine&) = default;
};

/// A floating block of dots turned.
struct DotLinesMirror
{
    std::vector<DotLine> lines;
    int offCharacters = 0;  ///< visible characters not at their dot
    int largestOff = 0;     ///< dots
};

/// The block's lines turned as mirrorDotRectangle turns a rectangle's chosen characters, each
/// line written from its first visible character (a line without one is empty).
DotLinesMirror mirrorDotLines(const std::vector<DotLine>& lines, const MirrorTable& table,
                              bool upsideDown, const board::CharDots& dots, bool unicodeSpaces);

}  // namespace masumemo::shapes
