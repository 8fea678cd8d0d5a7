#include "PngExport.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <cmath>

#include "board/DotRuler.h"
#include "platform/Fonts.h"

namespace masumemo::exporting {
namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;

/// Marks whose character the font lacks, drawn one by one so Qt can fall back to another font,
/// each narrowed to its cells when the other font draws it wider.
struct Fallback
{
    QString ch;
    QPointF at;
    double width;  ///< of its cells, in image pixels
};

}  // namespace

QFont pictureFont(const QFont& canvasFont, double pointSize)
{
    QFont font = canvasFont;
    const double points = pointSize > 0 ? pointSize : canvasFont.pointSizeF();
    if (points > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * kPixelsPerPoint))));
    }
    // Kerning and hinting would move glyphs off the grid.
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

Geometry pictureGeometry(const QFont& font)
{
    const QFontMetricsF metrics(font);
    Geometry g;
    g.cellWidth = metrics.horizontalAdvance(QChar(0x3000)) / 2;
    // Whole pixels keep every line's baseline on a pixel row, so all lines come out equally
    // sharp; rounding up keeps adjacent lines from touching.
    g.lineHeight = std::ceil(metrics.lineSpacing());
    g.ascent = std::round(metrics.ascent());
    return g;
}

std::unique_ptr<Placement> placementFor(const QFont& font)
{
    if (font.family() != platform::kPGothic) {
        return std::make_unique<GridPlacement>(pictureGeometry(font).cellWidth);
    }
    // Measured as the dot display measures the canvas, at the image's own pixel size.
    return std::make_unique<AdvancePlacement>([ruler = board::DotRuler(font)](char32_t ch) {
        if (ch > 0xFFFF) {
            const QString pair = QString::fromUcs4(&ch, 1);
            return static_cast<double>(ruler.width(pair.toStdU16String()));
        }
        return ruler.advance(static_cast<char16_t>(ch));
    });
}

QSize imageSize(const Picture& picture, const Geometry& geometry, const Placement& placement,
                int scale)
{
    double width = 0;
    for (const PictureLine& line : picture.lines) {
        width = std::max(width, placement.lineWidth(line));
    }
    const double height = static_cast<double>(picture.lines.size()) * geometry.lineHeight;
    return {static_cast<int>(std::ceil((width + 2 * kImageMargin) * scale)),
            static_cast<int>(std::ceil((height + 2 * kImageMargin) * scale))};
}

bool fitsImageLimit(QSize size)
{
    return !size.isEmpty() &&
           static_cast<qint64>(size.width()) * size.height() * 4 <= kImageLimitBytes;
}

QSize pictureImageSize(const Picture& picture, const QFont& font, int scale)
{
    return imageSize(picture, pictureGeometry(font), *placementFor(font), scale);
}

QString imageTooLargeText(QSize size)
{
    return QStringLiteral("画像が大きすぎます（%1 × %2 ピクセル）。%3 MB を超える画像は作りません。"
                          "文字を小さくするか、絵を分けてください。")
        .arg(size.width())
        .arg(size.height())
        .arg(kImageLimitBytes / (1024 * 1024));
}

QImage renderPicture(const Picture& picture, const QFont& font, int scale,
                     const Placement* placement)
{
    const Geometry geometry = pictureGeometry(font);
    std::unique_ptr<Placement> own;
    if (!placement) {
        own = placementFor(font);
        placement = own.get();
    }
    const QSize size = imageSize(picture, geometry, *placement, scale);
    if (!fitsImageLimit(size)) {
        return {};
    }
    QImage image(size, QImage::Format_Grayscale8);
    if (image.isNull()) {
        return image;
    }
    image.fill(Qt::white);

    QFont drawn = font;
    drawn.setPixelSize(font.pixelSize() * scale);
    const QRawFont raw = QRawFont::fromFont(drawn, QFontDatabase::Japanese);

    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setFont(drawn);
    painter.setRenderHint(QPainter::TextAntialiasing);
    std::vector<Fallback> fallbacks;
    QString chars;
    QList<QPointF> points;
    QList<quint32> glyphs;
    // One glyph run per line: a run draws many glyphs at positions of our choosing in one call.
    for (size_t i = 0; i < picture.lines.size(); ++i) {
        const PictureLine& line = picture.lines[i];
        if (line.marks.empty()) {
            continue;
        }
        const double baseline = (kImageMargin + i * geometry.lineHeight + geometry.ascent) * scale;
        const std::vector<double> x = placement->positions(line);
        // Characters beyond the BMP are no single QChar: they go the fallback way.
        chars.resize(static_cast<qsizetype>(line.marks.size()));
        for (size_t k = 0; k < line.marks.size(); ++k) {
            const char32_t ch = line.marks[k].ch;
            chars[static_cast<qsizetype>(k)] = QChar(ch > 0xFFFF ? u'\0' : static_cast<char16_t>(ch));
        }
        glyphs = raw.glyphIndexesForString(chars);
        points.clear();
        QList<quint32> found;
        found.reserve(glyphs.size());
        for (qsizetype k = 0; k < glyphs.size() && k < chars.size(); ++k) {
            const Mark& mark = line.marks[static_cast<size_t>(k)];
            const QPointF at((kImageMargin + x[static_cast<size_t>(k)]) * scale, baseline);
            if (glyphs[k] == 0 || mark.ch > 0xFFFF) {
                fallbacks.push_back({QString::fromUcs4(&mark.ch, 1), at,
                                     mark.width * geometry.cellWidth * scale});
            } else {
                found.push_back(glyphs[k]);
                points.push_back(at);
            }
        }
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(found);
        run.setPositions(points);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    const QFontMetricsF drawnMetrics(drawn);
    for (const Fallback& f : fallbacks) {
        // Never over the neighbouring cells: a wider glyph from another font is narrowed.
        const double natural = drawnMetrics.horizontalAdvance(f.ch);
        if (natural > f.width + 0.5 && natural > 0) {
            painter.save();
            painter.translate(f.at);
            painter.scale(f.width / natural, 1);
            painter.drawText(QPointF(0, 0), f.ch);
            painter.restore();
        } else {
            painter.drawText(f.at, f.ch);
        }
    }
    return image;
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return {};
    }
    return bytes;
}

}  // namespace masumemo::exporting
