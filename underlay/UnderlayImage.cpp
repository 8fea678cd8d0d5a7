#include "UnderlayImage.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

#include <span>
#include <string>

namespace masumemo::underlay {

namespace {

const QString kNotFound = QStringLiteral("ファイルが見つかりません。");
const QString kNotImage = QStringLiteral("画像ファイルではないか、読めない形式です。");
const QString kDamaged = QStringLiteral("画像が途中で切れているか、壊れています。");

std::span<const unsigned char> bytesOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const unsigned char*>(bytes.constData()),
            static_cast<size_t>(bytes.size())};
}

/// Whether the file holds the whole picture its format promises (see UnderlayRules).
bool fileComplete(const QString& path, const std::string& format)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const qint64 size = file.size();
    if (format == "jpeg" || format == "jpg") {
        // Its marks are followed through the whole file, mapped rather than copied.
        if (const uchar* data = file.map(0, size)) {
            return jpegComplete({data, static_cast<size_t>(size)});
        }
        return jpegComplete(bytesOf(file.readAll()));
    }
    if (format == "bmp") {
        return bmpComplete(bytesOf(file.read(64)), static_cast<std::uint64_t>(size));
    }
    constexpr qint64 kTail = 64;
    file.seek(std::max<qint64>(0, size - kTail));
    return endsComplete(format, bytesOf(file.read(kTail)));
}

}  // namespace

DecodedUnderlay decodeUnderlay(const QString& path, int scale)
{
    DecodedUnderlay out;
    if (!QFileInfo(path).isFile()) {
        out.error = kNotFound;
        return out;
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        out.error = kNotImage;
        return out;
    }
    // The size in the file; a photo turned a quarter by its orientation tag stands the other way.
    const QSize stored = reader.size();
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const PixelSize inFile{stored.width(), stored.height()};
    out.natural = turned ? PixelSize{inFile.height, inFile.width} : inFile;
    if (stored.isValid() && !fitsDecodeLimit(inFile)) {
        out.error = QStringLiteral("画像が大きすぎて読み込めません（%1 × %2 ピクセル）。")
                        .arg(out.natural.width)
                        .arg(out.natural.height);
        return out;
    }
    if (!fileComplete(path, reader.format().toLower().toStdString())) {
        out.error = kDamaged;
        return out;
    }
    PixelSize kept{};
    if (stored.isValid()) {
        kept = keptSize(inFile, scale);
        if (kept != inFile) {
            reader.setScaledSize(QSize(kept.width, kept.height));
        }
    }
    QImage image;
    if (!reader.read(&image)) {
        out.error = reader.error() == QImageReader::InvalidDataError ? kDamaged : kNotImage;
        return out;
    }
    if (!stored.isValid()) {
        // A format that tells its size only by decoding: the allocation limit guarded it.
        out.natural = {image.width(), image.height()};
    }
    // Kept ready to paint: opaque pictures as plain pixels, others premultiplied.
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32);
    const PixelSize want = keptSize(out.natural, scale);
    if (image.width() != want.width || image.height() != want.height) {
        image = image.scaled(want.width, want.height, Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    }
    out.image = std::move(image);
    return out;
}

QString underlayFileFilter()
{
    QStringList patterns;
    for (const QByteArray& suffix : QImageReader::supportedImageFormats()) {
        patterns << QStringLiteral("*.") + QString::fromLatin1(suffix);
    }
    return QStringLiteral("画像ﾌｧｲﾙ|%1|すべてのﾌｧｲﾙ|*").arg(patterns.join(QLatin1Char(' ')));
}

}  // namespace masumemo::underlay
