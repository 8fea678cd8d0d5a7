#include "frmFava.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/Fonts.h"
#include "platform/Twips.h"

namespace masumemo::input {

using platform::pxRect;

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

/// A number shown in a sunken box.
QLabel* numberBox(QWidget* parent, const char* name, QRect geometry)
{
    QLabel* l = label(parent, name, QString(), geometry);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    // Enter in the field must not press a button the user did not choose.
    b->setAutoDefault(false);
    return b;
}

}  // namespace

frmFava::frmFava(Favourites& list, QWidget* parent) : QDialog(parent), m_registration(list)
{
    setObjectName(QStringLiteral("frmFava"));
    setWindowTitle(QStringLiteral("お気に入りの文字を登録と削除"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFont(QFont(platform::kPGothic, 9));
    setFixedSize(platform::pxSize(5490, 2295));
    buildControls();
    Form_Load();
}

void frmFava::buildControls()
{
    label(this, "lblBangou", QStringLiteral("登録番号："), pxRect(150, 195, 1050, 300));
    m_lblBT = numberBox(this, "lblBT", pxRect(1200, 165, 525, 345));
    m_cmdDown = button(this, "cmdDown", QStringLiteral("<"), pxRect(1830, 150, 420, 375));
    m_cmdUp = button(this, "cmdUp", QStringLiteral(">"), pxRect(2250, 150, 420, 375));
    label(this, "lblGenzai", QStringLiteral("現在の登録数："), pxRect(3000, 195, 1500, 300))
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblTouroku = numberBox(this, "lblTouroku", pxRect(4560, 165, 525, 345));

    label(this, "lblMoji", QStringLiteral("登録する文字（複数文字可）："),
          pxRect(150, 675, 3900, 270));
    m_txtFava = new QLineEdit(this);
    m_txtFava->setObjectName(QStringLiteral("txtFava"));
    m_txtFava->setGeometry(pxRect(150, 960, 5190, 420));
    // The canvas font, so a favourite looks as it will on the canvas.
    m_txtFava->setFont(QFont(platform::kGothic, 12));

    m_cmdTekiyou =
        button(this, "cmdTekiyou", QStringLiteral("適用(&A)"), pxRect(150, 1620, 1620, 435));
    m_cmdDel = button(this, "cmdDel", QStringLiteral("登録削除(&D)"), pxRect(1935, 1620, 1620, 435));
    m_cmdCancel =
        button(this, "cmdCancel", QStringLiteral("閉じる(&C)"), pxRect(3720, 1620, 1620, 435));

    connect(m_cmdDown, &QPushButton::clicked, this, &frmFava::cmdDown_Click);
    connect(m_cmdUp, &QPushButton::clicked, this, &frmFava::cmdUp_Click);
    connect(m_cmdTekiyou, &QPushButton::clicked, this, &frmFava::cmdTekiyou_Click);
    connect(m_cmdDel, &QPushButton::clicked, this, &frmFava::cmdDel_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmFava::cmdCancel_Click);
    connect(m_txtFava, &QLineEdit::textEdited, this, &frmFava::txtFava_Change);
}

void frmFava::Form_Load()
{
    m_registration.open();
    showState();
    m_txtFava->setFocus();
}

void frmFava::showState()
{
    const FavouritesRegistration& r = m_registration;
    m_lblBT->setText(QString::number(r.slot()));
    m_lblTouroku->setText(QString::number(r.shownCount()));
    const QString field = QString::fromStdU16String(r.fieldText());
    if (m_txtFava->text() != field) {
        m_txtFava->setText(field);  // setText raises no textEdited: the rules already saw it
    }
    m_cmdDown->setEnabled(r.previousEnabled());
    m_cmdUp->setEnabled(r.nextEnabled());
    m_cmdTekiyou->setEnabled(r.applyEnabled());
    m_cmdDel->setEnabled(r.deleteEnabled());
}

void frmFava::cmdDown_Click()
{
    m_registration.previous();
    showState();
}

void frmFava::cmdUp_Click()
{
    m_registration.next();
    showState();
}

void frmFava::cmdTekiyou_Click()
{
    m_registration.apply();
    showState();
}

void frmFava::cmdDel_Click()
{
    m_registration.remove();
    showState();
}

void frmFava::cmdCancel_Click()
{
    // The editor lays out its favourite buttons once this window has closed.
    accept();
}

void frmFava::txtFava_Change(const QString& text)
{
    // A pasted line break would end the favourite's line in the settings file.
    const std::u16string clean = withoutLineBreaks(text.toStdU16String());
    if (clean.size() != static_cast<size_t>(text.size())) {
        // The caret stays after what the user just put in.
        const int cursor = m_txtFava->cursorPosition();
        const int keptBefore = static_cast<int>(
            withoutLineBreaks(text.left(cursor).toStdU16String()).size());
        m_txtFava->setText(QString::fromStdU16String(clean));
        m_txtFava->setCursorPosition(keptBefore);
    }
    m_registration.fieldEdited(clean);
    showState();
}

}  // namespace masumemo::input
