// PNG export of the largest canvas (every mark placed on the grid, encoded, written through a
// temporary file) against what any program does to get the same text into a PNG: draw it line
// by line into an image of the same size and format, and save it.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "Canvas.h"
#include "Timing.h"
#include "export/ExportFiles.h"
#include "export/PictureLayout.h"
#include "export/PngExport.h"
#include "grid/LineModel.h"
#include "platform/Fonts.h"
#include "platform/FileAccess.h"

using namespace masumemo;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::installFontSubstitutions();
    QTemporaryDir dir;
    const std::u16string canvas = bench::largestCanvas();
    const QFont font = exporting::pictureFont(QFont(platform::kGothic, 12));
    const exporting::ExportOptions options{exporting::Format::Png, font, 1, {}};
    const QString exported = dir.filePath(QStringLiteral("export.png"));
    const QString plain = dir.filePath(QStringLiteral("plain.png"));

    const exporting::Geometry g = exporting::pictureGeometry(font);
    const QSize size = exporting::imageSize(exporting::layOutPicture(canvas), g,
                                            exporting::GridPlacement(g.cellWidth), 1);
    QStringList lines;
    for (const std::u16string& line : grid::SplitText(canvas)) {
        lines << QString::fromStdU16String(line);
    }

    const auto subject = [&] {
        const QByteArray bytes = exporting::exportBytes(canvas, options);
        platform::writeWholeFile(
            exported, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    };
    const auto baseline = [&] {
        QImage image(size, QImage::Format_Grayscale8);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setFont(font);
            painter.setPen(Qt::black);
            for (int i = 0; i < lines.size(); ++i) {
                painter.drawText(QPointF(exporting::kImageMargin,
                                         exporting::kImageMargin + i * g.lineHeight + g.ascent),
                                 lines[i]);
            }
        }
        image.save(plain, "PNG");
    };
    const auto [subjectNs, baselineNs] = bench::bestOfAlternating(subject, baseline);
    const bool met =
        bench::report("PNG export 40 x 800 vs line-by-line draw + save", subjectNs, baselineNs, 1.5);
    return met ? 0 : 1;
}
