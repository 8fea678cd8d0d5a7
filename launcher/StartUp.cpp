#include "StartUp.h"

#include <QApplication>

#include "ProgramIcon.h"
#include "WindowRegistry.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Translations.h"

namespace masumemo::launcher {

std::unique_ptr<WindowRegistry> startUp(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("masumemo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("masumemo"));
    QApplication::setWindowIcon(programIcon());
    // Only the windows decide when the program ends: the last one closed ends it.
    QApplication::setQuitOnLastWindowClosed(true);

    platform::installJapaneseTranslations(app);
    platform::installFontSubstitutions();
    platform::Dialogs::install(nullptr);

    auto registry = std::make_unique<WindowRegistry>();
    registry->showChooser();
    return registry;
}

}  // namespace masumemo::launcher
