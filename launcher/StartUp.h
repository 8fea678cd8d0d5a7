#pragma once
// What the program does between creating the application object and entering its event loop.

#include <memory>

class QApplication;

namespace masumemo::launcher {

class WindowRegistry;

/// Names the application, loads Qt's Japanese translation and the font substitutions, puts
/// Qt's own dialogs behind the dialogs seam, and shows the chooser. The registry it returns
/// owns the program's windows; keep it alive while the event loop runs.
std::unique_ptr<WindowRegistry> startUp(QApplication& app);

}  // namespace masumemo::launcher
