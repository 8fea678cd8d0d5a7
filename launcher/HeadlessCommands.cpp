#include "HeadlessCommands.h"

#include <QTextStream>

#include <algorithm>
#include <cstdio>

#include "check/CheckCommand.h"
#include "document/Document.h"
#include "platform/CanvasPreferences.h"
#include "export/ExportFiles.h"
#include "export/PngExport.h"
#include "platform/Fonts.h"

namespace masumemo::launcher {
namespace {

void printError(const QString& line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

int runExport(const CommandLine& command)
{
    exporting::ExportOptions options;
    options.format = command.exportFormat == QLatin1String("html") ? exporting::Format::Html
                                                                   : exporting::Format::Png;
    // The font and size a new editor shows: the ones the author chose last.
    const platform::CanvasPreferences remembered = platform::readCanvasPreferences();
    const QString family = command.font.isEmpty() ? remembered.font : command.font;
    options.font = exporting::pictureFont(QFont(family, remembered.pointSize), command.fontSize);
    options.scale = command.scale;
    const auto read = [](const QString& path) {
        document::Document picture;
        const document::OpenReport file = picture.open(path);
        exporting::CanvasText canvas{file.ok, file.error, picture.page().text, {}, {}};
        if (file.ok && picture.pageCount() > 1) {
            for (int i = 0; i < picture.pageCount(); ++i) {
                canvas.pages.push_back(picture.pageText(i));
                const QString name = QString::fromStdU16String(picture.pageAt(i).name);
                canvas.headings << (name.isEmpty() ? QStringLiteral("ﾍﾟｰｼﾞ %1").arg(i + 1) : name);
            }
        }
        return canvas;
    };
    return exporting::exportFiles(command.files, command.output, options, read, printError);
}

}  // namespace

int runHeadless(const CommandLine& command)
{
    if (command.check) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        const auto read = [](const QString& path) {
            document::Document picture;
            const document::OpenReport file = picture.open(path);
            check::CheckedFile checked{file.ok, file.error, picture.page().text, {}};
            if (file.ok && picture.hasPages()) {
                const std::vector<int> lines = picture.pageFileLines();
                for (int i = 0; i < picture.pageCount(); ++i) {
                    checked.pages.push_back(
                        {picture.pageText(i), std::max(1, lines[static_cast<size_t>(i)])});
                }
            }
            return checked;
        };
        const check::BoardLimits limits{command.maxBytes, command.maxLines,
                                        command.passesUnicode};
        return check::runCheckCommand(command.files, limits, read, out, err);
    }
    if (!command.exportFormat.isEmpty()) {
        return runExport(command);
    }
    return kUsageErrorStatus;
}

}  // namespace masumemo::launcher
