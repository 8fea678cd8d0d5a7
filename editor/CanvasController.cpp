#include "CanvasController.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <optional>
#include <utility>

#include "board/DotMoves.h"
#include "grid/Cp932.h"
#include "grid/Overwrite.h"
#include "grid/Push.h"

namespace masumemo::editor {

namespace {

constexpr size_t npos = std::u16string_view::npos;

/// Length of the common prefix of a and b. Equal stretches are skipped a block at a time:
/// a keystroke on the largest canvas compares some 40,000 characters.
size_t commonPrefix(std::u16string_view a, std::u16string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    constexpr size_t kBlock = 256;
    size_t i = 0;
    while (i + kBlock <= n && std::memcmp(a.data() + i, b.data() + i, kBlock * 2) == 0) {
        i += kBlock;
    }
    while (i < n && a[i] == b[i]) {
        ++i;
    }
    return i;
}

/// Length of the common suffix of a and b, at most limit.
size_t commonSuffix(std::u16string_view a, std::u16string_view b, size_t limit)
{
    constexpr size_t kBlock = 256;
    size_t i = 0;
    while (i + kBlock <= limit && std::memcmp(a.data() + a.size() - i - kBlock,
                                              b.data() + b.size() - i - kBlock, kBlock * 2) == 0) {
        i += kBlock;
    }
    while (i < limit && a[a.size() - 1 - i] == b[b.size() - 1 - i]) {
        ++i;
    }
    return i;
}

/// The whole lines in which two canvas texts differ: [begin, oldEnd) of the old text and
/// [begin, newEnd) of the new one, each from a line start to just before a CR or the end.
struct LineChange
{
    bool any = false;
    int firstLine = 0;  ///< 0-based
    size_t begin = 0;
    size_t oldEnd = 0;
    size_t newEnd = 0;
};

LineChange changedLines(std::u16string_view oldText, std::u16string_view newText)
{
    LineChange change;
    const size_t prefix = commonPrefix(oldText, newText);
    if (prefix == oldText.size() && prefix == newText.size()) {
        return change;
    }
    change.any = true;
    const size_t suffix =
        commonSuffix(oldText, newText, std::min(oldText.size(), newText.size()) - prefix);
    const size_t lf = prefix == 0 ? npos : oldText.rfind(u'\n', prefix - 1);
    change.begin = lf == npos ? 0 : lf + 1;
    // Both searches start at the same distance from the end inside the common tail, so what
    // follows the two ends is the same text.
    const size_t oldCr = oldText.find(u'\r', oldText.size() - suffix);
    const size_t newCr = newText.find(u'\r', newText.size() - suffix);
    change.oldEnd = oldCr == npos ? oldText.size() : oldCr;
    change.newEnd = newCr == npos ? newText.size() : newCr;
    change.firstLine = static_cast<int>(
        std::count(oldText.begin(), oldText.begin() + static_cast<long>(change.begin), u'\r'));
    return change;
}

/// True when the lines of segment keep the grid: as many lines as oldSegment, each of width
/// units.
bool keepsGrid(std::u16string_view oldSegment, std::u16string_view segment, int width)
{
    if (std::count(oldSegment.begin(), oldSegment.end(), u'\r') !=
        std::count(segment.begin(), segment.end(), u'\r')) {
        return false;
    }
    size_t start = 0;
    for (;;) {
        const size_t cr = segment.find(u'\r', start);
        const size_t end = cr == npos ? segment.size() : cr;
        if (cr != npos && (cr + 1 >= segment.size() || segment[cr + 1] != u'\n')) {
            return false;
        }
        if (grid::WidthOf(segment.substr(start, end - start)) != width) {
            return false;
        }
        if (cr == npos) {
            return true;
        }
        start = cr + 2;
    }
}


/// A caret never stands between the CR and LF of a line break.
int clampCaret(std::u16string_view text, int caret)
{
    caret = std::clamp(caret, 0, static_cast<int>(text.size()));
    if (caret > 0 && caret < static_cast<int>(text.size()) &&
        text[static_cast<size_t>(caret) - 1] == u'\r') {
        --caret;
    }
    return caret;
}

}  // namespace

std::optional<grid::Arrow> arrowOf(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return grid::Arrow::Left;
    case Qt::Key_Up:
        return grid::Arrow::Up;
    case Qt::Key_Right:
        return grid::Arrow::Right;
    case Qt::Key_Down:
        return grid::Arrow::Down;
    default:
        return std::nullopt;
    }
}

