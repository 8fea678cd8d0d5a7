#include "editor/PaletteFrames.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "platform/UpDown.h"

namespace masumemo::editor {

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

/// Places a child in twips.
void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(platform::pxRect(left, top, width, height));
}

QString indexedName(const char* name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& title = QString())
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    return box;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption = QString())
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

/// The character buttons' palette: white faces.
QPalette whiteButtons(QPalette palette)
{
    palette.setColor(QPalette::Button, Qt::white);
    return palette;
}

void buildCategoryRow(QWidget* picMain, PaletteFrames& f)
{
    static const char* const captions[kPaletteCategoryCount] = {
        "半角記号・英数", "全角記号１", "全角記号２", "ギリシャ・罫線",
        "ロシア文字",     "全角英数",   "カナ・漢字", "設定"};
    auto* group = new QButtonGroup(picMain);
    group->setExclusive(true);
    for (int i = 0; i < kPaletteCategoryCount; ++i) {
        // Button-like option buttons, laid edge to edge.
        auto* b = new QToolButton(picMain);
        b->setObjectName(indexedName("optMoji", i));
        b->setText(text(captions[i]));
        b->setCheckable(true);
        place(b, 75 + 1275 * i, 75, 1290, 315);
        group->addButton(b, i);
        f.optMoji[static_cast<size_t>(i)] = b;
    }
}

void buildCharacterGrid(QWidget* picMain, PaletteFrames& f)
{
    QGroupBox* grid = frame(picMain, QStringLiteral("fraButton_0"));
    place(grid, 75, 300, 10215, 1890);
    f.fraButton[0] = grid;
    const QPalette white = whiteButtons(picMain->palette());
    const QFont font(platform::kGothic, 12);
    for (int i = 0; i < kMojiCount; ++i) {
        QPushButton* b = button(grid, indexedName("cmdMoji", i));
        b->setFont(font);
        b->setPalette(white);
        b->setFocusPolicy(Qt::NoFocus);
        place(b, 150 + 375 * (i % 26), 225 + 375 * (i / 26), 375, 375);
        f.cmdMoji[static_cast<size_t>(i)] = b;
    }
}

void buildSettingsPage(QWidget* picMain, PaletteFrames& f)
{
    QGroupBox* page = frame(picMain, QStringLiteral("fraButton_1"));
    place(page, 75, 300, 10215, 1890);
    f.fraButton[1] = page;

    QGroupBox* size = frame(page, QStringLiteral("fraSize"), text("フォント・文字数・行数"));
    place(size, 150, 150, 6165, 1590);
    place(label(size, QStringLiteral("lblFont"), text("フォント種類：")), 60, 225, 1260, 300);
    place(label(size, QStringLiteral("lblSize"), text("フォントサイズ：")), 60, 675, 1260, 300);
    place(label(size, QStringLiteral("lblKeta"), text("１行の文字数（全角）：")), 2895, 225, 1875,
          315);
    place(label(size, QStringLiteral("lblGyou"), text("行数：")), 2895, 675, 1875, 315);

    f.cboFont = new QComboBox(size);
    f.cboFont->setObjectName(QStringLiteral("cboFont"));
    f.cboFont->addItems({platform::kGothic, platform::kPGothic});
    place(f.cboFont, 1350, 225, 1515, 300);
    f.cboSize = new QComboBox(size);
    f.cboSize->setObjectName(QStringLiteral("cboSize"));
    place(f.cboSize, 1350, 675, 1515, 300);

    const auto numberBox = [size](const char* name, const char* spinName, int top,
                                  platform::UpDown*& spin) {
        auto* box = new QLineEdit(size);
        box->setObjectName(QLatin1String(name));
        place(box, 4800, top, 660, 315);
        spin = new platform::UpDown(size);
        spin->setObjectName(QLatin1String(spinName));
        spin->setRange(1, 100);
        place(spin, 4800 + 660, top, 255, 315);
        // The spin control steps from whatever number the box holds and writes it back.
        QObject::connect(box, &QLineEdit::textChanged, spin,
                         [spin](const QString& t) { spin->setValue(t.toInt()); });
        QObject::connect(spin, &platform::UpDown::stepped, box,
                         [box](int value) { box->setText(QString::number(value)); });
        return box;
    };
    f.txtKeta = numberBox("txtKeta", "UpDown1", 225, f.upDown1);
    f.txtGyou = numberBox("txtGyou", "UpDown2", 675, f.upDown2);

    f.cmdTekiyou = button(size, QStringLiteral("cmdTekiyou"), text("適用(&A)"));
    place(f.cmdTekiyou, 4350, 1125, 1665, 315);

    QGroupBox* push = frame(page, QStringLiteral("fraPush"), text("押し・引きでの、文字移動"));
    place(push, 6450, 150, 3465, 1590);
    const char* const pushCaptions[] = {"半角モード（半角１文字移動します）",
                                        "全角モード（全角１文字移動します）",
                                        "ﾄﾞｯﾄﾓｰﾄﾞ（1ﾄﾞｯﾄ移動します）"};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(text(pushCaptions[i]), push);
        option->setObjectName(indexedName("optPush", i));
        place(option, 300, 270 + 300 * i, 3465 - 300 - 60, 285);
        f.optPush[static_cast<size_t>(i)] = option;
    }
    f.optPush[0]->setChecked(true);
    f.chkUnicode = new QCheckBox(text("Unicodeを通す掲示板(&U)"), push);
    f.chkUnicode->setObjectName(QStringLiteral("chkUnicode"));
    place(f.chkUnicode, 300, 1200, 3465 - 300 - 60, 285);
}

