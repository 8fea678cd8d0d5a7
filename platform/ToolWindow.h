#pragma once
// The tool windows of an editor (the posting check, the parts library, the underlay's window):
// above their editor but never above other programs, minimised and restored with it, and
// windows of their own to assistive technology, so a screen reader names them by their title.

class QWidget;

namespace masumemo::platform {

/// Makes window a tool window of its parent (the editor), before it is first shown. A window
/// without a parent stays an ordinary window, still announced as one.
void makeToolWindow(QWidget& window);

}  // namespace masumemo::platform
