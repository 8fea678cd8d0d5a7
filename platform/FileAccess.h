#pragma once
// Reading and writing whole files, the one way every file of the program goes: the canvas
// files, masuedit.ini, kaomoji.ini and the emoticon files.
//
// Only regular files are read, and never more than the caller's limit: a named pipe, a device
// or a folder is refused before it is opened (a pipe would block every window, a device could
// be read without end). Writing goes through a temporary file renamed over the old one, so a
// failed write leaves the old file as it was, and every byte is checked.

#include <QByteArray>
#include <QString>
#include <string_view>

namespace masumemo::platform {

/// Why a file could not be read or written.
enum class FileProblem
{
    None,
    NotFound,          ///< no such file, or a folder on the way is missing
    PermissionDenied,  ///< no permission, or a read-only file system
    NoSpace,           ///< the disk or the user's quota is full
    IsFolder,          ///< the name is a folder
    NotRegularFile,    ///< a named pipe, socket or device
    TooLarge,          ///< past the caller's limit or the system's file size limit
    Other,             ///< any other failure of the system
};

/// The problem a system error number (errno) stands for; 0 gives None.
FileProblem problemOfErrno(int error);

/// The reason shown to the user, one Japanese sentence; empty for None.
QString problemText(FileProblem problem);

/// What a path names, without opening it: None for a regular file (a link to one counts),
/// otherwise why it cannot be read as one.
FileProblem regularFileProblem(const QString& path);

/// A whole file's bytes, or why there are none.
struct FileBytes
{
    FileProblem problem = FileProblem::None;
    QByteArray bytes;  ///< empty unless problem is None
};

/// Reads the regular file at path, refusing it unopened when it is not a regular file or is
/// larger than maxBytes. A file that changes into something else or grows past maxBytes while
/// it is read is refused too; reading never blocks.
FileBytes readRegularFile(const QString& path, qint64 maxBytes);

/// How writeWholeFile may replace the file.
enum class WriteMode
{
    /// A temporary file in the same folder is renamed over the old file.
    Replace,
    /// As Replace, but a writable file in a folder that is not writable is overwritten in place
    /// (then a failure can leave it cut short).
    ReplaceOrOverwrite,
};

/// Writes bytes as the whole file at path. Unbuffered, so a short write (a full disk, a file
/// size limit) shows at once instead of vanishing in a flush that still reports success; on any
/// failure the old file is kept and the reason returned. A folder, pipe or device at path is
/// refused, never replaced.
FileProblem writeWholeFile(const QString& path, std::string_view bytes,
                           WriteMode mode = WriteMode::Replace);

/// Appends bytes to the end of the regular file at path in one write, without rewriting what
/// it holds, provided the file still has expectedSize bytes (a missing file counts as 0 and is
/// made): so bytes worked out from what was read of the file still follow it. When the size
/// differs, nothing is written and *changed is set; the caller reads the file again. A write
/// that fails part way is cut back off, so the file keeps what it held.
FileProblem appendToFile(const QString& path, std::string_view bytes, qint64 expectedSize,
                         bool* changed);

}  // namespace masumemo::platform
