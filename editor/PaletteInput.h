#pragma once
// The character palette at work: filling the grid for a category, writing a pressed character
// at the canvas caret, the recently used row and click input. The window owns the buttons; this
// class fills them and handles their presses.

#include <QObject>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "input/PaletteTables.h"
#include "input/RecentRow.h"

class QLabel;
class QPushButton;
class QToolBar;

namespace masumemo::editor {

class CanvasWidget;

/// The parts of the window the palette works with.
struct PaletteParts
{
    std::span<QPushButton* const> cmdMoji;
    std::span<QPushButton* const> cmdUse;
    CanvasWidget* txtMain = nullptr;
    QLabel* clickPanel = nullptr;  ///< status panel 3
    QToolBar* toolBar = nullptr;   ///< its checkable button is click input's
    bool* clickInput = nullptr;    ///< the window's ClickInput
    std::function<void()> dataShow;
};

class PaletteInput : public QObject
{
    Q_OBJECT
public:
    /// Hooks itself to the cmdMoji and cmdUse buttons and to the canvas.
    PaletteInput(PaletteParts parts, QObject* parent);

    /// The grid part of optMoji_Click: captions and visibility of the 104 buttons.
    void showCategory(int category);
    const input::PaletteGrid& grid() const { return m_grid; }

    /// Writes text at the caret as a paste would, a selection being blanked first. The caption
    /// "&&" writes one "&".
    void InsertAtCaret(std::u16string_view text);

    /// A press on palette button index. Left and middle write its character, right its narrow
    /// form; in click input the press only chooses the held character.
    void cmdMoji_MouseDown(int index, Qt::MouseButton button);
    /// The release after it: focus back to the canvas and a fresh position display.
    void cmdMoji_MouseUp(int index);
    void cmdUse_Click(int index);

    /// Puts key at the front of the recently used row and shows the row.
    void UseKey(std::u16string_view key);
    const input::RecentRow& recentRow() const { return m_row; }

    /// The toolbar's "クリック入力": switches click input, with panel 3 and its message.
    void toggleClickInput();
    bool clickInput() const;
    /// The character click input stamps; empty until a palette button was pressed in it.
    const std::u16string& HeldChar() const { return m_heldChar; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRow();
    /// Status panel 3 and the toolbar button follow the mode and the held character.
    void showClickInput();
    /// The character the canvas stamps on a click; 0 when click input is off or nothing is held.
    char16_t stampCharacter() const;

    PaletteParts m_parts;
    input::PaletteGrid m_grid;
    input::RecentRow m_row;
    std::u16string m_heldChar;
};

}  // namespace masumemo::editor
