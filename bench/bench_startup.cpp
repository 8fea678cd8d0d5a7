// Start-up to the first shown window: this program's start (translation, fonts, registry, the
// chooser on screen) in a fresh process, against a minimal Qt program that shows one empty
// window, also in a fresh process. Both children run on the offscreen platform and exit as soon
// as their window has been shown and painted once.

#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <cstring>

#include "Timing.h"
#include "launcher/CommandLine.h"
#include "launcher/StartUp.h"
#include "launcher/WindowRegistry.h"

namespace {

/// Leaves the event loop once everything queued up to now, the first paint included, has run.
int runUntilShown(QApplication& app)
{
    QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    return app.exec();
}

int childProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    masumemo::launcher::prepareApplication(app);
    const auto windows = masumemo::launcher::startUp(masumemo::launcher::CommandLine{});
    return runUntilShown(app);
}

int childBaseline(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    return runUntilShown(app);
}

void runChild(const char* self, const char* role)
{
    QProcess child;
    child.start(QString::fromLocal8Bit(self), {QString::fromLatin1(role)});
    child.waitForFinished(-1);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--program") == 0) {
        return childProgram(argc, argv);
    }
    if (argc > 1 && std::strcmp(argv[1], "--baseline") == 0) {
        return childBaseline(argc, argv);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    // Once each first, so both find the libraries and fonts in the page cache.
    runChild(argv[0], "--baseline");
    runChild(argv[0], "--program");
    const auto [program, baseline] =
        masumemo::bench::bestOfAlternating([&] { runChild(argv[0], "--program"); },
                                           [&] { runChild(argv[0], "--baseline"); });
    return masumemo::bench::report("start-up to the chooser vs an empty Qt window", program,
                                   baseline, 2.0)
               ? 0
               : 1;
}
