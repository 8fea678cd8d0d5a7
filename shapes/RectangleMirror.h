#pragma once
// Mirroring the cells of a rectangle (rectangle mode) in place. The rectangle is chosen in
// cells, so its picture keeps its cells in either font. Pure functions, no Qt.

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace masumemo::shapes
