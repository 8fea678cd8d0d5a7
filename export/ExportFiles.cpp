#include "ExportFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cmath>

#include "export/HtmlExport.h"
#include "export/PngExport.h"
#include "platform/FileAccess.h"

namespace masumemo::exporting {

QString extensionOf(Format format)
{
    return format == Format::Png ? QStringLiteral("png") : QStringLiteral("html");
}

QByteArray exportBytes(std::u16string_view canvas, const ExportOptions& options)
{
    const Picture picture = layOutPicture(canvas);
    if (options.format == Format::Png) {
        return pngBytes(renderPicture(picture, options.font, options.scale));
    }
    const Geometry geometry = pictureGeometry(options.font);
    HtmlStyle style;
    style.title = options.title;
    style.fontPixels = options.font.pixelSize();
    style.lineHeightPixels = static_cast<int>(std::lround(geometry.lineHeight));
    return htmlPage(picture, style);
}

QString outputPathFor(const QString& output, const QString& input, bool intoFolder,
                      Format format)
{
    if (!intoFolder) {
        return output;
    }
    return QDir(output).filePath(QFileInfo(input).completeBaseName() + QLatin1Char('.') +
                                 extensionOf(format));
}

int exportFiles(const QStringList& files, const QString& output, const ExportOptions& options,
                const CanvasReader& read, const std::function<void(const QString&)>& report)
{
    const bool intoFolder = files.size() > 1 || QFileInfo(output).isDir();
    if (intoFolder && !QDir().mkpath(output)) {
        report(QStringLiteral("%1: フォルダーを作れません。").arg(output));
        return 1;
    }
    int status = 0;
    QSet<QString> written;
    for (const QString& input : files) {
        const auto fail = [&](const QString& why) {
            report(QStringLiteral("%1: %2").arg(input, why));
            status = 1;
        };
        const QString target = outputPathFor(output, input, intoFolder, options.format);
        // Two inputs of the same name from different folders must not overwrite each other.
        const QString key = QFileInfo(target).absoluteFilePath();
        if (written.contains(key)) {
            fail(QStringLiteral("同じ名前の書き出し先 %1 は、先のファイルが使っています。")
                     .arg(target));
            continue;
        }
        const CanvasText canvas = read(input);
        if (!canvas.ok) {
            fail(canvas.error);
            continue;
        }
        ExportOptions each = options;
        if (each.title.isEmpty()) {
            each.title = QFileInfo(input).fileName();
        }
        const QByteArray bytes = exportBytes(canvas.text, each);
        if (bytes.isEmpty()) {
            fail(QStringLiteral("画像を作れませんでした（大きすぎます）。"));
            continue;
        }
        const platform::FileProblem problem = platform::writeWholeFile(
            target, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        if (problem != platform::FileProblem::None) {
            fail(QStringLiteral("%1 に書き込めません。%2")
                     .arg(target, platform::problemText(problem)));
            continue;
        }
        written.insert(key);
    }
    return status;
}

}  // namespace masumemo::exporting
