#include "CanvasWidget.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QTextLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <utility>

#include "editor/UnicodeCharacters.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::editor {

namespace {
/// The line that marks where the grid ends: light, so it never reads as part of the picture.
const QColor kEdgeColour(0xa0, 0xb4, 0xd2);
const QColor kSpaceMarkColour(0x40, 0x80, 0xd0, 0x70);

/// Keys the widget may handle itself: they move the caret or the selection, or copy.
bool isNavigation(const QKeyEvent* e)
{
    static constexpr std::array kKeys = {
        QKeySequence::MoveToNextChar,        QKeySequence::MoveToPreviousChar,
        QKeySequence::MoveToNextWord,        QKeySequence::MoveToPreviousWord,
        QKeySequence::MoveToNextLine,        QKeySequence::MoveToPreviousLine,
        QKeySequence::MoveToNextPage,        QKeySequence::MoveToPreviousPage,
        QKeySequence::MoveToStartOfLine,     QKeySequence::MoveToEndOfLine,
        QKeySequence::MoveToStartOfBlock,    QKeySequence::MoveToEndOfBlock,
        QKeySequence::MoveToStartOfDocument, QKeySequence::MoveToEndOfDocument,
        QKeySequence::SelectNextChar,        QKeySequence::SelectPreviousChar,
        QKeySequence::SelectNextWord,        QKeySequence::SelectPreviousWord,
        QKeySequence::SelectNextLine,        QKeySequence::SelectPreviousLine,
        QKeySequence::SelectNextPage,        QKeySequence::SelectPreviousPage,
        QKeySequence::SelectStartOfLine,     QKeySequence::SelectEndOfLine,
        QKeySequence::SelectStartOfBlock,    QKeySequence::SelectEndOfBlock,
        QKeySequence::SelectStartOfDocument, QKeySequence::SelectEndOfDocument,
        QKeySequence::SelectAll,             QKeySequence::Copy,
    };
    return std::any_of(kKeys.begin(), kKeys.end(), [e](auto key) { return e->matches(key); });
}

/// -1 or 1 for Left or Right, plain or with Shift; 0 for any other key.
int characterStep(const QKeyEvent* e)
{
    if ((e->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) != Qt::NoModifier) {
        return 0;
    }
    return e->key() == Qt::Key_Left ? -1 : e->key() == Qt::Key_Right ? 1 : 0;
}

bool isRedo(const QKeyEvent* e)
{
    return e->matches(QKeySequence::Redo) ||
           (e->key() == Qt::Key_Y && e->modifiers() == Qt::ControlModifier);
}

bool isPaste(const QKeyEvent* e)
{
    return e->matches(QKeySequence::Paste) ||
           (e->key() == Qt::Key_Insert && e->modifiers() == Qt::ShiftModifier);
}

bool isAltArrow(const QKeyEvent* e)
{
    const int key = e->key();
    return e->modifiers().testFlag(Qt::AltModifier) &&
           (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down);
}

/// Model text (CR LF) to document text (one break per block).
QString toDocumentText(std::u16string_view text)
{
    return QString::fromStdU16String(grid::lineEndsAs(text, u"\n"));
}

}  // namespace

CanvasWidget::CanvasWidget(QWidget* parent, document::Document* picture)
    : QPlainTextEdit(parent), m_controller(*this, picture)
{
    setObjectName(QStringLiteral("txtMain"));
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    // The caret is drawn as a block over the whole cell under it, as befits overwrite typing.
    // Nothing reaches the document through the widget's own typing, so the mode changes only
    // the look.
    setOverwriteMode(true);
    setAcceptDrops(true);
    connect(document(), &QTextDocument::contentsChange, this, &CanvasWidget::onContentsChange);
    m_unicodeWidths = new UnicodeCharacterWidths(document(), font());
    m_unicodeWidths->setParent(this);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CanvasWidget::followCaret);
    // Another page of the document is shown in the same canvas.
    connect(&m_controller.document(), &document::Document::currentChanged, this,
            [this] { m_controller.showPage(); });
}

