#include "ProgramSettings.h"

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

}  // namespace masumemo::platform
