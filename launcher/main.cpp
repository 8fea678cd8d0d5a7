#include <QApplication>

#include "editor/frmMain.h"
#include "platform/Fonts.h"
#include "platform/Translations.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    masumemo::platform::installJapaneseTranslations(app);
    masumemo::platform::installFontSubstitutions();
    masumemo::editor::frmMain window;
    window.show();
    return app.exec();
}