CanvasWidget::~CanvasWidget()
{
    for (host::CanvasLayer* layer : std::exchange(m_layers, {})) {
        layer->canvasClosed();
    }
}

// --- Offsets -----------------------------------------------------------------------------

int CanvasWidget::toDocumentPosition(int modelOffset) const
{
    // Block n starts at model offset position + n: each earlier break is one character in the
    // document and two (CR LF) in the model.
    const QTextDocument* doc = document();
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= modelOffset) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const int column = std::clamp(modelOffset - (block.position() + lo), 0, block.length() - 1);
    return block.position() + column;
}

int CanvasWidget::toModelOffset(int documentPosition) const
{
    return documentPosition + document()->findBlock(documentPosition).blockNumber();
}

// --- CanvasView --------------------------------------------------------------------------

void CanvasWidget::replaceLines(int first, int count, std::u16string_view text)
{
    const bool whole = count < 0 || (first == 0 && count >= document()->blockCount());
    writeLines(first, count, text);
    const int added = 1 + static_cast<int>(std::count(text.begin(), text.end(), u'\r'));
    emit linesReplaced(whole ? 0 : first, whole ? -1 : count, added);
}

void CanvasWidget::writeLines(int first, int count, std::u16string_view text)
{
    QTextDocument* doc = document();
    if (count < 0 || (first == 0 && count >= doc->blockCount())) {
        // Every line changes (a size change, a whole-canvas move): one assignment is much
        // cheaper than replacing the document's contents through a cursor. The view stays put.
        const int h = horizontalScrollBar()->value();
        const int v = verticalScrollBar()->value();
        m_skipChange = true;
        replaceAround(toDocumentText(text));
        m_skipChange = false;
        horizontalScrollBar()->setValue(h);
        verticalScrollBar()->setValue(v);
        return;
    }
    QTextCursor cursor(doc);
    m_skipChange = true;
    cursor.beginEditBlock();
    const QTextBlock from = doc->findBlockByNumber(first);
    const QTextBlock to = doc->findBlockByNumber(first + count - 1);
    if (count < 0 || !from.isValid() || !to.isValid()) {
        assert(count < 0 && "the view and the canvas are out of step");
        cursor.select(QTextCursor::Document);
        cursor.insertText(toDocumentText(text));
    } else if (count == 1 && text.find(u'\r') == std::u16string_view::npos) {
        // One line, the usual keystroke: replace just the characters that differ, so the
        // document does no more work than for the widget's own typing.
        const QString old = from.text();
        const QString now = QString::fromStdU16String(std::u16string(text));
        qsizetype head = 0;
        while (head < old.size() && head < now.size() && old[head] == now[head]) {
            ++head;
        }
        qsizetype tail = 0;
        while (tail < old.size() - head && tail < now.size() - head &&
               old[old.size() - 1 - tail] == now[now.size() - 1 - tail]) {
            ++tail;
        }
        cursor.setPosition(from.position() + static_cast<int>(head));
        cursor.setPosition(from.position() + static_cast<int>(old.size() - tail),
                           QTextCursor::KeepAnchor);
        cursor.insertText(now.mid(head, now.size() - head - tail));
    } else {
        cursor.setPosition(from.position());
        cursor.setPosition(to.position() + to.length() - 1, QTextCursor::KeepAnchor);
        cursor.insertText(toDocumentText(text));
    }
    cursor.endEditBlock();
    m_skipChange = false;
}