CanvasController::CanvasController(CanvasView& view, document::Document* document)
    : m_view(view),
      m_ownDocument(document ? nullptr : std::make_unique<document::Document>()),
      m_document(document ? document : m_ownDocument.get())
{
}

CanvasController::~CanvasController() = default;

void CanvasController::prepareChange()
{
    if (m_document->prepareChange()) {
        takeSnapshot();
    }
}

// --- The canvas as a whole ---------------------------------------------------------------

void CanvasController::resetCanvas(std::u16string text, int keta, int gyou)
{
    replaceCanvas(std::move(text), keta, gyou, 0);
    page().history.reset({page().text, 0, page().keta, page().gyou});
    setModified(false);
    if (m_callbacks.historyChanged) {
        m_callbacks.historyChanged();
    }
}

void CanvasController::replaceCanvas(std::u16string text, int keta, int gyou, int caret)
{
    prepareChange();
    page().keta = keta;
    page().gyou = gyou;
    const int at = clampCaret(text, caret);
    writeText(std::move(text), at, 0, false);
    takeSnapshot();
    dataShow();
}

void CanvasController::resizeCanvas(const Rewrite& build, int keta, int gyou)
{
    prepareChange();
    replaceCanvas(build(page().text), keta, gyou);
}

void CanvasController::setPushStep(PushStep step)
{
    m_step = step;
    dataShow();
}

// --- Position display --------------------------------------------------------------------

void CanvasController::takeSnapshot()
{
    const int size = static_cast<int>(page().text.size());
    m_selPos = clampCaret(page().text, m_view.selectionStart());
    m_selLen = std::clamp(m_view.selectionLength(), 0, size - m_selPos);
    page().caret = m_selPos;
    m_snapshot.caret = m_selPos;
    m_snapshot.line = lineAt(m_selPos);
    const size_t lf = m_selPos == 0 ? npos : page().text.rfind(u'\n', static_cast<size_t>(m_selPos) - 1);
    m_snapshot.column = m_selPos - (lf == npos ? 0 : static_cast<int>(lf) + 1);
}

int CanvasController::lineAt(int caret)
{
    const std::u16string& text = page().text;
    const size_t at = static_cast<size_t>(caret);
    if (m_anchor.text != text.data() || m_anchor.size != text.size() || m_anchor.pos > text.size()) {
        m_anchor = {text.data(), text.size(), 0, 1};
    }
    const auto crs = [&](size_t from, size_t to) {
        return static_cast<int>(std::count(text.begin() + static_cast<long>(from),
                                           text.begin() + static_cast<long>(to), u'\r'));
    };
    m_anchor.line += at >= m_anchor.pos ? crs(m_anchor.pos, at) : -crs(at, m_anchor.pos);
    m_anchor.pos = at;
    return m_anchor.line;
}

std::vector<grid::LineRecord> CanvasController::snapshotLines() const
{
    return grid::SplitCanvas(page().text, m_snapshot.caret).lines;
}

int CanvasController::snapshotUnitColumn() const
{
    const size_t lineStart = static_cast<size_t>(m_snapshot.caret - m_snapshot.column);
    return grid::WidthOf(
        std::u16string_view(page().text).substr(lineStart, static_cast<size_t>(m_snapshot.column)));
}

std::u16string_view CanvasController::snapshotLineText() const
{
    const size_t start = static_cast<size_t>(m_snapshot.caret - m_snapshot.column);
    const size_t end = std::min(page().text.find(u'\r', start), page().text.size());
    return std::u16string_view(page().text).substr(start, end - start);
}

