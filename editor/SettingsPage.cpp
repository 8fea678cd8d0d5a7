#include "SettingsPage.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "platform/CanvasPreferences.h"
#include "editor/CanvasWidget.h"
#include "editor/EditorState.h"
#include "grid/Fit.h"
#include "platform/Dialogs.h"

namespace masumemo::editor {

using platform::Dialogs;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

/// A box's number; the boxes only ever hold digits that fit an int.
int number(const QLineEdit* box)
{
    return box->text().toInt();
}

bool isNumber(const QString& text)
{
    bool ok = false;
    text.toInt(&ok);
    return ok && std::all_of(text.begin(), text.end(),
                             [](QChar c) { return c >= u'0' && c <= u'9'; });
}

/// Main-keyboard digits, Backspace and Delete edit a number box; nothing else may.
bool editsNumberBox(const QKeyEvent* key)
{
    const int code = key->key();
    if (code >= Qt::Key_0 && code <= Qt::Key_9) {
        return !key->modifiers().testFlag(Qt::KeypadModifier);
    }
    return code == Qt::Key_Backspace || code == Qt::Key_Delete;
}

}  // namespace

SettingsPage::SettingsPage(SettingsParts parts, QObject* parent)
    : QObject(parent), m_parts(std::move(parts))
{
    m_lastKeta = m_parts.txtKeta->text();
    m_lastGyou = m_parts.txtGyou->text();
    for (QLineEdit* box : {m_parts.txtKeta, m_parts.txtGyou}) {
        box->installEventFilter(this);
        QString& last = box == m_parts.txtKeta ? m_lastKeta : m_lastGyou;
        connect(box, &QLineEdit::textChanged, this, [this, box, &last] { boxChanged(box, last); });
    }
    for (QComboBox* list : {m_parts.cboFont, m_parts.cboSize}) {
        connect(list, &QComboBox::currentIndexChanged, this, &SettingsPage::checkApplyState);
    }
    connect(m_parts.cmdTekiyou, &QPushButton::clicked, this, &SettingsPage::cmdTekiyou_Click);
}

void SettingsPage::showPage()
{
    const EditorState& s = *m_parts.state;
    m_parts.cboFont->setCurrentIndex(s.FontIndex);
    m_parts.cboSize->setCurrentIndex(s.SizeIndex);
    m_parts.txtKeta->setText(QString::number(m_parts.txtMain->controller().keta()));
    m_parts.cmdTekiyou->setEnabled(false);
}

void SettingsPage::boxChanged(QLineEdit* box, QString& lastGood)
{
    const QString text = box->text();
    if (text.isEmpty()) {
        box->setText(QStringLiteral("1"));  // runs this again with the 1
        // Selected, so the digits typed next replace it instead of following it.
        box->selectAll();
        return;
    }
    if (!isNumber(text)) {
        // A pasted text, an input-method commit or a shifted digit key's symbol.
        box->setText(lastGood);
        return;
    }
    lastGood = text;
    checkApplyState();
}

void SettingsPage::checkApplyState()
{
    const EditorState& s = *m_parts.state;
    const CanvasController& canvas = m_parts.txtMain->controller();
    const bool applied = number(m_parts.txtGyou) == canvas.gyou() &&
                         number(m_parts.txtKeta) == canvas.keta() &&
                         m_parts.cboSize->currentIndex() == s.SizeIndex &&
                         m_parts.cboFont->currentIndex() == s.FontIndex;
    if (applied) {
        m_parts.cmdTekiyou->setEnabled(false);
    } else {
        Tekiyou();
    }
}

void SettingsPage::applyFont(int fontIndex, int sizeIndex)
{
    m_parts.state->FontIndex = fontIndex;
    m_parts.state->SizeIndex = sizeIndex;
    QFont font = m_parts.txtMain->font();
    font.setFamily(m_parts.cboFont->itemText(fontIndex));
    font.setPointSize(m_parts.cboSize->itemText(sizeIndex).toInt());
    m_parts.txtMain->setFont(font);
}

void SettingsPage::restoreRemembered()
{
    const platform::CanvasPreferences p = platform::readCanvasPreferences();
    const int font = m_parts.cboFont->findText(p.font);
    const int size = m_parts.cboSize->findText(QString::number(p.pointSize));
    if (font >= 0 && size >= 0) {
        applyFont(font, size);
    }
}

void SettingsPage::Tekiyou()
{
    m_parts.cmdTekiyou->setEnabled(true);
}

bool SettingsPage::ask(const QString& text) const
{
    return Dialogs::instance().message(m_parts.window, text, Dialogs::Buttons::YesNo,
                                       Dialogs::Icon::Question) == Dialogs::Answer::Yes;
}

void SettingsPage::cmdTekiyou_Click()
{
    const int k = number(m_parts.txtKeta);
    const int g = number(m_parts.txtGyou);
    CanvasController& canvas = m_parts.txtMain->controller();

    // The font applies whatever becomes of the size, and is remembered for the next start.
    applyFont(m_parts.cboFont->currentIndex(), m_parts.cboSize->currentIndex());
    platform::rememberCanvasFont(m_parts.cboFont->currentText(),
                                 m_parts.cboSize->currentText().toInt());

    if (k <= 0 || g <= 0) {
        // A canvas without columns or lines cannot be drawn on; Apply stays on for a new try.
        Dialogs::instance().message(
            m_parts.window, QStringLiteral("文字数と行数は1以上にしてください。"),
            Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    } else if (!grid::withinSizeLimit(k, g)) {
        Dialogs::instance().message(m_parts.window,
                                    QStringLiteral("ファイルの容量が64kBを超えてしまいます。") +
                                        kCrLf + QStringLiteral("文字数か行数を減らしてください。"),
                                    Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
    } else {
        const QString cut = QStringLiteral("データの一部が切り取られますが、よろしいですか？");
        const QString plain = QStringLiteral("よろしいですか？");
        const QString columns = QStringLiteral("桁数の変更を行います。") + kCrLf;
        const QString lines = QStringLiteral("行数の変更を行います。") + kCrLf;
        // Each accepted dimension is an undo step of its own: the current undo entry must hold
        // the canvas at the size shown, or a refused keystroke would restore another size.
        if (k != canvas.keta() && ask(columns + (k < canvas.keta() ? cut : plain))) {
            canvas.resizeCanvas([k](const std::u16string& text) { return grid::resizeColumns(text, k); },
                                k, canvas.gyou());
            m_parts.txtMain->controller().RirekiKakunou();
        }
        if (g != canvas.gyou() && ask(lines + (g < canvas.gyou() ? cut : plain))) {
            const int keta = canvas.keta();
            canvas.resizeCanvas(
                [g, keta](const std::u16string& text) { return grid::resizeLines(text, g, keta); },
                keta, g);
            m_parts.txtMain->controller().RirekiKakunou();
        }
        m_parts.cmdTekiyou->setEnabled(false);
    }
    m_parts.txtMain->controller().caretMoved();
    m_parts.dataShow();
}

bool SettingsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress ||
        (watched != m_parts.txtKeta && watched != m_parts.txtGyou)) {
        return false;
    }
    if (editsNumberBox(static_cast<QKeyEvent*>(event))) {
        return false;
    }
    // Any other key reaches a read-only box: the caret keys still move and Tab still leaves,
    // but nothing is typed, pasted or cut.
    auto* box = static_cast<QLineEdit*>(watched);
    const bool wasReadOnly = box->isReadOnly();
    box->setReadOnly(true);
    static_cast<QObject*>(box)->event(event);
    box->setReadOnly(wasReadOnly);
    return true;
}

}  // namespace masumemo::editor
