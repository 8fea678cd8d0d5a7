#include "PaletteInput.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "editor/frmMain.h"
#include "input/NarrowForm.h"
#include "platform/Dialogs.h"

namespace masumemo::editor {

namespace {

QString qs(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

PaletteInput::PaletteInput(frmMain& window) : QObject(&window), m_window(window)
{
    for (int i = 0; i < frmMain::kMojiCount; ++i) {
        m_window.cmdMoji(i)->installEventFilter(this);
    }
    for (int i = 0; i < frmMain::kUseCount; ++i) {
        connect(m_window.cmdUse(i), &QPushButton::clicked, this, [this, i] { cmdUse_Click(i); });
    }
    m_window.canvas().setClickStamp([this] { return stampCharacter(); });
}

void PaletteInput::showCategory(int category)
{
    m_grid.showCategory(category);
    if (!m_grid.gridShown()) {
        return;  // the settings page: the buttons keep their captions, unseen
    }
    for (int i = 0; i < frmMain::kMojiCount; ++i) {
        QPushButton* b = m_window.cmdMoji(i);
        b->setText(qs(m_grid.caption(i)));
        b->setVisible(m_grid.isVisible(i));
    }
}

void PaletteInput::InsertAtCaret(std::u16string_view text)
{
    m_window.canvas().pasteText(input::captionText(text));
}

void PaletteInput::cmdMoji_MouseDown(int index, Qt::MouseButton button)
{
    const std::u16string caption = m_window.cmdMoji(index)->text().toStdU16String();
    if (caption.empty()) {
        return;
    }
    if (clickInput()) {
        m_heldChar = input::captionText(caption);
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
    m_window.txtMain()->setFocus();
    m_window.DataShow();
}

void PaletteInput::cmdUse_Click(int index)
{
    // Copied: UseKey rewrites the row the caption lives in.
    const std::u16string caption = m_row.caption(index);
    if (!caption.empty()) {
        InsertAtCaret(caption);
        UseKey(caption);
    }
    m_window.txtMain()->setFocus();
}

void PaletteInput::UseKey(std::u16string_view key)
{
    m_row.UseKey(key);
    showRow();
}

void PaletteInput::showRow()
{
    for (int i = 0; i < frmMain::kUseCount; ++i) {
        m_window.cmdUse(i)->setText(qs(m_row.caption(i)));
    }
}

bool PaletteInput::clickInput() const
{
    return m_window.state().ClickInput;
}

void PaletteInput::clickInput_Toggle()
{
    using platform::Dialogs;
    QLabel* panel = m_window.statusPanel(3);
    const bool starting = !clickInput();
    QString message;
    if (starting) {
        panel->setText(QStringLiteral("クリック入力"));
        message = QStringLiteral("クリック入力を開始しました。") + QStringLiteral("\r\n") +
                  QStringLiteral("保持する文字を選択してください。");
    } else {
        panel->clear();
        message = QStringLiteral("クリック入力を解除しました。");
    }
    panel->setVisible(starting);
    m_window.state().ClickInput = starting;
    Dialogs::instance().message(&m_window, message, Dialogs::Buttons::Ok,
                                Dialogs::Icon::Information);
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
    for (int i = 0; i < frmMain::kMojiCount && button; ++i) {
        if (m_window.cmdMoji(i) == button) {
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
