#pragma once
// The canvas font, its size and the push step, remembered in the program's settings so that the
// next start (and an export from the command line) uses what the author chose last.

#include <QString>
#include <QStringList>

namespace masumemo::platform {

/// The sizes the settings page offers, in points.
inline const QStringList kCanvasFontSizes = {QStringLiteral("8"),  QStringLiteral("9"),
                                             QStringLiteral("10"), QStringLiteral("11"),
                                             QStringLiteral("12"), QStringLiteral("14"),
                                             QStringLiteral("15"), QStringLiteral("18"),
                                             QStringLiteral("20"), QStringLiteral("22")};

struct CanvasPreferences
{
    QString font;        ///< one of the canvas fonts of the settings page
    int pointSize = 12;  ///< one of kCanvasFontSizes
    int pushStep = 0;  ///< 0 half, 1 full, 2 dot: the index of the page's option
};

/// What the settings remember; a font or size the page does not offer gives its default.
CanvasPreferences readCanvasPreferences();
void rememberCanvasFont(const QString& font, int pointSize);
void rememberPushStep(int step);

}  // namespace masumemo::platform
