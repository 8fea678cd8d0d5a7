#include "frmSplash.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "Identity.h"
#include "ProgramIcon.h"
#include "platform/Twips.h"

namespace masumemo::launcher {

using platform::px;
using platform::pxRect;

frmSplash::frmSplash(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("frmSplash"));
    // No title bar and no task-bar entry, but still a normal focusable window: a tool window
    // without decorations. It must still end the program when it is closed by other means.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose);
    setWindowTitle(programTitle());

    // The dialog border is drawn around the client area, as a title-less dialog frame would be.
    setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(platform::pxSize(3930, 1350));
    const int border = frameWidth();
    m_client->move(border, border);
    setFixedSize(m_client->size() + QSize(2 * border, 2 * border));

    buildControls();
    Form_Load();
}

void frmSplash::buildControls()
{
    auto* frame = new QFrame(m_client);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(pxRect(75, 0, 3780, 1275));

    // Inside the frame, places are counted from the frame's corner.
    auto* picture = new QLabel(frame);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setGeometry(pxRect(75, 180, 500, 500));
    picture->setPixmap(programPixmap(px(500)));

    auto* title = new QLabel(programTitle(), frame);
    title->setObjectName(QStringLiteral("Label1"));
    title->setGeometry(pxRect(975, 225, 2205, 315));
    QFont display(QStringList{QStringLiteral("URW Gothic"), QStringLiteral("IPAPGothic")});
    display.setPointSizeF(15.75);
    display.setBold(true);
    title->setFont(display);

    m_lblVersion = new QLabel(frame);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblVersion->move(px(2025), px(600));

    m_cmdMoji = new QPushButton(QStringLiteral("Masumemo起動"), frame);
    m_cmdMoji->setObjectName(QStringLiteral("cmdMoji"));
    m_cmdMoji->setGeometry(pxRect(75, 825, 1740, 390));
    connect(m_cmdMoji, &QPushButton::clicked, this, &frmSplash::cmdMoji_Click);

    m_cmdKao = new QPushButton(QStringLiteral("Egaocho起動"), frame);
    m_cmdKao->setObjectName(QStringLiteral("cmdKao"));
    m_cmdKao->setGeometry(pxRect(1950, 825, 1740, 390));
    connect(m_cmdKao, &QPushButton::clicked, this, &frmSplash::cmdKao_Click);

    // The two buttons are the only stops; the first one has the focus when the window opens.
    setTabOrder(m_cmdMoji, m_cmdKao);
    m_cmdMoji->setFocus();
}

void frmSplash::Form_Load()
{
    m_lblVersion->setText(versionText());
    m_lblVersion->adjustSize();
}

void frmSplash::cmdMoji_Click()
{
    // The chosen window is shown before the chooser closes, so the program never runs out of
    // windows in between.
    emit editorChosen();
    close();
}

void frmSplash::cmdKao_Click()
{
    emit dictionaryChosen();
    close();
}

void frmSplash::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    if (m_centred) {
        return;
    }
    m_centred = true;
    if (const QScreen* s = screen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    // Enter presses the button that has the focus, as it does in any dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
            return;
        }
    }
    QFrame::keyPressEvent(event);
}

}  // namespace masumemo::launcher
