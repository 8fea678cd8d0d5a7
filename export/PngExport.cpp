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

/// Marks whose character the font lacks, drawn one by one so Qt can fall back to another font.
struct Fallback
{
    QChar ch;
    QPointF at;
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
    return std::make_unique<AdvancePlacement>(
        [ruler = board::DotRuler(font)](char16_t ch) { return ruler.advance(ch); });
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

QImage renderPicture(const Picture& picture, const QFont& font, int scale,
                     const Placement* placement)
{
    const Geometry geometry = pictureGeometry(font);
    std::unique_ptr<Placement> own;
    if (!placement) {
        own = placementFor(font);
        placement = own.get();
    }
    QImage image(imageSize(picture, geometry, *placement, scale), QImage::Format_Grayscale8);
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
        chars.resize(static_cast<qsizetype>(line.marks.size()));
        for (size_t k = 0; k < line.marks.size(); ++k) {
            chars[static_cast<qsizetype>(k)] = QChar(line.marks[k].ch);
        }
        glyphs = raw.glyphIndexesForString(chars);
        points.clear();
        QList<quint32> found;
        found.reserve(glyphs.size());
        for (qsizetype k = 0; k < glyphs.size() && k < chars.size(); ++k) {
            const QPointF at((kImageMargin + x[static_cast<size_t>(k)]) * scale, baseline);
            if (glyphs[k] == 0) {
                fallbacks.push_back({chars[k], at});
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
    for (const Fallback& f : fallbacks) {
        painter.drawText(f.at, QString(f.ch));
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
