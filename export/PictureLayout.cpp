#include "PictureLayout.h"

#include <algorithm>

#include "board/BoardBlanks.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::exporting {

void forEachCharacter(std::u16string_view text, const std::function<void(char32_t, int)>& f)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            f(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00), 2);
            ++i;
        } else {
            f(c, 1);
        }
    }
}

bool isBlank(char32_t ch)
{
    return ch == grid::kHalfSpace || ch == grid::kFullSpace ||
           (ch <= 0xFFFF && board::isUnicodeSpace(static_cast<char16_t>(ch)));
}

Picture layOutPicture(std::u16string_view canvas)
{
    Picture picture;
    if (canvas.empty()) {
        return picture;
    }
    for (const std::u16string& raw : grid::SplitText(canvas)) {
        PictureLine line;
        line.text = grid::trimTrailingSpaces(grid::toCanvasForm(raw));
        int column = 0;
        forEachCharacter(line.text, [&](char32_t ch, int units) {
            // A pair is one character of one unit (its high half's width).
            const int width = units == 2 ? 1 : grid::charWidth(static_cast<char16_t>(ch));
            if (!isBlank(ch)) {
                line.marks.push_back({ch, column, width});
            }
            column += width;
        });
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
    forEachCharacter(line.text, [&](char32_t ch, int) {
        if (!isBlank(ch)) {
            x.push_back(at);
        }
        at += m_advance(ch);
    });
    return x;
}

double AdvancePlacement::lineWidth(const PictureLine& line) const
{
    double width = 0;
    forEachCharacter(line.text, [&](char32_t ch, int) { width += m_advance(ch); });
    return width;
}

}  // namespace masumemo::exporting
