#include "RectangleMirror.h"

#include <vector>

#include "grid/Cp932.h"

namespace masumemo::shapes {

std::optional<std::u16string> mirrorRectangle(std::u16string_view canvas, grid::BlockRect rect,
                                              int keta, const MirrorTable& table,
                                              bool upsideDown)
{
    grid::Block block = grid::copyBlock(canvas, rect, keta);
    if (block.empty()) {
        return std::u16string(canvas);
    }
    std::vector<std::u16string> texts;
    for (const grid::BlockLine& line : block.lines) {
        texts.push_back(line.text);
    }
    if (upsideDown) {
        const size_t n = block.lines.size();
        for (size_t i = 0; i < n / 2; ++i) {
            const grid::BlockLine& a = block.lines[i];
            const grid::BlockLine& b = block.lines[n - 1 - i];
            if (a.offset != b.offset || grid::WidthOf(a.text) != grid::WidthOf(b.text)) {
                return std::nullopt;
            }
        }
        texts = mirrorUpsideDown(texts, table);
    } else {
        // Each line's characters fill its span inside the rectangle, so reversed they fill the
        // same cells.
        texts = mirrorCells(texts, table);
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        block.lines[i].text = std::move(texts[i]);
    }
    return grid::layBlock(canvas, block, rect.line, rect.column, false, keta);
}

}  // namespace masumemo::shapes
