#pragma once
// The parts library as a tool of the editor: its entry in the tools menu, and the canvas as the
// parts window sees it, taken from the tool host. The window itself is kept once by the
// program, which shows it when the entry asks for it.

#include <QObject>

#include <memory>

#include "library/PartsCanvas.h"

namespace masumemo::host {
class ToolHost;
}

namespace masumemo::library {

/// The name under which the tool asks the program for the parts window.
inline constexpr const char* kPartsWindow = "library";

class LibraryTool : public QObject
{
    Q_OBJECT
public:
    /// Adds "AA素材(&M)..." to the tools menu.
    LibraryTool(host::ToolHost& host, QObject* parent);
};

/// The host's canvas for the parts window; it must not outlive the host.
std::unique_ptr<PartsCanvas> partsCanvas(host::ToolHost& host);

}  // namespace masumemo::library
