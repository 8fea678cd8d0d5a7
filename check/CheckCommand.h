#pragma once
// The posting check from the command line: one line per problem, FILE:LINE:COLUMN: message
// (line and unit column from 1, as compilers write them), then a summary line per file.

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <string>
#include <vector>

#include "check/BoardCheck.h"

namespace masumemo::check {

/// One page of a file of pages, checked as a post of its own.
struct CheckedPage
{
    std::u16string text;  ///< lines joined by CR LF
    int firstLine = 1;    ///< the line of the file its first line stands on
};

/// A file read as the editor opens it, or why it could not be.
struct CheckedFile
{
    bool ok = false;
    QString error;
    std::u16string text;  ///< lines joined by CR LF
    /// For an MLT or AST file, its pages: each checked on its own, its problems reported at
    /// the lines of the file and named "ﾍﾟｰｼﾞ N: ", with a summary line per page.
    std::vector<CheckedPage> pages;
};

using CheckFileReader = std::function<CheckedFile(const QString& path)>;

/// path as it is written at the start of a report line. A name holding a line break or another
/// control character would break the lines apart: it is written escaped, C style (\n, \r, \t,
/// \xHH, and a backslash doubled). Other names are written as they are.
QString reportedName(const QString& path);

/// Checks every file; returns 0 when no file has a problem, 1 when one has, 2 when a file could
/// not be read (its reason goes to err, and the other files are still checked).
int runCheckCommand(const QStringList& files, const BoardLimits& limits,
                    const CheckFileReader& read, QTextStream& out, QTextStream& err);

}  // namespace masumemo::check
