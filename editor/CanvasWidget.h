#pragma once
// txtMain: the plain-text view of the canvas. It never edits its own document: every edit path
// (keys, input method, paste, middle click, drop, context menu) goes to the CanvasController,
// which writes the changed lines back. It is also the one place where model offsets (a line
// break counts two, CR LF) and document positions (one per block break) are converted.

#include <QPlainTextEdit>
#include <QMenu>
#include <QPointer>
#include <QTextBlock>
#include <QTextLayout>

#include <optional>
#include <vector>

#include "CanvasController.h"
#include "host/CanvasLayer.h"

namespace masumemo::editor {

class UnicodeCharacterWidths;

class CanvasWidget : public QPlainTextEdit, public CanvasView, public host::CanvasLayers
{
    Q_OBJECT
public:
    /// Shows and edits the current page of picture (not owned; it must outlive the widget),
    /// or of a document of its own when none is given.
    explicit CanvasWidget(QWidget* parent = nullptr, document::Document* picture = nullptr);
    ~CanvasWidget() override;

    CanvasController& controller() { return m_controller; }
    const CanvasController& controller() const { return m_controller; }

    /// The menu a right click shows (the window's Edit menu).
    void setEditMenu(QMenu* menu) { m_editMenu = menu; }

    /// The clipboard text laid over the canvas at the caret (Ctrl+V, Shift+Insert, Edit menu).
    void pasteFromClipboard();

    /// The cell boundary nearest a point in canvas pixels: x the unit column, y the line (from
    /// 0), both clamped to the canvas.
    QPoint cellAt(QPoint canvasPixel) const;
    /// The left edge, in canvas pixels, of unit column `unit` of line `line` (from 0); inside a
    /// full-width character, its middle.
    int unitX(int line, int unit) const;
    /// The cells of line `line` from unit column `from` up to unit column `to`, in canvas
    /// pixels, each edge as unitX gives it.
    QRect unitSpan(int line, int from, int to) const;
    /// unitSpan for each (from, to) pair of one line, measured in one look-up of the line.
    std::vector<QRect> unitSpans(int line, const std::vector<std::pair<int, int>>& spans) const;
    /// Copy or cut by the layer that takes the input now, if it holds a selection of its own.
    std::optional<QString> layerSelection(bool cut);
    /// Select all given to the capturing layer; false when the text's own selection applies.
    bool layerSelectAll();
    /// The cells the capturing layer has selected its own way (rectangle mode), if any.
    std::optional<host::CellRect> layerCells() const;
    /// The rectangle of dots the capturing layer has selected (rectangle mode), if any.
    std::optional<host::DotArea> layerDots() const;
    /// A floating block of dots of the capturing layer turned; false when there is none.
    bool layerTurnDots(const host::DotTurn& turn);
    /// Where the caret is drawn, in viewport pixels: cursorRect(), except between a character
    /// and the half-width voiced mark after it, where the text layout cannot put a caret.
    QRect shownCaretRect() const;

    int toDocumentPosition(int modelOffset) const;
    int toModelOffset(int documentPosition) const;

    // CanvasView
    void replaceLines(int first, int count, std::u16string_view text) override;
    void setSelection(int start, int length) override;
    int selectionStart() const override;
    int selectionLength() const override;
    void showEditMenu() override;

    // CanvasLayers
    void addLayer(host::CanvasLayer* layer) override;
    void removeLayer(host::CanvasLayer* layer) override;
    void updateLayers(const QRect& area = {}) override;
    QRect textRect(int line, int first, int count) const override;
    QColor background() const override;

signals:
    /// Lines [first, first + removed) (from 0) of the document were replaced by added lines;
    /// removed < 0: the whole text was replaced. The controller's text is already the new one.
    void linesReplaced(int first, int removed, int added);

protected:
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    /// Left or Right (Shift selecting): one character, even a half-width voiced mark, which
    /// the text layout would join to the character before it. A surrogate pair is one step.
    void stepCharacter(int direction, bool select);
    /// Draws the caret itself where it stands inside a character and its voiced mark.
    void followCaret();
    void popUpEditMenu(const QPoint& globalPos);
    /// A thin line after the last cell of each line and under the last line: where the grid
    /// ends, so a click past it is no surprise. Drawn on the view, never part of the text.
    void paintCanvasEdge();
    /// A faint mark under each Unicode space, which leaves no ink, so the author sees it.
    void paintSpaceMarks();
    /// Something changed the document behind the controller's back.
    void onContentsChange(int position, int removed, int added);
    void restoreIfDiverged();
    void writeLines(int first, int count, std::u16string_view text);
    /// The whole document becomes now (document text), the widget's cursor kept in place.
    void replaceAround(const QString& now);
    /// The top-left corner of the first cell in viewport pixels: canvas pixel (0, 0).
    QPoint layerOrigin() const;
    /// The layers painted under the text, or those painted over it.
    void paintLayers(QPaintEvent* e, bool overText);
    /// The topmost layer that takes the mouse and arrow keys now, if any.
    host::CanvasLayer* capturingLayer() const;
    /// The pointer shape of the layer taking the mouse, or the text pointer.
    void showLayerPointer();
    /// A composition over a selection: shown at the selection's start, outside the document,
    /// while the selection stays as it is until the commit lays the text over it.
    void showPreeditOverSelection(const QInputMethodEvent& e);
    void clearPreeditOverSelection();
    void setLinePreedit(const QTextBlock& block, int at, const QString& text,
                        const QList<QTextLayout::FormatRange>& formats);

    CanvasController m_controller;
    QPointer<QMenu> m_editMenu;
    /// SkipChange: the document change under way is the controller's own write.
    bool m_skipChange = false;
    bool m_checkQueued = false;
    bool m_caretInPair = false;  ///< between a character and its voiced mark: drawn by us
    /// The last press stamped the click-input character: its release must not paste too.
    bool m_pressStamped = false;
    /// Drawn under the text in this order.
    std::vector<host::CanvasLayer*> m_layers;
    /// The layer a left-button drag under way belongs to.
    host::CanvasLayer* m_dragLayer = nullptr;
    /// The line (0-based) whose layout shows a composition over a selection; -1 when none does.
    int m_preeditLine = -1;
    UnicodeCharacterWidths* m_unicodeWidths = nullptr;
};

}  // namespace masumemo::editor
