#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace masumemo::platform {

bool installJapaneseTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    const bool loaded = translator->load(QLocale(QLocale::Japanese, QLocale::Japan),
                                         QStringLiteral("qtbase"), QStringLiteral("_"),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded) {
        delete translator;
        return false;
    }
    app.installTranslator(translator);
    return true;
}

}  // namespace masumemo::platform