void CanvasWidget::replaceAround(const QString& now)
{
    // Not the widget's assignment, which selects the whole new text to give it a format and so
    // lays every line out a second time; nor the document's, which carries the widget's cursor
    // to the end of the text, so that putting the caret back repaints it there first, laying
    // out two screens of lines below the view. The new text goes in on either side of the
    // widget's cursor instead, which ends on its line and column.
    QTextDocument* doc = document();
    const QTextCursor kept = textCursor();
    const int at = kept.position();
    const int oldEnd = doc->characterCount() - 1;
    qsizetype split = 0;
    for (int line = kept.blockNumber(); line > 0 && split < now.size(); --line) {
        const qsizetype lf = now.indexOf(u'\n', split);
        split = lf < 0 ? now.size() : lf + 1;
    }
    qsizetype lineEnd = now.indexOf(u'\n', split);
    lineEnd = lineEnd < 0 ? now.size() : lineEnd;
    split = std::min(split + kept.positionInBlock(), lineEnd);
    const int head = static_cast<int>(split);

    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    cursor.insertText(now.left(split));  // the widget's cursor moves on by as much
    cursor.setPosition(head);
    cursor.setPosition(head + at, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();  // the old head: the widget's cursor is back at its end
    cursor.setPosition(head + oldEnd - at);
    cursor.insertText(now.mid(split));  // after the old tail, so the widget's cursor stays
    cursor.setPosition(head);
    cursor.setPosition(head + oldEnd - at, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
}

void CanvasWidget::setSelection(int start, int length)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(toDocumentPosition(start));
    if (length > 0) {
        cursor.setPosition(toDocumentPosition(start + length), QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}

int CanvasWidget::selectionStart() const
{
    return toModelOffset(textCursor().selectionStart());
}

int CanvasWidget::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    return toModelOffset(cursor.selectionEnd()) - toModelOffset(cursor.selectionStart());
}

void CanvasWidget::showEditMenu()
{
    popUpEditMenu(QCursor::pos());
}

void CanvasWidget::popUpEditMenu(const QPoint& globalPos)
{
    setFocus(Qt::MouseFocusReason);
    if (m_editMenu) {
        m_editMenu->popup(globalPos);
    }
}

void CanvasWidget::pasteFromClipboard()
{
    m_controller.pasteText(QGuiApplication::clipboard()->text().toStdU16String());
}

// --- Layers under the text --------------------------------------------------------------

void CanvasWidget::addLayer(host::CanvasLayer* layer)
{
    if (layer != nullptr && std::find(m_layers.begin(), m_layers.end(), layer) == m_layers.end()) {
        m_layers.push_back(layer);
        viewport()->update();
        showLayerPointer();
    }
}

void CanvasWidget::removeLayer(host::CanvasLayer* layer)
{
    std::erase(m_layers, layer);
    if (m_dragLayer == layer) {
        m_dragLayer = nullptr;
    }
    viewport()->update();
    showLayerPointer();
}

void CanvasWidget::updateLayers(const QRect& area)
{
    showLayerPointer();
    if (area.isEmpty()) {
        viewport()->update();
    } else {
        viewport()->update(area.translated(layerOrigin()));
    }
}

QRect CanvasWidget::textRect(int line, int first, int count) const
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid() || block.layout() == nullptr || block.layout()->lineCount() == 0) {
        return {};
    }
    const QTextLine text = block.layout()->lineAt(0);
    const QPointF blockTop = blockBoundingGeometry(block).translated(contentOffset()).topLeft();
    const qreal left = text.cursorToX(first);
    const qreal right = text.cursorToX(first + count);
    const QRectF r(blockTop + text.position() + QPointF(left - text.x(), 0),
                   QSizeF(right - left, text.height()));
    return r.toAlignedRect().translated(-layerOrigin());
}

QColor CanvasWidget::background() const
{
    return viewport()->palette().color(viewport()->backgroundRole());
}

QPoint CanvasWidget::layerOrigin() const
{
    const QTextBlock first = document()->firstBlock();
    QPointF origin = contentOffset() + blockBoundingGeometry(first).topLeft();
    if (first.layout() != nullptr && first.layout()->lineCount() > 0) {
        origin += first.layout()->lineAt(0).position();
    }
    return origin.toPoint();
}

host::CanvasLayer* CanvasWidget::capturingLayer() const
{
    const auto it = std::find_if(m_layers.rbegin(), m_layers.rend(),
                                 [](const host::CanvasLayer* l) { return l->capturesInput(); });
    return it == m_layers.rend() ? nullptr : *it;
}

