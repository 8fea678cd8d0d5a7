#include "ProgramSettings.h"

#include "AppPaths.h"

namespace masumemo::platform {

std::unique_ptr<QSettings> openProgramSettings()
{
    return std::make_unique<QSettings>(AppPaths::settingsFile(kProgramSettingsName),
                                       QSettings::IniFormat);
}

}  // namespace masumemo::platform
