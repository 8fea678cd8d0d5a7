#pragma once
// The canvas model and its event rules. The controller owns the canvas text; the widget that
// shows it (txtMain) only reports events and the caret, and is written back line by line.
// No widgets here, so every keystroke path is tested with a scripted view.
//
// Offsets are model offsets: 0-based UTF-16 positions in the canvas text, a line break
// counting as its two characters CR LF. While text is selected, the caret the rules read is
// the selection's lower end, whichever way the selection was made.

#include <QObject>
#include <QString>
#include <Qt>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/LineModel.h"
#include "grid/Push.h"
#include "document/Document.h"

namespace masumemo::editor {

/// The step of the push and pull operations: one half-width unit, one full-width cell, or (for
/// pictures in the proportional board font) one dot, by changing blank runs only.
enum class PushStep
{
    Half,
    Full,
    Dot,
};

/// The arrow a key (a Qt::Key) stands for, if it is one of the four.
std::optional<grid::Arrow> arrowOf(int key);

/// What the controller needs of the widget that shows the canvas.
class CanvasView
{
public:
    virtual ~CanvasView() = default;

    /// Replaces count lines from line first (0-based) by text (lines joined by CR LF).
    /// count < 0 replaces everything the view holds.
    virtual void replaceLines(int first, int count, std::u16string_view text) = 0;

    /// Selects [start, start + length) with the caret at its end; length 0 just places the caret.
    virtual void setSelection(int start, int length) = 0;

    /// The selection's lower end (the caret when nothing is selected).
    virtual int selectionStart() const = 0;
    virtual int selectionLength() const = 0;

    /// A right click: show the window's Edit menu at the pointer.
    virtual void showEditMenu() = 0;
};

class CanvasController
{
public:
    /// What the window hears about. Every member may be left empty.
    struct Callbacks
    {
        std::function<void()> dataShow;        ///< the position display is out of date
        std::function<void()> historyChanged;  ///< undo/redo availability may have changed
        std::function<void()> sizeChanged;     ///< undo/redo restored another Keta/Gyou
        /// Click input: the held character to stamp at a left or middle click, or 0 when there is
        /// nothing to stamp (click input off, or no character chosen yet).
        std::function<char16_t()> clickStamp;
        /// A short word for the status bar on what an operation did ("3ﾄﾞｯﾄ移動しました").
        std::function<void(const QString&)> notice;
    };

    /// The caret as the position display and the rules last saw it (PrevLine, PrevCol).
    struct Snapshot
    {
        int caret = 0;
        int line = 1;    ///< 1-based
        int column = 0;  ///< in characters
    };

    /// Shows and edits the current page of document (not owned; it must outlive the
    /// controller), or of a document of its own when none is given.
    explicit CanvasController(CanvasView& view, document::Document* document = nullptr);
    ~CanvasController();

    document::Document& document() const { return *m_document; }

    void setCallbacks(Callbacks callbacks) { m_callbacks = std::move(callbacks); }
    /// Click input on its own, so the palette can set it without touching the others.
    void setClickStamp(std::function<char16_t()> stamp) { m_callbacks.clickStamp = std::move(stamp); }

    // --- The canvas as a whole -------------------------------------------------------------

    /// Start-up, New and Open: text becomes the canvas (it must hold gyou lines of 2 x keta
    /// units), the caret goes to 0, the history holds just this canvas, Modified is cleared.
    void resetCanvas(std::u16string text, int keta, int gyou);

    /// Replaces the whole text at a size without recording anything (the text does not build
    /// on the canvas as it stood).
    void replaceCanvas(std::u16string text, int keta, int gyou, int caret = 0);

    /// How a writer that builds on the canvas makes its new text: called once the change has
    /// been announced (a floating block is laid down by then) with the text as it then stands.
    using Rewrite = std::function<std::u16string(const std::u16string& text)>;
    /// A size change: build makes the text at keta x gyou; nothing is recorded.
    void resizeCanvas(const Rewrite& build, int keta, int gyou);

    /// The document's current page was replaced or another page became current: the view
    /// shows it whole, the caret where the page kept it.
    void showPage();

    const std::u16string& text() const { return page().text; }
    int keta() const { return page().keta; }
    int gyou() const { return page().gyou; }
    const document::History& history() const { return page().history; }

    bool modified() const { return m_document->modified(); }
    void setModified(bool modified);

    /// Step of the push operations. halfPush() is true only for the half-width step; the dot
    /// step acts on Left and Right, Up and Down moving lines as the half-width step does.
    PushStep pushStep() const { return m_step; }
    void setPushStep(PushStep step);
    bool halfPush() const { return m_step == PushStep::Half; }
    void setHalfPush(bool half) { setPushStep(half ? PushStep::Half : PushStep::Full); }
    /// Whether the dot step may compose blank runs with the Unicode spaces a board shows as
    /// themselves (the posting check's setting).
    void setUnicodeSpaces(bool allowed) { m_unicodeSpaces = allowed; }
    bool unicodeSpaces() const { return m_unicodeSpaces; }

    // --- Position display ------------------------------------------------------------------

