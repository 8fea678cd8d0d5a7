#pragma once
// Where a tool window opens beside the editor: on the screen, next to the editor and off its
// canvas where there is room for that.

#include <QRect>

class QWidget;

namespace masumemo::platform {

/// The frame of a tool window of size `window` (its narrowest useful width `minWidth`) beside
/// `owner` (the editor's frame) on `screen` (the available area):
/// - right of the owner, else left of it, where it fits whole;
/// - else on the wider side, narrowed to that side's room, when minWidth still fits there;
/// - else against the screen's right edge, over the owner's right part, where a picture drawn
///   from the left of the canvas seldom reaches.
/// The top is the owner's, kept on the screen.
QRect besideOwner(const QRect& owner, QSize window, int minWidth, const QRect& screen);

/// Moves (and if need be narrows) a tool window not shown yet beside its owner by besideOwner,
/// on the owner's screen.
void placeBesideOwner(QWidget& window, const QWidget& owner);

}  // namespace masumemo::platform
