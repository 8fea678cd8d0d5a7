#include <QApplication>

#include "launcher/StartUp.h"
#include "launcher/WindowRegistry.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const auto windows = masumemo::launcher::startUp(app);
    return app.exec();
}