std::optional<QString> CanvasWidget::layerSelection(bool cut)
{
    host::CanvasLayer* layer = capturingLayer();
    return layer != nullptr ? layer->takeSelection(cut) : std::nullopt;
}

std::optional<host::CellRect> CanvasWidget::layerCells() const
{
    const host::CanvasLayer* layer = capturingLayer();
    return layer != nullptr ? layer->selectedCells() : std::nullopt;
}

std::optional<host::DotArea> CanvasWidget::layerDots() const
{
    const host::CanvasLayer* layer = capturingLayer();
    return layer != nullptr ? layer->selectedDots() : std::nullopt;
}

bool CanvasWidget::layerTurnDots(const host::DotTurn& turn)
{
    host::CanvasLayer* layer = capturingLayer();
    return layer != nullptr && layer->turnFloatingDots(turn);
}

bool CanvasWidget::layerSelectAll()
{
    host::CanvasLayer* layer = capturingLayer();
    return layer != nullptr && layer->selectAll();
}

QPoint CanvasWidget::cellAt(QPoint canvasPixel) const
{
    const int offset = toModelOffset(cursorForPosition(canvasPixel + layerOrigin()).position());
    const grid::CanvasSplit split = grid::SplitCanvas(m_controller.text(), offset);
    const auto& line = split.lines[static_cast<size_t>(split.line - 1)];
    const int unit = grid::WidthOf(line.Text.substr(0, static_cast<size_t>(split.column)));
    return {unit, split.line - 1};
}

int CanvasWidget::unitX(int line, int unit) const
{
    return unitSpan(line, unit, unit).left();
}

QRect CanvasWidget::unitSpan(int line, int from, int to) const
{
    const std::vector<QRect> spans = unitSpans(line, {{from, to}});
    return spans.empty() ? QRect() : spans.front();
}

std::vector<QRect> CanvasWidget::unitSpans(int line,
                                           const std::vector<std::pair<int, int>>& spans) const
{
    // One look-up of the line for every edge: a floating block asks for many spans at each move.
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid() || block.layout() == nullptr || block.layout()->lineCount() == 0) {
        return std::vector<QRect>(spans.size());
    }
    const QTextLine row = block.layout()->lineAt(0);
    // The view must outlive no string: block.text() makes a new one at each call.
    const QString blockText = block.text();
    const std::u16string_view text(reinterpret_cast<const char16_t*>(blockText.utf16()),
                                   static_cast<size_t>(blockText.size()));
    const auto xOf = [&](int unit) {
        const int chars = grid::charsWithinWidth(text, unit);
        const qreal x = row.cursorToX(chars);
        if (grid::WidthOf(text.substr(0, static_cast<size_t>(chars))) < unit &&
            static_cast<size_t>(chars) < text.size()) {
            return (x + row.cursorToX(chars + 1)) / 2;  // inside a full-width character
        }
        return x;
    };
    // Neighbouring spans share edges: each unit is measured once.
    std::vector<std::pair<int, int>> measured;  // unit, pixel
    const QPointF start = blockBoundingGeometry(block).translated(contentOffset()).topLeft() +
                          row.position() - QPointF(row.x(), 0) - QPointF(layerOrigin());
    const auto edge = [&](int unit) {
        for (const auto& [u, x] : measured) {
            if (u == unit) {
                return x;
            }
        }
        const int x = static_cast<int>(std::ceil(start.x() + xOf(unit)));
        measured.emplace_back(unit, x);
        return x;
    };
    const int top = static_cast<int>(std::floor(start.y()));
    const int bottom = static_cast<int>(std::ceil(start.y() + row.height()));
    std::vector<QRect> rects;
    rects.reserve(spans.size());
    for (const auto& [from, to] : spans) {
        const int left = edge(from);
        const int right = from == to ? left : edge(to);
        rects.emplace_back(QPoint(left, top), QPoint(right - 1, bottom - 1));
    }
    return rects;
}

