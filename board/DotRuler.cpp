#include "DotRuler.h"

#include "board/BoardBlanks.h"

#include <QChar>
#include <QFontInfo>
#include <QString>

#include "board/BoardBlanks.h"
#include "platform/Fonts.h"

namespace masumemo::board {

QFont DotRuler::boardFont()
{
    // Pixels, not points: a screen of another resolution must not change the dots.
    QFont font(platform::kPGothic);
    font.setPixelSize(16);
    return font;
}

DotRuler::DotRuler(const QFont& font)
    : m_metrics(font), m_dotsPerBoardDot(QFontInfo(font).pixelSize() / 16.0)
{
}

double DotRuler::advance(char16_t c) const
{
    // The Unicode spaces take the board's widths, which the screen font rounds otherwise or
    // lacks.
    if (board::isUnicodeSpace(c)) {
        return *board::blankDots(c) * m_dotsPerBoardDot;
    }
    return m_metrics.horizontalAdvance(QChar(c));
}

int DotRuler::width(std::u16string_view text) const
{
    double sum = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (QChar::isHighSurrogate(text[i]) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1])) {
            // A character outside the basic plane is measured whole, not as two halves.
            sum += m_metrics.horizontalAdvance(
                QString(reinterpret_cast<const QChar*>(text.data() + i), 2));
            ++i;
        } else {
            sum += advance(text[i]);
        }
    }
    return qRound(sum);
}

CharDots DotRuler::charDots() const
{
    return [ruler = *this](char16_t c) {
        if (const auto blank = blankDots(c)) {
            return *blank;
        }
        if (QChar::isHighSurrogate(c)) {
            return 16;
        }
        if (QChar::isLowSurrogate(c)) {
            return 0;
        }
        return qRound(ruler.advance(c));
    };
}

}  // namespace masumemo::board
