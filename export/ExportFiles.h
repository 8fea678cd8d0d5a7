#pragma once
// Writing exported pictures and exporting many files at once.

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

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
/// An HTML page of several pictures, each under its heading.
QByteArray exportHtmlPages(const std::vector<std::u16string>& pages, const QStringList& headings,
                           const ExportOptions& options);

/// A canvas file read for export.
struct CanvasText
{
    bool ok = false;
    QString error;
    std::u16string text;
    /// A file of several pages: each page's text and its heading (its name, or its number).
    /// PNG writes one image per page, NAME-1.png and on, the numbers as wide as the count's;
    /// HTML one page with every page under its heading.
    std::vector<std::u16string> pages;
    QStringList headings;
};

/// The target of page (from 0) of count pages exported to target: "-" and the page number
/// before the extension, zero-padded to the digits of count ("a.png" page 0 of 12: "a-01.png").
QString pageTarget(const QString& target, int page, int count);
using CanvasReader = std::function<CanvasText(const QString& path)>;

/// Where each input goes, and why an input is not exported.
struct ExportPlan
{
    bool intoFolder = false;  ///< output is a folder the targets go into
    QStringList targets;      ///< one per input, in the inputs' order
    QStringList refusals;     ///< one per input: empty when it may be written, else the reason
};

/// Plans the export of files before anything is written. A single file goes to output itself;
/// several files, or an existing folder as output, go into that folder, each under its path
/// relative to the inputs' common folder and the format's extension (so "a/1.txt" and
/// "b/1.txt" stay apart as "a/1.png" and "b/1.png"). Refused: an input whose target is any
/// input (compared as canonical paths, links followed), and an input whose target an earlier
/// input already takes.
ExportPlan planExport(const QStringList& files, const QString& output, Format format);

/// The path with every link resolved, also when its last parts do not exist yet (then the
/// nearest existing folder on the way is resolved and the rest appended).
QString resolvedPath(const QString& path);

/// Exports every file as planExport plans it; a failure (refused, unreadable, unwritable) is
/// reported as "file: reason" and the rest go on. The folder is made when missing, and the
/// subfolders each target needs. 0 when every file was written, 1 otherwise.
int exportFiles(const QStringList& files, const QString& output, const ExportOptions& options,
                const CanvasReader& read, const std::function<void(const QString&)>& report);

}  // namespace masumemo::exporting
