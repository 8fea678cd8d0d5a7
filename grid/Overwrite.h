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
enum class ChangeCause { TypedKey, DeleteKey, BackKey, Paste };

/// The result of processing a change.
struct EditOutcome
{
    bool accepted = false;  ///< false: reject; the caller restores the last accepted canvas
    std::u16string text;    ///< the new canvas (when accepted)
    int caret = 0;          ///< the new caret offset (when accepted)
};

/// The change processing. keta is the canvas width in full-width cells (lines are 2 x keta
/// units). A change that leaves fewer lines than before, or that the cause cannot explain, is
/// rejected; the line count and every line's width never change.
EditOutcome ProcessChange(std::u16string_view before, int beforeCaret, std::u16string_view after,
                          int afterCaret, ChangeCause cause, int keta);

/// The control's own edits followed by ProcessChange: one typed character at the caret, the
/// character at the caret deleted, the character before the caret deleted, a text inserted at
/// the caret (its line ends already CR LF).
EditOutcome typeCharacter(std::u16string_view canvas, int caret, char16_t c, int keta);
EditOutcome deleteCharacter(std::u16string_view canvas, int caret, int keta);
EditOutcome backspaceCharacter(std::u16string_view canvas, int caret, int keta);
EditOutcome pasteText(std::u16string_view canvas, int caret, std::u16string_view pasted, int keta);

}  // namespace masumemo::grid
