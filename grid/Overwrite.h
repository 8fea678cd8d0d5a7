#pragma once
// Overwrite typing: the change processing that turns an ordinary insert-mode edit back into
// the fixed grid. Pure functions of (canvas before the edit, canvas after the control's own
// edit); the editor feeds them and writes the result back.
//
// "Before" is the canvas with the caret where the control's edit went in (for a paste, the
// insertion point, after any selection was blanked). "After" is the text and caret as the edit
// control leaves them after its own insertion or deletion.

#include <string>
#include <string_view>

namespace masumemo::grid {

/// What caused the change being processed. A change with no key cause is a paste.
enum class ChangeCause
{
    TypedKey,
    DeleteKey,
    BackKey,
    Paste
};

/// The result of processing a change.
struct EditOutcome
{
    bool accepted = false;  ///< false: reject; the caller restores the last accepted canvas
    std::u16string text;    ///< the new canvas (when accepted)
    int caret = 0;          ///< the new caret offset (when accepted)
};

/// The change processing. keta is the canvas width in full-width cells (lines are 2 x keta
/// units). The control's edit is recovered from before, beforeCaret and after alone: after must
/// be before with exactly the edit the cause makes (one character inserted at beforeCaret, the
/// one at beforeCaret or before it removed, or a text inserted at beforeCaret); afterCaret is
/// not needed for that and is not trusted.
///
/// Accepted results keep the line count and every line's width. Rejected: a typed character at
/// a line end or the text's end, a full-width character typed on the last half-width cell, a
/// typed or pasted control character (Tab and the like; pasted CR LF pairs are line breaks),
/// Delete at a line end, Backspace at a line start, an empty paste, a change with fewer lines
/// or with line breaks the cause cannot explain, a caret out of range or between CR and LF,
/// an edited line that is not 2 x keta units wide, and any change to a canvas without cells
/// (keta 0 or the empty text). A paste wholly past the line end is accepted with the text
/// unchanged; callers record only a changed text.
///
/// Carets: after a typed character, after the pasted text (a single-line paste cut at the line
/// end: after what stayed), past the blanked cell for Delete, before it for Backspace. After a
/// multi-line paste the caret follows the last pasted line, or starts the line below it (the
/// text's end on the last line) when that line was cut at the line end.
EditOutcome ProcessChange(std::u16string_view before, int beforeCaret, std::u16string_view after,
                          int afterCaret, ChangeCause cause, int keta);

/// The control's own edits followed by ProcessChange: one typed character at the caret, the
/// character at the caret deleted, the character before the caret deleted, a text inserted at
/// the caret (its line ends already CR LF). Each gives what ProcessChange gives for the text the
/// control would have left.
EditOutcome typeCharacter(std::u16string_view canvas, int caret, char16_t c, int keta);
EditOutcome deleteCharacter(std::u16string_view canvas, int caret, int keta);
EditOutcome backspaceCharacter(std::u16string_view canvas, int caret, int keta);
EditOutcome pasteText(std::u16string_view canvas, int caret, std::u16string_view pasted, int keta);

/// One line of text laid over a canvas line from a unit column, as every line of a multi-line
/// paste is laid.
struct LaidLine
{
    std::u16string text;  ///< the line afterwards, as wide as before
    size_t caret = 0;     ///< index in text just after the laid characters
    bool cut = false;     ///< the laid text ran past the line end and lost its end
};

/// Lays q over line from unit column column (clamped to the line): the cells it covers go, a
/// full-width character half covered at either end leaves " " for its other half, and what
/// runs past the line end is lost (a full-width character that would stick out leaves " ").
/// An empty q leaves the line as it was.
LaidLine overlayAtColumn(std::u16string_view line, int column, std::u16string_view q);

}  // namespace masumemo::grid
