#pragma once
// What the program does between creating the application object and entering its event loop.

#include <QString>
#include <QStringList>

#include <memory>

class QApplication;

namespace masumemo::launcher {

struct CommandLine;
class WindowRegistry;

/// Names the application, loads Qt's Japanese translation and the font substitutions, and puts
/// Qt's own dialogs behind the dialogs seam. Headless commands need this too.
void prepareApplication(QApplication& app);

/// Shows what the command line asks for: Egaocho alone, the editor with a file opened as Open
/// would (a file that cannot be opened leaves its message and an empty editor; more files are
/// named in a message as not opened), or the chooser;
/// with a library path, also the parts window open on it beside the editor.
/// The registry it returns owns the program's windows; keep it alive while the event loop runs.
std::unique_ptr<WindowRegistry> startUp(const CommandLine& command);

/// The message for files given beyond the first, which the one editor does not open: their
/// names, the first ten of them.
QString filesNotOpenedText(const QStringList& files);

}  // namespace masumemo::launcher
