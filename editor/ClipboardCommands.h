#pragma once
// The Edit menu's commands on the canvas (select all, cut, copy, paste) and BR get. The canvas
// is a fixed grid: cut blanks what it takes instead of removing it, and paste is laid over the
// canvas by the controller. The clipboard holds plain text with LF line ends.

#include <string>
#include <string_view>

namespace masumemo::editor {

class CanvasWidget;

/// BR get's text: each line with its trailing spaces removed, "<br>" between lines, and no
/// "<br>" left at the end (so trailing blank lines leave no marker), and each character code
/// page 932 lacks written as its reference ("&#x200A;"), as the board stores it. A canvas that
/// is blank throughout gives an empty text.
std::u16string brGetText(std::u16string_view canvasText);

namespace ClipboardCommands {

/// Selects the whole canvas (a line break counting two) and gives txtMain the focus.
void selectAll(CanvasWidget& txtMain);
/// Puts the selection on the clipboard (nothing selected: an empty text). The canvas is not
/// changed.
void copy(CanvasWidget& txtMain);
/// Copies the selection, then blanks it to spaces of the same widths as an edit of its own
/// (Modified, an undo step), the caret at the selection's start. With nothing selected only
/// the clipboard changes: there is nothing to undo.
void cut(CanvasWidget& txtMain);
/// Lays the clipboard's text over the canvas at the caret, a selection blanked first. An empty
/// clipboard does nothing at all.
void paste(CanvasWidget& txtMain);
/// Puts brGetText of the canvas on the clipboard; the canvas, caret and history stay.
void brGet(const CanvasWidget& txtMain);

}  // namespace ClipboardCommands

}  // namespace masumemo::editor