QString CanvasController::positionText() const
{
    return QStringLiteral("列[ %1/%2 ]　行[ %3/%4 ]")
        .arg(snapshotUnitColumn())
        .arg(2 * page().keta)
        .arg(m_snapshot.line)
        .arg(page().gyou);
}

QString CanvasController::pushModeText() const
{
    switch (m_step) {
    case PushStep::Half: return QStringLiteral("半角移動");
    case PushStep::Full: return QStringLiteral("全角移動");
    case PushStep::Dot: return QStringLiteral("ﾄﾞｯﾄ移動");
    }
    return {};
}

void CanvasController::showPage()
{
    const document::Page& shown = page();
    // Replacing the lines moves the view's caret, and whoever follows it would write that
    // into the page before the page's own is read.
    const int caret = shown.caret;
    m_view.replaceLines(0, -1, shown.text);
    m_view.setSelection(clampCaret(shown.text, caret), 0);
    m_anchor = {};  // another page, or the same one written from outside
    takeSnapshot();
    for (const auto& told : {m_callbacks.sizeChanged, m_callbacks.historyChanged}) {
        if (told) {
            told();
        }
    }
    dataShow();
}

void CanvasController::setModified(bool modified)
{
    m_document->setModified(modified);
}

void CanvasController::dataShow()
{
    if (m_callbacks.dataShow) {
        m_callbacks.dataShow();
    }
}

// --- Writing the canvas ------------------------------------------------------------------

bool CanvasController::writeText(std::u16string text, int selStart, int selLength, bool checkGrid)
{
    const LineChange change = changedLines(page().text, text);
    if (change.any) {
        const std::u16string_view segment =
            std::u16string_view(text).substr(change.begin, change.newEnd - change.begin);
        if (checkGrid) {
            const std::u16string_view oldSegment =
                std::u16string_view(page().text).substr(change.begin, change.oldEnd - change.begin);
            const bool ok = keepsGrid(oldSegment, segment, 2 * page().keta);
            // The rules never produce a broken grid; if one ever does, refuse it.
            assert(ok && "an edit would change the line count or a line's width");
            if (!ok) {
                return false;
            }
        }
        const int oldLines = 1 + static_cast<int>(std::count(
                                     page().text.begin() + static_cast<long>(change.begin),
                                     page().text.begin() + static_cast<long>(change.oldEnd), u'\r'));
        // The model changes first: the view's notifications may already read it.
        page().text = std::move(text);
        // The changed lines start at a known line: the caret is counted from there.
        m_anchor = {page().text.data(), page().text.size(), change.begin, change.firstLine + 1};
        const std::u16string_view written =
            std::u16string_view(page().text).substr(change.begin, change.newEnd - change.begin);
        m_view.replaceLines(change.firstLine, oldLines, written);
        m_document->textChanged(change.firstLine, oldLines,
                                1 + static_cast<int>(std::count(written.begin(), written.end(), u'\r')));
    }
    m_view.setSelection(clampCaret(page().text, selStart), selLength);
    return true;
}

void CanvasController::applyText(const Rewrite& build)
{
    prepareChange();
    takeSnapshot();
    std::u16string text = build(page().text);
    if (text != page().text) {
        commitEdit(std::move(text), m_selPos, 0);
    }
}

void CanvasController::RirekiKakunou()
{
    page().history.record({page().text, clampCaret(page().text, m_view.selectionStart()), page().keta, page().gyou});
    if (m_callbacks.historyChanged) {
        m_callbacks.historyChanged();
    }
}

void CanvasController::commitEdit(std::u16string text, int selStart, int selLength,
                                  bool recordAlways)
{
    setModified(true);
    const bool changed = text != page().text;
    if (!writeText(std::move(text), selStart, selLength, true)) {
        reject();
        return;
    }
    // An edit that leaves the text as it was (a paste wholly past the line end) is not a step
    // of its own in the history, unless it overwrote a selection: the newest entry must be the
    // canvas as it stands, blanked selection included.
    if (changed || recordAlways) {
        RirekiKakunou();
    }
    takeSnapshot();
    dataShow();
}