    const Snapshot& snapshot() const { return m_snapshot; }
    /// PrevLines: the canvas split into line records, viewing the canvas text (valid until it
    /// next changes).
    std::vector<grid::LineRecord> snapshotLines() const;
    /// The caret's column in half-width units.
    int snapshotUnitColumn() const;
    /// The text of the caret's line, without its line end (valid until the canvas changes).
    std::u16string_view snapshotLineText() const;
    /// Status panel 1, e.g. "列[ 0/70 ]　行[ 1/20 ]".
    QString positionText() const;
    /// Status panel 2: "半角移動", "全角移動" or "ﾄﾞｯﾄ移動".
    QString pushModeText() const;

    // --- Events of txtMain -----------------------------------------------------------------

    /// Key-down. True when the key was handled here and the widget must not act on it
    /// (Delete, Alt and Shift+Alt combinations); false lets navigation keys reach the widget.
    bool KeyDown(Qt::Key key, Qt::KeyboardModifiers modifiers);

    /// Key-press of a character: 8 Backspace, 13 Enter, 27 Escape; 3 (Ctrl+C) and other
    /// control characters change nothing; anything else is typed over the cell at the caret.
    void keyPress(char16_t code);

    /// Key-up of any key: takes the snapshot and refreshes the position display. Escape's
    /// key-up records the canvas when it differs from the current undo entry.
    void keyUp(Qt::Key key);

    /// A press on the canvas; true when it stamped the click-input character (a middle click
    /// then pastes nothing).
    bool mousePress(Qt::MouseButton button);
    /// Click input has a character to stamp at the next left or middle click.
    bool stampsClicks() const { return m_callbacks.clickStamp && m_callbacks.clickStamp() != 0; }
    void mouseRelease();

    /// The caret moved without an event of ours (keypad focus, a navigation the window made).
    void caretMoved();

    /// Text typed in one go (an input-method commit string, a key with several characters):
    /// each character goes through the typed-character rule in turn.
    void inputText(std::u16string_view text);

    /// Text laid over the canvas at the caret (clipboard, middle click, drop, favourites).
    /// Any line ends. An empty text does nothing at all.
    void pasteText(std::u16string_view text);

    /// A whole new canvas made by rules beside these (a block laid down): written with the
    /// caret at caret, Modified set, recorded as one undo step when the text changed.
    void applyEdit(std::u16string text, int caret);

    /// Blanks the selection cell by cell (cut), sets Modified and records it.
    void blankSelection();
    /// The selected text, CR LF line ends.
    std::u16string selectedText() const;

    /// A tool beside the canvas rewrites it at the same size: what build makes becomes the
    /// canvas as one undo step, Modified set, the caret left where it is. The same text changes
    /// nothing.
    void applyText(const Rewrite& build);

    /// RirekiKakunou: records the canvas as it stands as the newest undo entry.
    void RirekiKakunou();

    bool canUndo() const { return history().canUndo(); }
    bool canRedo() const { return history().canRedo(); }
    void undo();
    void redo();

    /// Gives up the change in progress: the canvas goes back to the last accepted text, the
    /// caret to where the change began, and the snapshot is taken of what is shown.
    /// viewDiverged: the view holds something else (an edit that bypassed us); rewrite it whole.
    void reject(bool viewDiverged = false);

private:
    document::Page& page() { return m_document->page(); }
    const document::Page& page() const { return m_document->page(); }
    /// Every write starts here, before the text it builds on is read: whatever rests on the
    /// text as it stands (a floating block) settles first, and the snapshot follows it.
    void prepareChange();
    /// Reads the caret and selection as the view has them and takes the snapshot.
    void takeSnapshot();
    void dataShow();
    /// Writes a new canvas text to the model and the view (only the lines that changed) and
    /// places the selection. Returns false, changing nothing, when the text breaks the grid.
    bool writeText(std::u16string text, int selStart, int selLength, bool checkGrid);
    /// An accepted edit: write, set Modified, record, snapshot. An edit that leaves the text as
    /// it was is recorded only when recordAlways says so.
    void commitEdit(std::u16string text, int selStart, int selLength = 0,
                    bool recordAlways = false);
    /// Typing, Escape and paste over a selection first blank it; true when there was one. The
    /// blanking is recorded together with what follows it, as one step.
    bool blankSelectionFirst();
    /// One typed character (one unit, or the two of a surrogate pair); false when the rule
    /// refused it (and the canvas was restored). recordAlways: it completes the overwrite of a
    /// selection, a step even without a change.
    bool typeOne(std::u16string_view c, bool recordAlways = false);
    /// Undo and redo: the entry's text, caret and size.
    void showEntry(const document::HistoryEntry& entry);
    void applyMove(bool changed, std::u16string text, int start, int length);
    /// Alt or Shift+Alt with Left or Right in the dot step.
    void dotMove(bool pull, grid::Arrow arrow);

    CanvasView& m_view;
    Callbacks m_callbacks;
    std::unique_ptr<document::Document> m_ownDocument;
    document::Document* m_document;
    PushStep m_step = PushStep::Half;
    bool m_unicodeSpaces = true;
    Snapshot m_snapshot;
    /// A place in the text whose line is known, so the caret's line is counted from there and
    /// not from the start: valid for the text whose buffer and size it names.
    struct LineAnchor
    {
        const char16_t* text = nullptr;
        size_t size = 0;
        size_t pos = 0;
        int line = 1;  ///< 1-based
    };
    LineAnchor m_anchor;
    /// The caret's line, 1-based, counted from the anchor when it still holds.
    int lineAt(int caret);
    /// SelPos/SelLen: the selection as the view had it when the current event began.
    int m_selPos = 0;
    int m_selLen = 0;
};

}  // namespace masumemo::editor
