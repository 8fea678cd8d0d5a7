#include "StartUp.h"

#include <QApplication>

#include "CommandLine.h"
#include "ProgramIcon.h"
#include "WindowRegistry.h"
#include "editor/FileCommands.h"
#include "editor/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Translations.h"
#include "recovery/SnapshotStore.h"

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

QString filesNotOpenedText(const QStringList& files)
{
    constexpr qsizetype kNamed = 10;
    QString text = QStringLiteral("開けるファイルは一度に一つです。次のファイルは開いていません:");
    for (qsizetype i = 0; i < files.size() && i < kNamed; ++i) {
        text += QLatin1Char('\n') + files[i];
    }
    if (files.size() > kNamed) {
        text += QStringLiteral("\nほか %1 件").arg(files.size() - kNamed);
    }
    return text;
}

std::unique_ptr<WindowRegistry> startUp(const CommandLine& command)
{
    // Only a program with windows keeps snapshots and offers them back; headless commands never
    // come here.
    recovery::programSetup() = recovery::setupFromEnvironment();
    auto registry = std::make_unique<WindowRegistry>();
    if (command.egaocho) {
        registry->showDictionary();
    } else if (!command.files.isEmpty()) {
        // One editor, so one file: the first. The others are named, not dropped in silence.
        editor::frmMain* editor = registry->showEditor();
        editor->files().FileOpen(command.files.first());
        if (command.files.size() > 1) {
            platform::Dialogs::instance().message(editor, filesNotOpenedText(command.files.mid(1)),
                                                  platform::Dialogs::Buttons::Ok,
                                                  platform::Dialogs::Icon::Information);
        }
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