void CanvasController::reject(bool viewDiverged)
{
    // The last accepted canvas is the current undo entry, unless the canvas was resized since
    // (a resize records nothing): then the entry has another size and would break the grid.
    const document::HistoryEntry& current = page().history.current();
    std::u16string restored =
        current.Keta == page().keta && current.Gyou == page().gyou ? current.Text : page().text;
    const int caret = clampCaret(restored, m_selPos);
    if (viewDiverged) {
        m_view.replaceLines(0, -1, restored);
        page().text = std::move(restored);
        m_document->textChanged(0, -1, page().gyou);
        m_view.setSelection(caret, 0);
    } else {
        writeText(std::move(restored), caret, 0, false);
    }
    takeSnapshot();
    dataShow();
}

bool CanvasController::blankSelectionFirst()
{
    if (m_selLen <= 0) {
        return false;
    }
    // Not recorded yet: a refusal of what follows gives back the selection as it was.
    setModified(true);
    writeText(grid::SelToSP(page().text, m_selPos, m_selLen), m_selPos, 0, true);
    takeSnapshot();
    return true;
}

bool CanvasController::typeOne(std::u16string_view c, bool recordAlways)
{
    m_selPos = m_snapshot.caret;
    // A character beyond the BMP is two units: laid over the caret as one character, the way a
    // single unit is typed over it.
    grid::EditOutcome outcome =
        c.size() == 1 ? grid::typeCharacter(page().text, m_selPos, c[0], page().keta)
                      : grid::pasteText(page().text, m_selPos, c, page().keta);
    setModified(true);
    if (!outcome.accepted) {
        reject();
        return false;
    }
    commitEdit(std::move(outcome.text), outcome.caret, 0, recordAlways);
    return true;
}

void CanvasController::applyMove(bool changed, std::u16string text, int start, int length)
{
    if (changed) {
        commitEdit(std::move(text), start, length);
        return;
    }
    // A move over spaces only may move the caret; it is no edit: no Modified, no undo step.
    if (start != m_selPos || length != m_selLen) {
        m_view.setSelection(start, length);
        takeSnapshot();
        dataShow();
    }
}

// --- Events ------------------------------------------------------------------------------

bool CanvasController::KeyDown(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    takeSnapshot();
    const int code = (modifiers.testFlag(Qt::ShiftModifier) ? 3 : 0) +
                     (modifiers.testFlag(Qt::AltModifier) ? 5 : 0) +
                     (modifiers.testFlag(Qt::ControlModifier) ? 11 : 0);

    if (key == Qt::Key_Escape) {
        dataShow();
        return false;  // its key-press blanks a selection
    }
    if (key == Qt::Key_Delete) {
        prepareChange();
        if (m_selLen > 0) {
            commitEdit(grid::SelToSP(page().text, m_selPos, m_selLen), m_selPos + m_selLen);
        } else if (m_selPos < static_cast<int>(page().text.size()) &&
                   page().text[static_cast<size_t>(m_selPos)] == u'\r') {
            // At a line end Delete only moves to the next line: a line break is never removed.
            m_view.setSelection(m_selPos + 2, 0);
            takeSnapshot();
            dataShow();
        } else if (m_selPos < static_cast<int>(page().text.size())) {
            grid::EditOutcome outcome = grid::deleteCharacter(page().text, m_selPos, page().keta);
            setModified(true);
            if (outcome.accepted) {
                commitEdit(std::move(outcome.text), outcome.caret);
            } else {
                reject();
            }
        }
        return true;
    }
    if (code != 5 && code != 8) {
        return false;
    }
    if (key == Qt::Key_Alt || key == Qt::Key_Shift || key == Qt::Key_Control ||
        key == Qt::Key_Meta || key == Qt::Key_AltGr) {
        return false;
    }
    const std::optional<grid::Arrow> arrow = arrowOf(key);
    if (!arrow) {
        return true;  // Alt with another key: rebuilt from the snapshot it is the same text
    }
    prepareChange();
    if (code == 8 && m_selLen > 0) {
        return true;  // a selection is only moved, never pulled
    }
    if (m_step == PushStep::Dot && (*arrow == grid::Arrow::Left || *arrow == grid::Arrow::Right)) {
        dotMove(code == 8, *arrow);
        return true;
    }
    const grid::Step step = m_step == PushStep::Full ? grid::Step::Full : grid::Step::Half;
    grid::MoveOutcome outcome =
        code == 8      ? grid::Pull(page().text, m_selPos, *arrow, step, page().keta)
        : m_selLen > 0 ? grid::SellMove(page().text, m_selPos, m_selLen, *arrow, step, page().keta)
                       : grid::Push(page().text, m_selPos, *arrow, step, page().keta);
    applyMove(outcome.changed, std::move(outcome.text), outcome.caret, outcome.selectionLength);
    return true;
}

