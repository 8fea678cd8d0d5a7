#include "CanvasPreferences.h"

#include "platform/Fonts.h"
#include "platform/ProgramSettings.h"

namespace masumemo::editor {
namespace {

const QString kFontKey = QStringLiteral("Canvas/Font");
const QString kSizeKey = QStringLiteral("Canvas/FontSize");
const QString kPushStepKey = QStringLiteral("Canvas/PushStep");

}  // namespace

CanvasPreferences readCanvasPreferences()
{
    const auto settings = platform::openProgramSettings();
    CanvasPreferences p;
    const QString font = settings->value(kFontKey).toString();
    p.font = font == platform::kPGothic ? platform::kPGothic : platform::kGothic;
    const QString size = settings->value(kSizeKey).toString().trimmed();
    if (kCanvasFontSizes.contains(size)) {
        p.pointSize = size.toInt();
    }
    p.pushStep = platform::readInt(*settings, kPushStepKey, 0, 0, 2);
    return p;
}

void rememberCanvasFont(const QString& font, int pointSize)
{
    const auto settings = platform::openProgramSettings();
    settings->setValue(kFontKey, font);
    settings->setValue(kSizeKey, pointSize);
}

void rememberPushStep(int step)
{
    platform::openProgramSettings()->setValue(kPushStepKey, step);
}

}  // namespace masumemo::editor
