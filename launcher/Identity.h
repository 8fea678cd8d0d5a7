#pragma once
// Who the program says it is: its title and version, shown by the chooser, About and every
// message box. The numbers come from the project's version in CMake, so there is one place to
// change them.

#include <QString>

#include "platform/Dialogs.h"

namespace masumemo::launcher {

inline constexpr int kVersionMajor = MASUMEMO_VERSION_MAJOR;
inline constexpr int kVersionMinor = MASUMEMO_VERSION_MINOR;
inline constexpr int kVersionRevision = MASUMEMO_VERSION_PATCH;

/// The title is the one the message boxes already carry.
inline const QString& programTitle()
{
    return platform::kProgramTitle;
}

/// "ﾊﾞｰｼﾞｮﾝ " and the three numbers in decimal, joined by dots.
QString versionText();

/// The name the maker goes by in About.
inline const QString kMakerName = QStringLiteral("Masumemo developers");

}  // namespace masumemo::launcher