void CanvasController::dotMove(bool pull, grid::Arrow arrow)
{
    board::DotOutcome outcome =
        pull           ? board::DotPull(page().text, m_selPos, arrow, m_unicodeSpaces)
        : m_selLen > 0 ? board::DotSellMove(page().text, m_selPos, m_selLen, arrow, m_unicodeSpaces)
                       : board::DotPush(page().text, m_selPos, arrow, m_unicodeSpaces);
    if (!outcome.changed) {
        return;
    }
    applyMove(true, std::move(outcome.text), outcome.caret, outcome.selectionLength);
    QString said;
    if (outcome.dots > 1) {
        said = QStringLiteral("%1ﾄﾞｯﾄ移動しました").arg(outcome.dots);
    }
    if (outcome.skippedLines > 0) {
        said += (said.isEmpty() ? QString() : QStringLiteral("　")) +
                QStringLiteral("%1 行は動かせませんでした").arg(outcome.skippedLines);
    }
    if (!said.isEmpty() && m_callbacks.notice) {
        m_callbacks.notice(said);
    }
}

void CanvasController::keyPress(char16_t code)
{
    takeSnapshot();
    switch (code) {
    case 8: {  // Backspace
        prepareChange();
        if (m_selLen > 0) {
            commitEdit(grid::SelToSP(page().text, m_selPos, m_selLen), m_selPos);
        } else if (m_selPos > 0 && page().text[static_cast<size_t>(m_selPos) - 1] == u'\n') {
            // At a line start Backspace only moves to the end of the previous line.
            m_view.setSelection(m_selPos - 2, 0);
            takeSnapshot();
            dataShow();
        } else if (m_selPos > 0) {
            grid::EditOutcome outcome = grid::backspaceCharacter(page().text, m_selPos, page().keta);
            setModified(true);
            if (outcome.accepted) {
                commitEdit(std::move(outcome.text), outcome.caret);
            } else {
                reject();
            }
        }
        return;
    }
    case 13: {  // Enter: to the start of the next line; nothing on the last line
        if (m_snapshot.line < page().gyou) {
            const size_t cr = page().text.find(u'\r', static_cast<size_t>(m_selPos));
            if (cr != npos) {
                m_view.setSelection(static_cast<int>(cr) + 2, 0);
                takeSnapshot();
                dataShow();
            }
        }
        return;
    }
    case 27:  // Escape blanks a selection
        prepareChange();
        if (m_selLen > 0) {
            commitEdit(grid::SelToSP(page().text, m_selPos, m_selLen), m_selPos);
        }
        dataShow();
        return;
    default:
        if (code < 0x20 || code == 0x7F) {
            return;  // Ctrl+C, Tab and other control characters never edit
        }
        inputText(std::u16string_view(&code, 1));
    }
}

void CanvasController::keyUp(Qt::Key key)
{
    takeSnapshot();
    dataShow();
    if (key == Qt::Key_Escape && page().text != page().history.current().Text) {
        RirekiKakunou();
    }
}

