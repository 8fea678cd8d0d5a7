#include "BoardSetting.h"

#include <QSettings>

#include "platform/ProgramSettings.h"

namespace masumemo::check {

namespace {

const QString kPassesUnicodeKey = QStringLiteral("BoardCheck/PassesUnicode");

}  // namespace

bool passesUnicode()
{
    return platform::openProgramSettings()->value(kPassesUnicodeKey, true).toBool();
}

void setPassesUnicode(bool passes)
{
    if (passes == passesUnicode()) {
        return;
    }
    platform::openProgramSettings()->setValue(kPassesUnicodeKey, passes);
    emit BoardSetting::instance().passesUnicodeChanged(passes);
}

BoardSetting& BoardSetting::instance()
{
    static BoardSetting setting;
    return setting;
}

}  // namespace masumemo::check
