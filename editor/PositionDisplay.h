#pragma once
// The texts of the status bar's position and push-mode panels, built from the line snapshot.

#include <QString>
#include <vector>

#include "grid/LineModel.h"

namespace masumemo::board {
class DotRuler;
}

namespace masumemo::editor {

/// Panel 1: "列[ c/w ]　行[ l/g ]", c being the width of the first `column` characters of line
/// `line` (1-based) and w the line width 2 x keta. A line past the snapshot counts as empty; a
/// column past the line's end counts the whole line.
QString positionText(const std::vector<grid::LineRecord>& lines, int line, int column, int keta,
                     int gyou);

/// Panel 2: the push step, "半角移動" or "全角移動".
QString pushModeText(bool halfPush);

/// Panel 4, while the proportional font is chosen: "ﾄﾞｯﾄ[ c / w ]", c being the width in the
/// ruler's dots of the first `column` characters of `line` and w that of the line without its
/// trailing blanks, the part a message board keeps.
QString dotText(const board::DotRuler& ruler, std::u16string_view line, int column);

/// The canvas model counts a line break as CR LF, two characters; a text document counts one
/// per block. Offsets of a caret in block `block` (0-based) at `positionInDocument`.
constexpr int modelOffsetFromDocument(int positionInDocument, int block)
{
    return positionInDocument + block;
}

}  // namespace masumemo::editor
