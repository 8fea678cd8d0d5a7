#pragma once
// txtMain: the plain-text view of the canvas. It never edits its own document: every edit path
// (keys, input method, paste, middle click, drop, context menu) goes to the CanvasController,
// which writes the changed lines back. It is also the one place where model offsets (a line
// break counts two, CR LF) and document positions (one per block break) are converted.

#include <QPlainTextEdit>
#include <QMenu>
#include <QPointer>

#include "CanvasController.h"



namespace masumemo::editor {

class CanvasWidget : public QPlainTextEdit, public CanvasView
{
    Q_OBJECT
public:
    explicit CanvasWidget(QWidget* parent = nullptr);

    CanvasController& controller() { return m_controller; }
    const CanvasController& controller() const { return m_controller; }

    /// The menu a right click shows (the window's Edit menu).
    void setEditMenu(QMenu* menu) { m_editMenu = menu; }

    /// The clipboard text laid over the canvas at the caret (Ctrl+V, Shift+Insert, Edit menu).
    void pasteFromClipboard();

    int toDocumentPosition(int modelOffset) const;
    int toModelOffset(int documentPosition) const;

    // CanvasView
    void replaceLines(int first, int count, std::u16string_view text) override;
    void setSelection(int start, int length) override;
    int selectionStart() const override;
    int selectionLength() const override;
    void showEditMenu() override;

protected:
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
    void popUpEditMenu(const QPoint& globalPos);
    /// Something changed the document behind the controller's back.
    void onContentsChange(int position, int removed, int added);
    void restoreIfDiverged();

    CanvasController m_controller;
    QPointer<QMenu> m_editMenu;
    /// SkipChange: the document change under way is the controller's own write.
    bool m_skipChange = false;
    bool m_checkQueued = false;
    /// The last press stamped the click-input character: its release must not paste too.
    bool m_pressStamped = false;
};

}  // namespace masumemo::editor
