#include "StartUp.h"

#include <QApplication>

#include "CommandLine.h"
#include "ProgramIcon.h"
#include "WindowRegistry.h"
#include "editor/FileCommands.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Translations.h"

namespace masumemo::launcher {

void prepareApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("masumemo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("masumemo"));
    QApplication::setWindowIcon(programIcon());
    // Only the windows decide when the program ends: the last one closed ends it.
    QApplication::setQuitOnLastWindowClosed(true);

    platform::installJapaneseTranslations(app);
    platform::installFontSubstitutions();
    platform::Dialogs::install(nullptr);
}

std::unique_ptr<WindowRegistry> startUp(const CommandLine& command)
{
    auto registry = std::make_unique<WindowRegistry>();
    if (command.egaocho) {
        registry->showDictionary();
    } else if (!command.files.isEmpty()) {
        // One editor, so one file: the first.
        registry->showEditor()->files().FileOpen(command.files.first());
    } else if (command.library.isEmpty()) {
        registry->showChooser();
    }
    if (!command.library.isEmpty()) {
        // Beside the editor, which it shows first.
        registry->showLibrary()->openOn(command.library);
    }
    return registry;
}

}  // namespace masumemo::launcher
