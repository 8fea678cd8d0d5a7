#pragma once
// Writing exported pictures and exporting many files at once.

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

namespace masumemo::exporting {

enum class Format { Png, Html };

/// "png" or "html"; the extension of the files written in that format.
QString extensionOf(Format format);

struct ExportOptions
{
    Format format = Format::Png;
    QFont font;     ///< the canvas font through pictureFont()
    int scale = 1;  ///< PNG only
    QString title;  ///< HTML only
};

/// The file bytes of a canvas exported as options say.
QByteArray exportBytes(std::u16string_view canvas, const ExportOptions& options);

/// A canvas file read for export.
struct CanvasText
{
    bool ok = false;
    QString error;
    std::u16string text;
};
using CanvasReader = std::function<CanvasText(const QString& path)>;

/// Where input goes: output itself for a single file, else output as a folder and the file's
/// name with the format's extension.
QString outputPathFor(const QString& output, const QString& input, bool intoFolder,
                      Format format);

/// Exports every file; a failure (unreadable, unwritable, two inputs with the same output name)
/// is reported as "file: reason" and the rest go on. Several files, or an existing folder as
/// output, write into that folder, which is made when missing. 0 when every file was written,
/// 1 otherwise.
int exportFiles(const QStringList& files, const QString& output, const ExportOptions& options,
                const CanvasReader& read, const std::function<void(const QString&)>& report);

}  // namespace masumemo::exporting
