#include "HeadlessCommands.h"

#include <QTextStream>

#include <cstdio>

#include "check/CheckCommand.h"
#include "editor/FileCommands.h"

namespace masumemo::launcher {

int runHeadless(const CommandLine& command)
{
    if (command.check) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        const auto read = [](const QString& path) {
            const editor::CanvasFileRead file = editor::readCanvasPath(path);
            return check::CheckedFile{file.ok, file.error, file.file.canvas.text};
        };
        return check::runCheckCommand(command.files, {command.maxBytes, command.maxLines}, read,
                                      out, err);
    }
    if (!command.exportFormat.isEmpty()) {
        std::fputs("--export: not built yet\n", stderr);
        return 1;
    }
    return kUsageErrorStatus;
}

}  // namespace masumemo::launcher