bool CanvasController::mousePress(Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        m_view.showEditMenu();
        return false;
    }
    takeSnapshot();
    const char16_t held = m_callbacks.clickStamp ? m_callbacks.clickStamp() : char16_t{0};
    const bool stamp = held != 0;
    if (stamp) {
        prepareChange();
        // Click input stamps the held character like a typed key, never over a selection.
        m_view.setSelection(m_selPos, 0);
        takeSnapshot();
        const std::u16string in = grid::toIncomingCanvasText(std::u16string(1, held));
        if (in.size() == 1 && in[0] != u'\r' && in[0] != u'\n') {
            typeOne(in);
        }
    }
    takeSnapshot();
    dataShow();
    return stamp;
}

void CanvasController::mouseRelease()
{
    takeSnapshot();
    dataShow();
}

void CanvasController::caretMoved()
{
    takeSnapshot();
    dataShow();
}

void CanvasController::inputText(std::u16string_view text)
{
    takeSnapshot();
    std::u16string in = grid::toIncomingCanvasText(text);
    std::erase_if(in, [](char16_t c) { return c == u'\r' || c == u'\n'; });
    if (in.empty()) {
        return;
    }
    prepareChange();
    bool blanked = blankSelectionFirst();
    for (size_t i = 0; i < in.size(); ++i) {
        const size_t units = in[i] >= 0xD800 && in[i] <= 0xDBFF && i + 1 < in.size() ? 2 : 1;
        if (!typeOne(std::u16string_view(in).substr(i, units), std::exchange(blanked, false))) {
            break;  // the caret did not move, so the rest would be refused as well
        }
        i += units - 1;
    }
}

void CanvasController::pasteText(std::u16string_view text)
{
    takeSnapshot();
    const std::u16string in = grid::toIncomingCanvasText(text);
    if (in.empty()) {
        return;
    }
    prepareChange();
    const bool blanked = blankSelectionFirst();
    grid::EditOutcome outcome = grid::pasteText(page().text, m_selPos, in, page().keta);
    setModified(true);
    if (outcome.accepted) {
        commitEdit(std::move(outcome.text), outcome.caret, 0, blanked);
    } else {
        reject();
    }
}

void CanvasController::applyEdit(std::u16string text, int caret)
{
    prepareChange();
    if (text == page().text) {
        return;
    }
    const int at = clampCaret(text, caret);
    commitEdit(std::move(text), at);
}

void CanvasController::blankSelection()
{
    takeSnapshot();
    prepareChange();
    if (m_selLen > 0) {
        commitEdit(grid::SelToSP(page().text, m_selPos, m_selLen), m_selPos);
        return;
    }
    // Cut with nothing selected changes nothing, but still marks a step in the history, as
    // every cut does; with nothing changed it does not count as a modification.
    RirekiKakunou();
    dataShow();
}

std::u16string CanvasController::selectedText() const
{
    const int start = clampCaret(page().text, m_view.selectionStart());
    const int length =
        std::clamp(m_view.selectionLength(), 0, static_cast<int>(page().text.size()) - start);
    return page().text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void CanvasController::undo()
{
    prepareChange();
    if (page().history.canUndo()) {
        showEntry(page().history.undo());
    }
}

void CanvasController::redo()
{
    prepareChange();
    if (page().history.canRedo()) {
        showEntry(page().history.redo());
    }
}

void CanvasController::showEntry(const document::HistoryEntry& entry)
{
    const bool resized = entry.Keta != page().keta || entry.Gyou != page().gyou;
    page().keta = entry.Keta;
    page().gyou = entry.Gyou;
    writeText(entry.Text, entry.Caret, 0, false);
    if (resized && m_callbacks.sizeChanged) {
        m_callbacks.sizeChanged();
    }
    if (m_callbacks.historyChanged) {
        m_callbacks.historyChanged();
    }
    takeSnapshot();
    dataShow();
}

}  // namespace masumemo::editor
