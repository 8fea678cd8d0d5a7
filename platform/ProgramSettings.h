#pragma once
// The program's own settings (posting limits, library folders, the underlay, recent files and
// the like), kept apart from masuedit.ini and kaomoji.ini, whose formats are fixed. The file
// lives where those two live, so an installed copy and a test directory behave alike.

#include <QSettings>

#include <functional>
#include <memory>

namespace masumemo::platform {

inline const QString kProgramSettingsName = QStringLiteral("masumemo.conf");

/// A settings object on the program's own file (INI format, UTF-8). Each caller opens its own;
/// QSettings keeps them in step within the process and writes the file through a temporary one.
std::unique_ptr<QSettings> openProgramSettings();

/// Changes the list kept under key as one step against other copies of the program: under a
/// ChangeLock the file is read again, change is applied to the list as the file holds it now,
/// and the file is written. Returns the list as written.
QStringList changeProgramList(const QString& key, const std::function<void(QStringList&)>& change);

// Values read back from a settings file are whatever the file says, edited by hand or damaged:
// each is checked before use.

/// The number stored under key: fallback when missing or not a whole number, otherwise brought
/// within low..high.
int readInt(const QSettings& settings, const QString& key, int fallback, int low, int high);
/// "true" or "false" (any case); fallback for anything else.
bool readBool(const QSettings& settings, const QString& key, bool fallback);

}  // namespace masumemo::platform