void CanvasWidget::paintLayers(QPaintEvent* e, bool overText)
{
    QPainter painter(viewport());
    const QPoint origin = layerOrigin();
    const QRect exposed = e->rect().translated(-origin);
    painter.translate(origin);
    for (host::CanvasLayer* layer : m_layers) {
        if (layer->paintsOverText() == overText) {
            painter.save();
            painter.setClipRect(exposed);
            layer->paint(painter, exposed);
            painter.restore();
        }
    }
}

void CanvasWidget::paintEvent(QPaintEvent* e)
{
    // The viewport has already been filled with the background; the text, selection and caret
    // are drawn over the layers below them by the base class.
    if (!m_layers.empty()) {
        paintLayers(e, false);
    }
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        if (blockBoundingGeometry(block).translated(contentOffset()).top() > viewport()->height()) {
            break;
        }
        if (QTextLayout* layout = block.layout(); layout && !layout->cacheEnabled()) {
            layout->setCacheEnabled(true);
        }
    }
    QPlainTextEdit::paintEvent(e);
    if (m_caretInPair && hasFocus()) {
        QPainter(viewport()).fillRect(shownCaretRect(), palette().text());
    }
    paintCanvasEdge();
    paintSpaceMarks();
    if (!m_layers.empty()) {
        paintLayers(e, true);
    }
}

// --- Guarding the document ---------------------------------------------------------------

void CanvasWidget::onContentsChange(int, int removed, int added)
{
    if (m_skipChange || (removed == 0 && added == 0) || m_checkQueued) {
        return;
    }
    // A path we did not intercept edited the document. Look once the edit has finished: the
    // document must not be changed from inside its own change notification.
    m_checkQueued = true;
    QMetaObject::invokeMethod(this, &CanvasWidget::restoreIfDiverged, Qt::QueuedConnection);
}

void CanvasWidget::restoreIfDiverged()
{
    m_checkQueued = false;
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    if (raw.toStdU16String() != m_controller.text()) {
        m_controller.reject(true);
    }
}

// --- Events ------------------------------------------------------------------------------

bool CanvasWidget::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) ||
            key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Paste)) {
            // These belong to the window's Edit menu (cut blanks instead of removing, copy
            // writes LF line ends). Where no shortcut takes the key it comes back here as a
            // key press.
            e->ignore();
            return true;
        }
        if (isAltArrow(key) || isRedo(key) || key->matches(QKeySequence::Undo) || isPaste(key)) {
            e->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(e);
}

void CanvasWidget::keyPressEvent(QKeyEvent* e)
{
    e->accept();
    if (host::CanvasLayer* layer = capturingLayer();
        layer != nullptr && layer->keyPressed(e->key(), e->modifiers())) {
        return;
    }
    const auto key = static_cast<Qt::Key>(e->key());
    if (m_controller.KeyDown(key, e->modifiers())) {
        return;
    }
    if (e->matches(QKeySequence::Undo)) {
        m_controller.undo();
    } else if (isRedo(e)) {
        m_controller.redo();
    } else if (isPaste(e)) {
        pasteFromClipboard();
    } else if (const int step = characterStep(e); step != 0) {
        stepCharacter(step, e->modifiers().testFlag(Qt::ShiftModifier));
    } else if (isNavigation(e)) {
        QPlainTextEdit::keyPressEvent(e);
    } else if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        focusNextPrevChild(key == Qt::Key_Tab && !e->modifiers().testFlag(Qt::ShiftModifier));
    } else if (key == Qt::Key_Backspace) {
        m_controller.keyPress(8);
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_controller.keyPress(13);
    } else if (key == Qt::Key_Escape) {
        m_controller.keyPress(27);
    } else {
        // Only plain (or shifted) keys type; Ctrl and Alt combinations never enter the canvas.
        const Qt::KeyboardModifiers held =
            e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (held == Qt::NoModifier && !e->text().isEmpty()) {
            m_controller.inputText(e->text().toStdU16String());
        }
    }
}

