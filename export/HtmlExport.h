#pragma once
// The picture as a standalone HTML page: UTF-8, the text in <pre>, in a font list of faces that
// keep the grid, with the line height and letter spacing fixed so the lines stay aligned.

#include <QByteArray>
#include <QFont>
#include <QString>

#include "export/PictureLayout.h"

namespace masumemo::exporting {

/// The font list of a page drawn on the grid: grid-keeping Japanese Gothic faces, then any
/// monospace face.
inline const QString kHtmlFontList =
    QStringLiteral("IPAGothic, \"MS Gothic\", Osaka-Mono, monospace");
/// The font list of a page drawn in the proportional canvas font: faces with that font's
/// widths, which such pictures are spaced for, at the size and line they were made at.
inline const QString kHtmlProportionalFontList =
    QStringLiteral("Monapo, Mona, \"MS PGothic\", \"ＭＳ Ｐゴシック\"");
inline constexpr int kProportionalFontPixels = 16;
inline constexpr int kProportionalLinePixels = 18;

struct HtmlStyle
{
    QString title;
    int fontPixels = 16;
    int lineHeightPixels = 16;
    QString fontList = kHtmlFontList;
};

/// The page's fonts for a picture shown in font (from pictureFont) with lines lineHeight apart.
HtmlStyle htmlStyleFor(const QFont& font, int lineHeight);

/// text with &, < and > (and " for attribute use) as character references.
QString escapeHtml(const QString& text);

/// The whole page, UTF-8 encoded.
QByteArray htmlPage(const Picture& picture, const HtmlStyle& style);

/// One picture of a page of several, under its heading.
struct HtmlSection
{
    QString heading;
    Picture picture;
};
/// A page of several pictures, each under its heading, UTF-8 encoded.
QByteArray htmlPage(const std::vector<HtmlSection>& sections, const HtmlStyle& style);

}  // namespace masumemo::exporting
