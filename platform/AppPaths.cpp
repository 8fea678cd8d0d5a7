#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace masumemo::platform {
namespace {
QString g_testDirectory;

/// <prefix>/share/masumemo of a copy installed as <prefix>/bin/masumemo, when it holds the
/// default dictionary; empty for a copy that is not installed that way.
QString installedDataDirectory()
{
    const QString dir = QDir::cleanPath(
        QDir(AppPaths::programDirectory()).filePath(QStringLiteral("../share/masumemo")));
    return QFileInfo::exists(AppPaths::join(dir, kDefaultDictionaryName)) ? dir : QString();
}
}  // namespace

QString AppPaths::programDirectory()
{
    if (!g_testDirectory.isEmpty()) {
        return g_testDirectory;
    }
    return QCoreApplication::applicationDirPath();
}

void AppPaths::setProgramDirectoryForTesting(const QString& dir)
{
    g_testDirectory = dir;
}

QString AppPaths::join(const QString& dir, const QString& name)
{
    return QDir(dir).filePath(name);
}

bool AppPaths::isWritableDirectory(const QString& dir)
{
    if (!QFileInfo(dir).isDir()) {
        return false;
    }
    // Permission bits lie for root and for read-only mounts: try it.
    QTemporaryFile probe(join(dir, QStringLiteral(".masumemo-probe-XXXXXX")));
    return probe.open();
}

QString AppPaths::settingsFile(const QString& name)
{
    const QString beside = join(programDirectory(), name);
    // Files are saved through a temporary file in the same folder, so the folder itself must
    // be writable, not just the file. An installed copy never writes into its bin folder, not
    // even when run by root, who can write there.
    if (!g_testDirectory.isEmpty() ||
        (installedDataDirectory().isEmpty() && isWritableDirectory(programDirectory()))) {
        return beside;
    }
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return join(config, name);
}

QString AppPaths::defaultDictionary()
{
    const QString beside = join(programDirectory(), kDefaultDictionaryName);
    if (!g_testDirectory.isEmpty() || QFileInfo::exists(beside)) {
        return beside;
    }
    // The installed data folder beside bin/ first: that works for any prefix, also one that
    // is not among the system's data folders.
    if (const QString data = installedDataDirectory(); !data.isEmpty()) {
        return join(data, kDefaultDictionaryName);
    }
    const QString installed =
        QStandardPaths::locate(QStandardPaths::AppDataLocation, kDefaultDictionaryName);
    return installed.isEmpty() ? beside : installed;
}

}  // namespace masumemo::platform