void CanvasWidget::stepCharacter(int direction, bool select)
{
    QTextCursor cursor = textCursor();
    int to = cursor.position();
    if (!select && cursor.hasSelection()) {
        // An arrow without Shift ends the selection at the side it points to.
        to = direction < 0 ? cursor.selectionStart() : cursor.selectionEnd();
    } else {
        const QTextDocument& doc = *document();
        const bool pair = direction < 0 ? doc.characterAt(to - 1).isLowSurrogate() &&
                                               doc.characterAt(to - 2).isHighSurrogate()
                                         : doc.characterAt(to).isHighSurrogate() &&
                                               doc.characterAt(to + 1).isLowSurrogate();
        to += direction * (pair ? 2 : 1);
    }
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    to = std::clamp(to, 0, end.position());
    cursor.setPosition(to, select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    setTextCursor(cursor);
}

namespace {

bool isVoicedMark(QChar c)
{
    return c.unicode() == 0xFF9E || c.unicode() == 0xFF9F;
}

}  // namespace

QRect CanvasWidget::shownCaretRect() const
{
    const QTextCursor caret = textCursor();
    const QTextBlock block = caret.block();
    const QString line = block.text();
    const int at = caret.positionInBlock();
    if (at == 0 || at >= line.size() || !isVoicedMark(line[at]) || block.layout() == nullptr) {
        return cursorRect();
    }
    // The layout keeps a voiced mark with the character before it and would draw the caret
    // after the pair: it stands after the characters before it, measured from the pair's start.
    int start = at - 1;
    while (start > 0 && isVoicedMark(line[start])) {
        --start;
    }
    const QTextLine row = block.layout()->lineForTextPosition(start);
    if (!row.isValid()) {
        return cursorRect();
    }
    const qreal x = row.cursorToX(start) +
                    QFontMetricsF(font()).horizontalAdvance(line.mid(start, at - start));
    const QPointF origin = blockBoundingGeometry(block).translated(contentOffset()).topLeft() +
                           block.layout()->position();
    return QRectF(origin.x() + x, origin.y() + row.y(), cursorWidth() > 0 ? cursorWidth() : 1,
                  row.height())
        .toAlignedRect();
}

void CanvasWidget::followCaret()
{
    const QTextCursor caret = textCursor();
    const int at = caret.positionInBlock();
    const QString line = caret.block().text();
    const bool inPair = at > 0 && at < line.size() && isVoicedMark(line[at]);
    if (inPair == m_caretInPair && !inPair) {
        return;
    }
    if (inPair != m_caretInPair) {
        m_caretInPair = inPair;
        // Qt's own caret would stand after the pair: it is hidden while ours is drawn.
        setCursorWidth(inPair ? 0 : 1);
    }
    viewport()->update();
}

void CanvasWidget::keyReleaseEvent(QKeyEvent* e)
{
    m_controller.keyUp(static_cast<Qt::Key>(e->key()));
    e->accept();
}

void CanvasWidget::inputMethodEvent(QInputMethodEvent* e)
{
    e->accept();
    const QString commit = e->commitString();
    if (m_preeditLine < 0 && !textCursor().hasSelection()) {
        if (commit.isEmpty()) {
            // Composition at the caret: the widget shows it without touching the document.
            // Replacements of text around the caret are ignored: nothing is ever removed.
            QInputMethodEvent composing(e->preeditString(), e->attributes());
            QPlainTextEdit::inputMethodEvent(&composing);
            return;
        }
        QInputMethodEvent ending;
        QPlainTextEdit::inputMethodEvent(&ending);
    } else {
        clearPreeditOverSelection();
        if (commit.isEmpty()) {
            if (!e->preeditString().isEmpty()) {
                showPreeditOverSelection(*e);
            }
            return;
        }
    }
    m_controller.inputText(commit.toStdU16String());
    if (!e->preeditString().isEmpty()) {
        // The input method goes on composing after what it committed.
        QInputMethodEvent next(e->preeditString(), e->attributes());
        inputMethodEvent(&next);
    }
}

void CanvasWidget::showPreeditOverSelection(const QInputMethodEvent& e)
{
    QTextCursor cursor(document());
    cursor.setPosition(textCursor().selectionStart());
    const QTextBlock block = cursor.block();
    m_preeditLine = block.blockNumber();
    const int at = cursor.position() - block.position();
    QList<QTextLayout::FormatRange> formats;
    for (const QInputMethodEvent::Attribute& a : e.attributes()) {
        const QTextCharFormat format = qvariant_cast<QTextFormat>(a.value).toCharFormat();
        if (a.type == QInputMethodEvent::TextFormat && format.isValid()) {
            formats.append({at + a.start, a.length, format});
        }
    }
    // The widget paints the selection where its characters stood before the composition
    // pushed them on; paint this line's part of it where it stands now as well.
    const int lineEnd = block.position() + block.length() - 1;
    const int selected = std::min(textCursor().selectionEnd(), lineEnd) - cursor.position();
    QTextCharFormat highlight;
    highlight.setBackground(palette().brush(QPalette::Highlight));
    highlight.setForeground(palette().brush(QPalette::HighlightedText));
    formats.append({at + static_cast<int>(e.preeditString().size()), selected, highlight});
    setLinePreedit(block, at, e.preeditString(), formats);
}

void CanvasWidget::clearPreeditOverSelection()
{
    const int line = std::exchange(m_preeditLine, -1);
    const QTextBlock block = document()->findBlockByNumber(line);
    if (line >= 0 && block.isValid()) {
        setLinePreedit(block, -1, QString(), {});
    }
}

void CanvasWidget::setLinePreedit(const QTextBlock& block, int at, const QString& text,
                                  const QList<QTextLayout::FormatRange>& formats)
{
    // The layout reports its change as one of the document: no edit of the canvas.
    QTextCursor cursor(document());
    m_skipChange = true;
    cursor.beginEditBlock();
    block.layout()->setPreeditArea(at, text);
    block.layout()->setFormats(formats);
    cursor.endEditBlock();
    m_skipChange = false;
    viewport()->update();
}

void CanvasWidget::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        m_dragLayer = capturingLayer();
        if (m_dragLayer != nullptr) {
            setFocus(Qt::MouseFocusReason);
            m_dragLayer->pointerPressed(e->position().toPoint() - layerOrigin());
            e->accept();
            return;
        }
    }
    QPlainTextEdit::mousePressEvent(e);
    if (e->button() == Qt::MiddleButton && m_controller.stampsClicks()) {
        // A middle press leaves the caret alone; a stamp goes where the click landed.
        setTextCursor(cursorForPosition(e->position().toPoint()));
    }
    m_pressStamped = m_controller.mousePress(e->button());
}

