#pragma once
// How the canvas shows the characters code page 932 lacks. In the proportional board font a
// Unicode space takes its width on the board (which the screen font rounds or lacks), any other
// such character its own advance; in the fixed font each fills exactly its one half-width cell,
// narrowed when its glyph is wider, so the grid stays exact. Only the characters' formats change:
// the text is the canvas's as it is.

#include <QFont>
#include <QHash>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QTextDocument;

namespace masumemo::editor {

class UnicodeCharacterWidths : public QSyntaxHighlighter
{
public:
    /// Formats the characters of document as the canvas font font shows them.
    UnicodeCharacterWidths(QTextDocument* document, const QFont& font);

    /// The canvas font changed: every width is worked out again.
    void setCanvasFont(const QFont& font);

    /// The advance a character (one unit, or a surrogate pair) has in the canvas, in pixels, or
    /// a negative number when it keeps the font's own.
    double targetAdvance(const QString& character) const;

protected:
    void highlightBlock(const QString& text) override;

private:
    /// The format giving character its target advance; an invalid format for none.
    const QTextCharFormat& formatFor(const QString& character);

    QFont m_font;
    bool m_proportional = false;
    double m_cell = 0;          ///< a half-width cell of the fixed font, in pixels
    double m_pixelsPerDot = 1;  ///< the canvas font's pixel size over the board's 16
    QHash<QString, QTextCharFormat> m_formats;
};

/// True for a character shown with a faint mark: a Unicode space, which leaves no ink.
bool isMarkedSpace(char16_t c);

}  // namespace masumemo::editor
