#pragma once
// Where the program keeps its files. masuedit.ini and kaomoji.ini live in the program's
// directory; for an installed copy (<prefix>/bin beside <prefix>/share/masumemo), or when the
// directory cannot be written, they live in the user's configuration folder instead, so
// favourites and the dictionary list are never lost to a read-only install. Defolt.txt is
// looked for beside the program, then in the installed data folders.

#include <QString>

namespace masumemo::platform {

class AppPaths
{
public:
    /// The directory that holds the program (or the one a test put in its place).
    static QString programDirectory();
    /// Tests stand a temporary directory in for the program's; an empty path restores it.
    static void setProgramDirectoryForTesting(const QString& dir);

    /// Full path of one of the program's own writable files ("masuedit.ini", "kaomoji.ini").
    static QString settingsFile(const QString& name);
    /// Full path of the default dictionary, or of where it would be beside the program when it
    /// is found nowhere.
    static QString defaultDictionary();

    /// dir joined with name by the platform's separator.
    static QString join(const QString& dir, const QString& name);

    /// Whether files can be created in dir (probed by creating and removing one).
    static bool isWritableDirectory(const QString& dir);
};

inline const QString kDefaultDictionaryName = QStringLiteral("Defolt.txt");

}  // namespace masumemo::platform