void CanvasWidget::showLayerPointer()
{
    const host::CanvasLayer* layer = capturingLayer();
    const Qt::CursorShape shape = layer != nullptr ? layer->pointerShape() : Qt::IBeamCursor;
    if (viewport()->cursor().shape() != shape) {
        viewport()->setCursor(shape);
    }
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* e)
{
    showLayerPointer();
    if (m_dragLayer != nullptr) {
        m_dragLayer->pointerMoved(e->position().toPoint() - layerOrigin());
        e->accept();
        return;
    }
    QPlainTextEdit::mouseMoveEvent(e);
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    // A double click while a layer takes the mouse is one more press of the drag, never a
    // word selection.
    if (e->button() == Qt::LeftButton && capturingLayer() != nullptr) {
        mousePressEvent(e);
        return;
    }
    QPlainTextEdit::mouseDoubleClickEvent(e);
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && m_dragLayer != nullptr) {
        std::exchange(m_dragLayer, nullptr)->pointerReleased(e->position().toPoint() - layerOrigin());
        e->accept();
        return;
    }
    const bool stamped = std::exchange(m_pressStamped, false);
    if (!(stamped && e->button() == Qt::MiddleButton)) {
        QPlainTextEdit::mouseReleaseEvent(e);  // a middle click pastes through insertFromMimeData
    }
    m_controller.mouseRelease();
}

