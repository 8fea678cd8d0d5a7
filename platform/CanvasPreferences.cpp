#include "CanvasPreferences.h"

#include "platform/Fonts.h"
#include "platform/ProgramSettings.h"

namespace masumemo::platform {
namespace {

const QString kFontKey = QStringLiteral("Canvas/Font");
const QString kSizeKey = QStringLiteral("Canvas/FontSize");
const QString kPushStepKey = QStringLiteral("Canvas/PushStep");

}  // namespace

CanvasPreferences readCanvasPreferences()
{
    const auto settings = openProgramSettings();
    CanvasPreferences p;
    const QString font = settings->value(kFontKey).toString();
    p.font = font == kPGothic ? kPGothic : kGothic;
    const QString size = settings->value(kSizeKey).toString().trimmed();
    if (kCanvasFontSizes.contains(size)) {
        p.pointSize = size.toInt();
    }
    p.pushStep = readInt(*settings, kPushStepKey, 0, 0, 2);
    return p;
}

void rememberCanvasFont(const QString& font, int pointSize)
{
    const auto settings = openProgramSettings();
    // Every Apply remembers the font, mostly the one already there: a value set at all has the
    // whole file written again, with its lock and a rename.
    if (settings->value(kFontKey).toString() != font) {
        settings->setValue(kFontKey, font);
    }
    if (settings->value(kSizeKey).toString() != QString::number(pointSize)) {
        settings->setValue(kSizeKey, pointSize);
    }
}

void rememberPushStep(int step)
{
    openProgramSettings()->setValue(kPushStepKey, step);
}

}  // namespace masumemo::platform
