#include "frmAbout.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Identity.h"
#include "ProgramIcon.h"
#include "platform/AppPaths.h"
#include "platform/Twips.h"

namespace masumemo::launcher {

using platform::px;
using platform::pxRect;

const QString frmAbout::kDescription = QStringLiteral(
    "ｱﾌﾟﾘｹｰｼｮﾝの説明　　　　　　　　　　　                 　文字絵を楽しく創ってね");

namespace {

/// A horizontal line of one pixel in the given colour role, for the etched rule.
QFrame* ruleLine(QWidget* parent, const char* name, QRect geometry, QPalette::ColorRole role)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    line->setBackgroundRole(role);
    return line;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    // A fixed dialog frame: title and close box only, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFixedSize(platform::pxSize(5730, 2550));
    buildControls();
    Form_Load();
}

void frmAbout::buildControls()
{
    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(pxRect(240, 240, 540, 540));
    picIcon->setPixmap(programPixmap(px(540)));

    m_lblTitle = new QLabel(this);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    m_lblTitle->setGeometry(pxRect(1050, 240, 3885, 480));
    QFont titleFont = m_lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    m_lblTitle->setFont(titleFont);

    m_lblVersion = new QLabel(this);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblVersion->setGeometry(pxRect(1050, 780, 3885, 225));

    auto* description = new QLabel(kDescription, this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setGeometry(pxRect(1050, 1125, 3885, 540));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // An etched rule: a dark line with a light one just under it.
    ruleLine(this, "Line1_0", QRect(px(90), px(1710), px(5654) - px(90), 1), QPalette::Mid);
    ruleLine(this, "Line1_1", QRect(px(105), px(1725), px(5654) - px(105), 1), QPalette::Light);

    auto* maker = new QLabel(kMakerName, this);
    maker->setObjectName(QStringLiteral("Label1"));
    maker->setGeometry(pxRect(1080, 1875, 3135, 255));

    // There is no home page to point to; the line tells where the program keeps its files
    // (favourites and the dictionary list), which is what a user goes looking for.
    auto* text1 = new QLineEdit(this);
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setGeometry(pxRect(1080, 2160, 3135, 255));
    text1->setReadOnly(true);
    text1->setFrame(false);
    text1->setFocusPolicy(Qt::ClickFocus);
    QPalette face = text1->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    text1->setPalette(face);
    text1->setText(QDir::toNativeSeparators(
        QFileInfo(platform::AppPaths::settingsFile(QStringLiteral("masuedit.ini")))
            .absolutePath()));
    text1->setCursorPosition(0);

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(pxRect(4245, 2040, 1380, 345));
    // Default button for Enter; QDialog already answers Esc by rejecting.
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

void frmAbout::Form_Load()
{
    setWindowTitle(programTitle() + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    m_lblVersion->setText(versionText());
    m_lblTitle->setText(programTitle());
}

}  // namespace masumemo::launcher