void CanvasWidget::paintCanvasEdge()
{
    QPainter painter(viewport());
    painter.setPen(QPen(kEdgeColour, 1));
    const QPointF offset = contentOffset();
    const int bottom = viewport()->height();
    qreal widest = 0;
    QTextBlock block = firstVisibleBlock();
    QRectF box;
    for (; block.isValid(); block = block.next()) {
        box = blockBoundingGeometry(block).translated(offset);
        if (box.top() > bottom) {
            break;
        }
        const QTextLayout* layout = block.layout();
        if (layout == nullptr || layout->lineCount() == 0) {
            continue;
        }
        // The end of the line's text, its trailing blank cells included. The advance is kept by
        // the layout; asking for the x of the last cursor position would shape the line again
        // at every paint.
        const QTextLine line = layout->lineAt(0);
        const qreal right = box.left() + layout->position().x() + line.x() + line.horizontalAdvance();
        painter.drawLine(QPointF(right + 0.5, box.top()), QPointF(right + 0.5, box.bottom()));
        widest = std::max(widest, right);
        if (!block.next().isValid()) {
            painter.drawLine(QPointF(box.left(), box.bottom() + 0.5),
                             QPointF(widest + 0.5, box.bottom() + 0.5));
        }
    }
}

void CanvasWidget::paintSpaceMarks()
{
    QPainter painter(viewport());
    painter.setPen(QPen(kSpaceMarkColour, 1));
    const QPointF offset = contentOffset();
    const int bottom = viewport()->height();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(offset);
        if (box.top() > bottom) {
            break;
        }
        const QString text = block.text();
        const QTextLayout* layout = block.layout();
        if (layout == nullptr || layout->lineCount() == 0 ||
            std::none_of(text.begin(), text.end(),
                         [](QChar c) { return isMarkedSpace(c.unicode()); })) {
            continue;
        }
        const QTextLine line = layout->lineAt(0);
        const qreal left = box.left() + layout->position().x();
        const qreal base = box.top() + layout->position().y() + line.y() + line.height() - 2.5;
        for (int i = 0; i < text.size(); ++i) {
            if (!isMarkedSpace(text[i].unicode())) {
                continue;
            }
            // A low bracket across the space's width: seen where it stands, never mistaken for ink.
            const qreal x0 = left + line.cursorToX(i) + 0.5;
            const qreal x1 = std::max(x0, left + line.cursorToX(i + 1) - 0.5);
            painter.drawLine(QPointF(x0, base), QPointF(x1, base));
            painter.drawLine(QPointF(x0, base - 2), QPointF(x0, base));
            painter.drawLine(QPointF(x1, base - 2), QPointF(x1, base));
        }
    }
}

void CanvasWidget::changeEvent(QEvent* e)
{
    QPlainTextEdit::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        m_unicodeWidths->setCanvasFont(font());
    }
}

void CanvasWidget::contextMenuEvent(QContextMenuEvent* e)
{
    // A right click already showed the menu on press; the menu key has no press of ours.
    if (e->reason() != QContextMenuEvent::Mouse) {
        popUpEditMenu(viewport()->mapToGlobal(cursorRect().center()));
    }
    e->accept();
}

void CanvasWidget::dropEvent(QDropEvent* e)
{
    if (!e->mimeData()->hasText()) {
        e->ignore();
        return;
    }
    // Clears the drop caret the widget drew while dragging.
    QDragLeaveEvent leave;
    QPlainTextEdit::dragLeaveEvent(&leave);
    setTextCursor(cursorForPosition(e->position().toPoint()));
    m_controller.pasteText(e->mimeData()->text().toStdU16String());
    // Always a copy: a move would have the drag source remove the dragged text.
    e->setDropAction(Qt::CopyAction);
    e->accept();
    setFocus(Qt::MouseFocusReason);
}

bool CanvasWidget::canInsertFromMimeData(const QMimeData* source) const
{
    return source != nullptr && source->hasText();
}

void CanvasWidget::insertFromMimeData(const QMimeData* source)
{
    if (source != nullptr && source->hasText()) {
        m_controller.pasteText(source->text().toStdU16String());
    }
}

}  // namespace masumemo::editor
