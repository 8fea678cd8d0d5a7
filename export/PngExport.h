#pragma once
// The picture drawn as an image: black on white, every mark at the x its placement gives, one
// line height apart, with a margin all round.

#include <QFont>
#include <QImage>
#include <memory>

#include "export/PictureLayout.h"

namespace masumemo::exporting {

/// The margin around the picture at scale 1, in pixels.
inline constexpr int kImageMargin = 8;

/// The canvas font at a pixel size: points as a 96 dpi screen shows them, so an image does not
/// depend on the screen (or the lack of one) it was made on. pointSize 0 keeps the font's own.
QFont pictureFont(const QFont& canvasFont, double pointSize = 0);

/// Sizes at scale 1, in pixels.
struct Geometry
{
    double cellWidth = 0;  ///< one half-width cell: half a full-width space
    double lineHeight = 0;  ///< whole pixels
    double ascent = 0;      ///< whole pixels
};
Geometry pictureGeometry(const QFont& font);

/// Where the canvas shows the characters of font (from pictureFont): by the proportional
/// canvas font's own advances at the font's pixel size, otherwise on the grid of its cells.
std::unique_ptr<Placement> placementFor(const QFont& font);

/// The widest line and every line by its line height, plus the margin, times scale.
QSize imageSize(const Picture& picture, const Geometry& geometry, const Placement& placement,
                int scale);

/// The largest image made, counted at four bytes a pixel as viewers and the clipboard hold it:
/// the same bound as a picture read for the underlay.
inline constexpr qint64 kImageLimitBytes = 256LL * 1024 * 1024;
/// Whether an image of size stays within kImageLimitBytes (an empty size never does).
bool fitsImageLimit(QSize size);
/// The size renderPicture makes of picture in font at scale.
QSize pictureImageSize(const Picture& picture, const QFont& font, int scale);
/// Why an image of size is not made.
QString imageTooLargeText(QSize size);

/// Draws the picture in font (from pictureFont) at scale 1 or 2. Without a placement the marks
/// sit where placementFor(font) puts them. A null image, made in no time, when it would pass
/// kImageLimitBytes.
QImage renderPicture(const Picture& picture, const QFont& font, int scale,
                     const Placement* placement = nullptr);

/// The image as PNG file bytes; empty if encoding failed.
QByteArray pngBytes(const QImage& image);

}  // namespace masumemo::exporting
