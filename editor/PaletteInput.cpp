#include "PaletteInput.h"

#include <QAction>
#include <QToolBar>

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "editor/CanvasWidget.h"
#include "grid/Cp932.h"
#include "input/NarrowForm.h"

namespace masumemo::editor {

namespace {

/// Text colour of a half-width caption in the recently used row.
const QColor kNarrowText(0x80, 0x80, 0x80);

QString qs(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

PaletteInput::PaletteInput(PaletteParts parts, QObject* parent)
    : QObject(parent), m_parts(std::move(parts))
{
    for (int i = 0; i < static_cast<int>(m_parts.cmdMoji.size()); ++i) {
        m_parts.cmdMoji[static_cast<size_t>(i)]->installEventFilter(this);
    }
    for (int i = 0; i < static_cast<int>(m_parts.cmdUse.size()); ++i) {
        connect(m_parts.cmdUse[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdUse_Click(i); });
    }
    m_parts.txtMain->controller().setClickStamp([this] { return stampCharacter(); });
}

void PaletteInput::showCategory(int category)
{
    m_grid.showCategory(category);
    if (!m_grid.gridShown()) {
        return;  // the settings page: the buttons keep their captions, unseen
    }
    for (int i = 0; i < static_cast<int>(m_parts.cmdMoji.size()); ++i) {
        QPushButton* b = m_parts.cmdMoji[static_cast<size_t>(i)];
        b->setText(qs(m_grid.caption(i)));
        b->setVisible(m_grid.isVisible(i));
    }
}

void PaletteInput::InsertAtCaret(std::u16string_view text)
{
    m_parts.txtMain->controller().pasteText(input::captionText(text));
}

void PaletteInput::cmdMoji_MouseDown(int index, Qt::MouseButton button)
{
    const std::u16string caption = m_parts.cmdMoji[static_cast<size_t>(index)]->text().toStdU16String();
    if (caption.empty()) {
        return;
    }
    if (clickInput()) {
        m_heldChar = input::captionText(caption);
        showClickInput();
        return;
    }
    // The ampersand has no narrow form to look up: both buttons write it as it is.
    const std::u16string written =
        button == Qt::RightButton && caption != u"&&" ? input::narrowForm(caption) : caption;
    InsertAtCaret(written);
    UseKey(written);
}

void PaletteInput::cmdMoji_MouseUp(int index)
{
    Q_UNUSED(index);
    m_parts.txtMain->setFocus();
    m_parts.dataShow();
}

void PaletteInput::cmdUse_Click(int index)
{
    // Copied: UseKey rewrites the row the caption lives in.
    const std::u16string caption = m_row.caption(index);
    if (!caption.empty()) {
        InsertAtCaret(caption);
        UseKey(caption);
    }
    m_parts.txtMain->setFocus();
}

void PaletteInput::UseKey(std::u16string_view key)
{
    m_row.UseKey(key);
    showRow();
}

void PaletteInput::showRow()
{
    for (int i = 0; i < static_cast<int>(m_parts.cmdUse.size()); ++i) {
        QPushButton* b = m_parts.cmdUse[static_cast<size_t>(i)];
        const std::u16string& caption = m_row.caption(i);
        b->setText(qs(caption));
        // "A" and "Ａ" look alike in the proportional Gothic: the half-width form is lighter.
        const std::u16string shown = input::captionText(caption);
        const bool narrow =
            !shown.empty() && grid::WidthOf(shown) == static_cast<int>(shown.size());
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, narrow ? kNarrowText : QColor(Qt::black));
        b->setPalette(p);
    }
}

bool PaletteInput::clickInput() const
{
    return *m_parts.clickInput;
}

void PaletteInput::toggleClickInput()
{
    // No message box: the pressed button and the status panel already show the mode.
    *m_parts.clickInput = !clickInput();
    showClickInput();
}

void PaletteInput::showClickInput()
{
    const bool on = clickInput();
    QLabel* panel = m_parts.clickPanel;
    QString caption;
    if (on) {
        caption = QStringLiteral("クリック入力");
        if (!m_heldChar.empty()) {
            caption += QStringLiteral(": ") + QString(QChar(m_heldChar.front()));
        }
    }
    panel->setText(caption);
    panel->setVisible(on);
    for (QAction* a : m_parts.toolBar->actions()) {
        if (a->isCheckable()) {
            a->setChecked(on);
        }
    }
}

char16_t PaletteInput::stampCharacter() const
{
    return clickInput() && !m_heldChar.empty() ? m_heldChar.front() : char16_t{0};
}

bool PaletteInput::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick) {
        return false;
    }
    auto* button = qobject_cast<QPushButton*>(watched);
    int index = -1;
    for (int i = 0; i < static_cast<int>(m_parts.cmdMoji.size()) && button; ++i) {
        if (m_parts.cmdMoji[static_cast<size_t>(i)] == button) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        return false;
    }
    const Qt::MouseButton which = static_cast<QMouseEvent*>(event)->button();
    if (which != Qt::LeftButton && which != Qt::RightButton && which != Qt::MiddleButton) {
        return false;
    }
    // A quick second press arrives as a double click: it writes the character again.
    if (type == QEvent::MouseButtonRelease) {
        cmdMoji_MouseUp(index);
    } else {
        cmdMoji_MouseDown(index, which);
    }
    // The left button also shows the button pressed; the others mean nothing to a push button.
    return which != Qt::LeftButton;
}

}  // namespace masumemo::editor
