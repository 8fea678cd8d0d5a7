#include <QApplication>

#include <cstdio>

#include "launcher/CommandLine.h"
#include "launcher/HeadlessCommands.h"
#include "launcher/StartUp.h"
#include "launcher/WindowRegistry.h"

namespace {

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    if (!text.endsWith(QLatin1Char('\n'))) {
        std::fputc('\n', stream);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    using masumemo::launcher::CommandLine;
    namespace launcher = masumemo::launcher;

    if (!launcher::chooseDisplayPlatform(argc, argv)) {
        launcher::keepQtQuiet();
    }
    QApplication app(argc, argv);
    launcher::prepareApplication(app);
    // Read after the application object took its own options (-platform and the like) out.
    const CommandLine command = launcher::readCommandLine(QCoreApplication::arguments());
    switch (command.outcome) {
        case CommandLine::Outcome::Help:
            print(stdout, launcher::helpText());
            return 0;
        case CommandLine::Outcome::Version:
            print(stdout, launcher::versionLine());
            return 0;
        case CommandLine::Outcome::UsageError:
            print(stderr, command.error + QStringLiteral("\n--help で使い方を表示します。"));
            return launcher::kUsageErrorStatus;
        case CommandLine::Outcome::Headless:
            return launcher::runHeadless(command);
        case CommandLine::Outcome::Windows:
            break;
    }
    const auto windows = launcher::startUp(command);
    return app.exec();
}
