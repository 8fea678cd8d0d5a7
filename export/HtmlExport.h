#pragma once
// The picture as a standalone HTML page: UTF-8, the text in <pre>, in a font list of faces that
// keep the grid, with the line height and letter spacing fixed so the lines stay aligned.

#include <QByteArray>
#include <QString>

#include "export/PictureLayout.h"

namespace masumemo::exporting {

struct HtmlStyle
{
    QString title;
    int fontPixels = 16;
    int lineHeightPixels = 16;
};

/// The font list of the page: grid-keeping Japanese Gothic faces, then any monospace face.
inline const QString kHtmlFontList =
    QStringLiteral("IPAGothic, \"MS Gothic\", Osaka-Mono, monospace");

/// text with &, < and > (and " for attribute use) as character references.
QString escapeHtml(const QString& text);

/// The whole page, UTF-8 encoded.
QByteArray htmlPage(const Picture& picture, const HtmlStyle& style);

}  // namespace masumemo::exporting
