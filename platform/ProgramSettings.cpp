#include "ProgramSettings.h"

#include <algorithm>

#include "AppPaths.h"
#include "ChangeLock.h"

namespace masumemo::platform {

std::unique_ptr<QSettings> openProgramSettings()
{
    return std::make_unique<QSettings>(AppPaths::settingsFile(kProgramSettingsName),
                                       QSettings::IniFormat);
}

QStringList changeProgramList(const QString& key, const std::function<void(QStringList&)>& change)
{
    const auto settings = openProgramSettings();
    const ChangeLock lock(settings->fileName());
    settings->sync();  // takes in what another copy wrote since this one last looked
    QStringList list = settings->value(key).toStringList();
    change(list);
    settings->setValue(key, list);
    settings->sync();
    return list;
}

int readInt(const QSettings& settings, const QString& key, int fallback, int low, int high)
{
    bool ok = false;
    const qlonglong value = settings.value(key).toString().trimmed().toLongLong(&ok);
    if (!ok) {
        return fallback;
    }
    return static_cast<int>(std::clamp<qlonglong>(value, low, high));
}

bool readBool(const QSettings& settings, const QString& key, bool fallback)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool();
    }
    const QString text = value.toString().trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    return fallback;
}

}  // namespace masumemo::platform
