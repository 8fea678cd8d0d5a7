#include "BoardSetting.h"

#include <QSettings>

#include "platform/ProgramSettings.h"

namespace masumemo::check {

namespace {

const QString kPassesUnicodeKey = QStringLiteral("BoardCheck/PassesUnicode");
const QString kMaxBytesKey = QStringLiteral("BoardCheck/MaxBytes");
const QString kMaxLinesKey = QStringLiteral("BoardCheck/MaxLines");

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

BoardLimits savedLimits()
{
    const auto settings = platform::openProgramSettings();
    return {platform::readInt(*settings, kMaxBytesKey, kDefaultMaxBytes, 1, kLargestLimit),
            platform::readInt(*settings, kMaxLinesKey, kDefaultMaxLines, 1, kLargestLimit),
            settings->value(kPassesUnicodeKey, true).toBool()};
}

void saveLimits(const BoardLimits& limits)
{
    {
        const auto settings = platform::openProgramSettings();
        settings->setValue(kMaxBytesKey, limits.maxBytes);
        settings->setValue(kMaxLinesKey, limits.maxLines);
    }
    setPassesUnicode(limits.passesUnicode);
    emit BoardSetting::instance().limitsChanged();
}

BoardSetting& BoardSetting::instance()
{
    static BoardSetting setting;
    return setting;
}

}  // namespace masumemo::check
