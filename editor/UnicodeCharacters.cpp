#include "UnicodeCharacters.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <cmath>

#include "board/BoardBlanks.h"
#include "grid/Cp932.h"
#include "platform/Fonts.h"

namespace masumemo::editor {

UnicodeCharacterWidths::UnicodeCharacterWidths(QTextDocument* document, const QFont& font)
    : QSyntaxHighlighter(static_cast<QObject*>(nullptr))
{
    setCanvasFont(font);
    setDocument(document);
}

void UnicodeCharacterWidths::setCanvasFont(const QFont& font)
{
    m_font = font;
    m_proportional = font.family() == platform::kPGothic;
    m_cell = QFontMetricsF(font).horizontalAdvance(QChar(0x3000)) / 2;
    m_pixelsPerDot = QFontInfo(font).pixelSize() / 16.0;
    m_formats.clear();
    if (document() != nullptr) {
        rehighlight();
    }
}

double UnicodeCharacterWidths::targetAdvance(const QString& character) const
{
    if (m_proportional) {
        const std::optional<int> dots =
            character.size() == 1 && board::isUnicodeSpace(character[0].unicode())
                ? board::blankDots(character[0].unicode())
                : std::nullopt;
        return dots ? *dots * m_pixelsPerDot : -1;
    }
    return m_cell;
}

const QTextCharFormat& UnicodeCharacterWidths::formatFor(const QString& character)
{
    if (const auto it = m_formats.constFind(character); it != m_formats.constEnd()) {
        return *it;
    }
    QTextCharFormat format;
    const double target = targetAdvance(character);
    if (target >= 0) {
        QFont font = m_font;
        double natural = QFontMetricsF(font).horizontalAdvance(character);
        // A glyph wider than its cell is narrowed to it, never drawn over its neighbour.
        if (natural > target + 0.5 && natural > 0) {
            const int stretch = std::max(1, static_cast<int>(std::floor(100 * target / natural)));
            font.setStretch(stretch);
            format.setFontStretch(stretch);
            natural = QFontMetricsF(font).horizontalAdvance(character);
        }
        // The letter spacing makes up the rest, to the fraction of a pixel.
        if (std::abs(target - natural) > 0.01) {
            format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
            format.setFontLetterSpacing(target - natural);
        }
    }
    return *m_formats.insert(character, format);
}

void UnicodeCharacterWidths::highlightBlock(const QString& text)
{
    const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (grid::isCp932Encodable(units[i])) {
            continue;
        }
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() &&
                                         text[i + 1].isLowSurrogate()
                                     ? 2
                                     : 1;
        const QTextCharFormat& format = formatFor(text.mid(i, length));
        if (format.hasProperty(QTextFormat::FontLetterSpacing) ||
            format.hasProperty(QTextFormat::FontStretch)) {
            setFormat(static_cast<int>(i), static_cast<int>(length), format);
        }
        i += length - 1;
    }
}

bool isMarkedSpace(char16_t c)
{
    return c == 0x00A0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F;
}

}  // namespace masumemo::editor
