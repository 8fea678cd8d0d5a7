#include "HtmlExport.h"

#include "platform/Fonts.h"

namespace masumemo::exporting {

QString escapeHtml(const QString& text)
{
    return text.toHtmlEscaped();
}

HtmlStyle htmlStyleFor(const QFont& font, int lineHeight)
{
    HtmlStyle style;
    if (font.family() == platform::kPGothic) {
        style.fontList = kHtmlProportionalFontList;
        style.fontPixels = kProportionalFontPixels;
        style.lineHeightPixels = kProportionalLinePixels;
    } else {
        style.fontPixels = font.pixelSize();
        style.lineHeightPixels = lineHeight;
    }
    return style;
}

namespace {

/// The picture in <pre>. The parser drops one newline right after <pre>; writing one keeps a
/// blank first line.
QString preOf(const Picture& picture)
{
    QString pre = QStringLiteral("<pre>\n");
    for (const PictureLine& line : picture.lines) {
        pre += escapeHtml(QString::fromStdU16String(line.text));
        pre += QLatin1Char('\n');
    }
    return pre + QStringLiteral("</pre>\n");
}

QByteArray htmlDocument(const QString& body, const HtmlStyle& style)
{
    const QString title =
        escapeHtml(style.title.isEmpty() ? QStringLiteral("Masumemo") : style.title);
    const QString page =
        QStringLiteral(
            "<!DOCTYPE html>\n"
            "<html lang=\"ja\">\n"
            "<head>\n"
            "<meta charset=\"utf-8\">\n"
            "<title>%1</title>\n"
            "<style>\n"
            "body { background: #fff; color: #000; }\n"
            "pre { font-family: %2; font-size: %3px; line-height: %4px; letter-spacing: 0;\n"
            "      font-kerning: none; font-variant-ligatures: none; white-space: pre; }\n"
            "</style>\n"
            "</head>\n"
            "<body>\n"
            "%5"
            "</body>\n"
            "</html>\n")
            .arg(title, style.fontList, QString::number(style.fontPixels),
                 QString::number(style.lineHeightPixels), body);
    return page.toUtf8();
}

}  // namespace

QByteArray htmlPage(const Picture& picture, const HtmlStyle& style)
{
    return htmlDocument(preOf(picture), style);
}

QByteArray htmlPage(const std::vector<HtmlSection>& sections, const HtmlStyle& style)
{
    QString body;
    for (const HtmlSection& section : sections) {
        body += QStringLiteral("<h2>%1</h2>\n").arg(escapeHtml(section.heading));
        body += preOf(section.picture);
    }
    return htmlDocument(body, style);
}

}  // namespace masumemo::exporting
