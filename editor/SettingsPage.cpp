#include "SettingsPage.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "editor/frmMain.h"
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

SettingsPage::SettingsPage(frmMain& window) : QObject(&window), m_window(window)
{
    m_lastKeta = m_window.txtKeta()->text();
    m_lastGyou = m_window.txtGyou()->text();
    for (QLineEdit* box : {m_window.txtKeta(), m_window.txtGyou()}) {
        box->installEventFilter(this);
        QString& last = box == m_window.txtKeta() ? m_lastKeta : m_lastGyou;
        connect(box, &QLineEdit::textChanged, this, [this, box, &last] { boxChanged(box, last); });
    }
    for (QComboBox* list : {m_window.cboFont(), m_window.cboSize()}) {
        connect(list, &QComboBox::currentIndexChanged, this, &SettingsPage::checkApplyState);
    }
    connect(m_window.cmdTekiyou(), &QPushButton::clicked, this, &SettingsPage::cmdTekiyou_Click);
}

void SettingsPage::showPage()
{
    const EditorState& s = m_window.state();
    m_window.cboFont()->setCurrentIndex(s.FontIndex);
    m_window.cboSize()->setCurrentIndex(s.SizeIndex);
    m_window.txtKeta()->setText(QString::number(m_window.canvas().keta()));
    m_window.cmdTekiyou()->setEnabled(false);
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
    const EditorState& s = m_window.state();
    const CanvasController& canvas = m_window.canvas();
    const bool applied = number(m_window.txtGyou()) == canvas.gyou() &&
                         number(m_window.txtKeta()) == canvas.keta() &&
                         m_window.cboSize()->currentIndex() == s.SizeIndex &&
                         m_window.cboFont()->currentIndex() == s.FontIndex;
    if (applied) {
        m_window.cmdTekiyou()->setEnabled(false);
    } else {
        Tekiyou();
    }
}

void SettingsPage::Tekiyou()
{
    m_window.cmdTekiyou()->setEnabled(true);
}

bool SettingsPage::ask(const QString& text) const
{
    return Dialogs::instance().message(&m_window, text, Dialogs::Buttons::YesNo,
                                       Dialogs::Icon::Question) == Dialogs::Answer::Yes;
}

void SettingsPage::cmdTekiyou_Click()
{
    const int k = number(m_window.txtKeta());
    const int g = number(m_window.txtGyou());
    EditorState& s = m_window.state();
    CanvasController& canvas = m_window.canvas();

    // The font applies whatever becomes of the size.
    s.FontIndex = m_window.cboFont()->currentIndex();
    s.SizeIndex = m_window.cboSize()->currentIndex();
    QFont font = m_window.txtMain()->font();
    font.setFamily(m_window.cboFont()->currentText());
    font.setPointSize(m_window.cboSize()->currentText().toInt());
    m_window.txtMain()->setFont(font);

    if (k <= 0 || g <= 0) {
        // A canvas without columns or lines cannot be drawn on; Apply stays on for a new try.
        Dialogs::instance().message(
            &m_window, QStringLiteral("文字数と行数は1以上にしてください。"),
            Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    } else if (!grid::withinSizeLimit(k, g)) {
        Dialogs::instance().message(&m_window,
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
            canvas.replaceCanvas(grid::resizeColumns(canvas.text(), k), k, canvas.gyou());
            m_window.RirekiKakunou();
        }
        if (g != canvas.gyou() && ask(lines + (g < canvas.gyou() ? cut : plain))) {
            canvas.replaceCanvas(grid::resizeLines(canvas.text(), g, canvas.keta()),
                                 canvas.keta(), g);
            m_window.RirekiKakunou();
        }
        m_window.cmdTekiyou()->setEnabled(false);
    }
    m_window.takeSnapshot();
    m_window.DataShow();
}

bool SettingsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress ||
        (watched != m_window.txtKeta() && watched != m_window.txtGyou())) {
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
