#include "PositionDisplay.h"

#include <algorithm>
#include <string_view>

#include "grid/Cp932.h"
#include "board/DotRuler.h"

namespace masumemo::editor {

QString positionText(const std::vector<grid::LineRecord>& lines, int line, int column, int keta,
                     int gyou)
{
    int units = 0;
    if (line >= 1 && line <= static_cast<int>(lines.size())) {
        const std::u16string_view text = lines[static_cast<size_t>(line - 1)].Text;
        const size_t count =
            static_cast<size_t>(std::clamp(column, 0, static_cast<int>(text.size())));
        units = grid::WidthOf(text.substr(0, count));
    }
    // 2 x keta in 64 bits: the text never shows a wrapped number, whatever keta holds.
    const qint64 lineWidth = 2 * static_cast<qint64>(keta);
    return QStringLiteral("列[ %1/%2 ]　行[ %3/%4 ]").arg(units).arg(lineWidth).arg(line).arg(gyou);
}

QString dotText(const board::DotRuler& ruler, std::u16string_view line, int column)
{
    const size_t count = static_cast<size_t>(std::clamp(column, 0, static_cast<int>(line.size())));
    return QStringLiteral("ﾄﾞｯﾄ[ %1 / %2 ]")
        .arg(ruler.width(line.substr(0, count)))
        .arg(ruler.width(grid::trimTrailingSpaces(line)));
}

QString pushModeText(bool halfPush)
{
    return halfPush ? QStringLiteral("半角移動") : QStringLiteral("全角移動");
}

}  // namespace masumemo::editor
