#include "PictureLayout.h"

#include <algorithm>

#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::exporting {

Picture layOutPicture(std::u16string_view canvas)
{
    Picture picture;
    if (canvas.empty()) {
        return picture;
    }
    for (const std::u16string& raw : grid::SplitText(canvas)) {
        PictureLine line;
        // As the line would be saved: a character without a code page 932 form is a "?".
        line.text = grid::trimTrailingSpaces(grid::toCanvasForm(raw));
        int column = 0;
        for (const char16_t ch : line.text) {
            const int width = grid::charWidth(ch);
            if (ch != grid::kHalfSpace && ch != grid::kFullSpace) {
                line.marks.push_back({ch, column, width});
            }
            column += width;
        }
        line.units = column;
        picture.lines.push_back(std::move(line));
    }
    while (!picture.lines.empty() && picture.lines.back().text.empty()) {
        picture.lines.pop_back();
    }
    for (const PictureLine& line : picture.lines) {
        picture.widestUnits = std::max(picture.widestUnits, line.units);
    }
    return picture;
}

std::vector<double> GridPlacement::positions(const PictureLine& line) const
{
    std::vector<double> x;
    x.reserve(line.marks.size());
    for (const Mark& m : line.marks) {
        x.push_back(m.column * m_cellWidth);
    }
    return x;
}

double GridPlacement::lineWidth(const PictureLine& line) const
{
    return line.units * m_cellWidth;
}

std::vector<double> AdvancePlacement::positions(const PictureLine& line) const
{
    // The marks are the characters of text that are not blanks, in the same order.
    std::vector<double> x;
    x.reserve(line.marks.size());
    double at = 0;
    for (const char16_t ch : line.text) {
        if (ch != grid::kHalfSpace && ch != grid::kFullSpace) {
            x.push_back(at);
        }
        at += m_advance(ch);
    }
    return x;
}

double AdvancePlacement::lineWidth(const PictureLine& line) const
{
    double width = 0;
    for (const char16_t ch : line.text) {
        width += m_advance(ch);
    }
    return width;
}

}  // namespace masumemo::exporting
