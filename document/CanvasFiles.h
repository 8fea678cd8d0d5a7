#pragma once
// The one checked reader and writer of canvas files: bounded reading that refuses what is not
// text, and writing through a temporary file renamed over the target.

#include <QString>
#include <string_view>

#include "grid/Fit.h"

namespace masumemo::document {

/// A canvas file read from disk.
struct CanvasFileRead
{
    bool ok = false;
    QString error;  ///< why the file could not be opened (empty when ok)
    grid::CanvasFile file;
    /// The first line end of the file; CR LF when it has none.
    std::string_view lineEnd = "\r\n";
};

/// Reads path as a canvas file. Not ok, with the reason, when the file is missing or cannot be
/// read, holds NUL bytes (not text), or would make a canvas past grid::kMaxOpenedCanvasUnits.
CanvasFileRead readCanvasPath(const QString& path);

/// Writes the canvas to path in form (grid::canvasFileBytes) through a temporary file renamed
/// over it, so a failed write leaves the previous file as it was. False with the reason in
/// error when anything failed.
bool writeCanvasPath(const QString& path, std::u16string_view canvas,
                     const grid::CanvasFileForm& form, QString* error);

/// The text shown when a file would make a canvas past the limits.
QString tooLargeText();

}  // namespace masumemo::document
