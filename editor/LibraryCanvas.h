#pragma once
// The editor's side of the parts window: the canvas as the window may use it.

#include <memory>

#include "library/PartsCanvas.h"

namespace masumemo::editor {

class frmMain;

/// The canvas of window for the parts window; it must not outlive window.
std::unique_ptr<library::PartsCanvas> libraryCanvas(frmMain& window);

}  // namespace masumemo::editor