void buildRecentRow(QWidget* picMain, PaletteFrames& f)
{
    f.fraSaikin = frame(picMain, QStringLiteral("fraSaikin"), text("最近使ったキー"));
    place(f.fraSaikin, 75, 2175, 7065, 765);
    const QFont font(platform::kPGothic, 12);
    const QPalette white = whiteButtons(picMain->palette());
    for (int i = 0; i < kUseCount; ++i) {
        QPushButton* b = button(f.fraSaikin, indexedName("cmdUse", i));
        b->setFont(font);
        b->setPalette(white);
        b->setFocusPolicy(Qt::NoFocus);
        place(b, 150 + 375 * i, 225, 375, 375);
        f.cmdUse[static_cast<size_t>(i)] = b;
    }
}

void buildEditKeys(QWidget* picMain, PaletteFrames& f)
{
    f.fraEtc = frame(picMain, QStringLiteral("fraEtc"));
    place(f.fraEtc, 7200, 2175, 3090, 765);
    const auto key = [&f](const QString& name, const char* caption, int left) {
        QPushButton* b = button(f.fraEtc, name, text(caption));
        b->setFocusPolicy(Qt::NoFocus);
        place(b, left, 225, 375, 375);
        return b;
    };
    f.cmdDel = key(QStringLiteral("cmdDel"), "Del", 150);
    f.cmdBack = key(QStringLiteral("cmdBack"), "BS", 525);
    f.cmdEnt = key(QStringLiteral("cmdEnt"), "Ent", 900);
    const char* const arrows[] = {"←", "↑", "↓", "→"};
    for (int i = 0; i < 4; ++i) {
        f.cmdCars[static_cast<size_t>(i)] = key(indexedName("cmdCars", i), arrows[i], 1425 + 375 * i);
    }
}

}  // namespace

PaletteFrames buildPaletteFrames(QWidget* picMain)
{
    PaletteFrames f;
    buildCategoryRow(picMain, f);
    buildCharacterGrid(picMain, f);
    buildSettingsPage(picMain, f);
    buildRecentRow(picMain, f);
    buildEditKeys(picMain, f);
    // The frames start inside the category buttons' lowest pixels; the buttons must take a
    // click there, not the frame.
    for (QAbstractButton* b : f.optMoji) {
        b->raise();
    }
    return f;
}

}  // namespace masumemo::editor
