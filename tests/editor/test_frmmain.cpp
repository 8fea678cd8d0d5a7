// The editor window as the user first meets it: its controls, menus, toolbar, status panels,
// undo and redo, the view toggle and the sideways scrolling.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>
#include <QToolTip>
#include <QHelpEvent>
#include <memory>

#include "ShownTitle.h"
#include "ScriptedDialogs.h"
#include "check/BoardSetting.h"
#include "editor/CanvasController.h"
#include "editor/PositionDisplay.h"
#include "editor/frmMain.h"
#include "board/DotRuler.h"
#include "document/Document.h"
#include "grid/LineModel.h"
#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "platform/UpDown.h"

using namespace masumemo;
using editor::frmMain;
using platform::Dialogs;

class FrmMainTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutions(); }
    void init() { m_window = std::make_unique<frmMain>(); }
    void cleanup() { m_window.reset(); }

    void freshWindow();
    void controlCaptions();
    void spinControlsStepTheirBoxes();
    void menuItems();
    void toolbar();
    void toolbarIconsAreDistinct();
    void toolbarFitsTheDesignedWidth();
    void categoryButtonsTakeClicksToTheirEdge();
    void toolTipsShowTheirMarkup();
    void positionFollowsTheCaret();
    void undoRedoThroughTheToolbar();
    void viewToggle();
    void narrowWindowScrolls();
    void activationMenuRequestsAndExit();
    void closeQuestion_data();
    void closeQuestion();
    void loadFailureIsReported();
    void pushStepsGoRoundAndTheDotStepNeedsTheProportionalFont();
    void titleAndDotsFollowTheDocument();

private:
    QString caption(const QString& name) const;
    void clickTool(const char* key);

    std::unique_ptr<frmMain> m_window;
};

QString FrmMainTest::caption(const QString& name) const
{
    QObject* o = m_window->findChild<QObject*>(name);
    if (!o) {
        return QStringLiteral("<missing>");
    }
    if (auto* box = qobject_cast<QGroupBox*>(o)) {
        return box->title();
    }
    return o->property("text").toString();
}

void FrmMainTest::clickTool(const char* key)
{
    for (QAction* a : m_window->tbToolBar()->actions()) {
        if (a->data().toString() == QString::fromUtf8(key)) {
            QVERIFY(a->isEnabled());
            a->trigger();
            return;
        }
    }
    QFAIL("no such toolbar key");
}

void FrmMainTest::freshWindow()
{
    frmMain& w = *m_window;
    QCOMPARE(testing::shownTitle(w), QStringLiteral("住所不定 - Masumemo"));
    QCOMPARE(w.size(), platform::pxSize(10500, 9330));
    QCOMPARE(w.canvasText(), grid::blankCanvas(35, 20));
    QCOMPARE(w.txtMain()->document()->blockCount(), 20);
    QCOMPARE(w.txtKeta()->text(), QStringLiteral("35"));
    QCOMPARE(w.txtGyou()->text(), QStringLiteral("20"));
    QVERIFY(!w.toolButton(9)->isEnabled() && !w.toolButton(10)->isEnabled());
    QVERIFY(!w.menuItem(QStringLiteral("mnuBasic"))->isEnabled());
    QVERIFY(w.menuItem(QStringLiteral("mnuLarge"))->isEnabled());
    QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("列[ 0/70 ]　行[ 1/20 ]"));
    QCOMPARE(w.statusPanel(2)->text(), QStringLiteral("半角移動"));
    QVERIFY(w.statusPanel(3)->isHidden());
    for (int n = frmMain::kFirstFavouriteButton; n <= frmMain::kToolButtonCount; ++n) {
        QVERIFY2(!w.toolButton(n)->isVisible(), qPrintable(QString::number(n)));
    }
    QVERIFY(w.optMoji(0)->isChecked());
    QVERIFY(!w.fraButton(0)->isHidden() && w.fraButton(1)->isHidden());
    QVERIFY(w.hsbMain()->isHidden());
    QCOMPARE(w.history().entries().size(), size_t{1});
    // The canvas font: 12 pt, mapped to a Gothic whose full-width characters are exactly twice
    // as wide as half-width ones, so the grid lines up.
    const QFont font = w.txtMain()->font();
    QCOMPARE(font.family(), QStringLiteral("ＭＳ ゴシック"));
    QCOMPARE(font.pointSize(), 12);
    const QFontMetrics metrics(font);
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("　")),
             2 * metrics.horizontalAdvance(QStringLiteral(" ")));
    QCOMPARE(w.txtMain()->lineWrapMode(), QPlainTextEdit::NoWrap);
}

void FrmMainTest::controlCaptions()
{
    const std::pair<const char*, const char*> captions[] = {
        {"optMoji_0", "半角記号・英数"}, {"optMoji_1", "全角記号１"}, {"optMoji_2", "全角記号２"},
        {"optMoji_3", "ギリシャ・罫線"}, {"optMoji_4", "ロシア文字"}, {"optMoji_5", "全角英数"},
        {"optMoji_6", "カナ・漢字"}, {"optMoji_7", "設定"}, {"fraSize", "フォント・文字数・行数"},
        {"fraPush", "押し・引きでの、文字移動"}, {"fraSaikin", "最近使ったキー"},
        {"cmdCars_0", "←"}, {"cmdCars_1", "↑"}, {"cmdCars_2", "↓"}, {"cmdCars_3", "→"},
        {"cmdDel", "Del"}, {"cmdBack", "BS"}, {"cmdEnt", "Ent"}, {"cmdTekiyou", "適用(&A)"},
        {"optPush_0", "半角モード（半角１文字移動します）"},
        {"optPush_1", "全角モード（全角１文字移動します）"}, {"lblFont", "フォント種類："},
        {"lblSize", "フォントサイズ："}, {"lblKeta", "１行の文字数（全角）："}, {"lblGyou", "行数："},
    };
    for (const auto& [name, text] : captions) {
        QCOMPARE(caption(QString::fromLatin1(name)), QString::fromUtf8(text));
    }
    // The rest are found by their names too.
    QStringList names = {"tbToolBar", "Line4",   "Line3",   "picMain", "txtMain",  "hsbMain",
                         "STBar",     "STBar_1", "STBar_2", "STBar_3", "cboFont",  "cboSize",
                         "txtKeta",   "txtGyou", "UpDown1", "UpDown2", "fraEtc",   "mnuFile",
                         "mnuEdit",   "mnuView", "mnuFava", "mnuHelp"};
    for (int i = 0; i < frmMain::kMojiCount; ++i) {
        names << QStringLiteral("cmdMoji_%1").arg(i);
    }
    for (int i = 0; i < frmMain::kUseCount; ++i) {
        names << QStringLiteral("cmdUse_%1").arg(i);
    }
    for (const QString& name : names) {
        QVERIFY2(m_window->findChild<QObject*>(name), qPrintable(name));
    }
    // The character grid and the recently used row alike have white faces.
    for (const QString& name : {QStringLiteral("cmdMoji_0"), QStringLiteral("cmdUse_0"),
                                QStringLiteral("cmdUse_17")}) {
        QCOMPARE(m_window->findChild<QWidget*>(name)->palette().color(QPalette::Button),
                 QColor(Qt::white));
    }
}

void FrmMainTest::spinControlsStepTheirBoxes()
{
    struct Row
    {
        const char* name;
        const char* box;
        bool up;
        const char* after;
    };
    const Row rows[] = {
        {"up from the box's number", "35", true, "36"},
        {"down from the box's number", "35", false, "34"},
        {"not above 100", "100", true, "100"},
        {"not below 1", "1", false, "1"},
        {"a typed number past the range steps back into it", "250", false, "99"},
    };
    const std::pair<const char*, QLineEdit*> spins[] = {{"UpDown1", m_window->txtKeta()},
                                                        {"UpDown2", m_window->txtGyou()}};
    for (const auto& [spinName, box] : spins) {
        auto* spin = m_window->findChild<platform::UpDown*>(QString::fromLatin1(spinName));
        QVERIFY(spin);
        for (const Row& r : rows) {
            box->setText(QString::fromLatin1(r.box));
            r.up ? spin->stepUp() : spin->stepDown();
            QVERIFY2(box->text() == QString::fromLatin1(r.after), r.name);
        }
    }
}

void FrmMainTest::menuItems()
{
    const QKeySequence none;
    const std::tuple<const char*, const char*, QKeySequence> items[] = {
        {"mnuFileNew", "新規作成(&N)", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuFileOpen", "開く(&O)...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuFileSave", "上書き保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuFileSaveAs", "名前を付けて保存(&A)...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"mnuKao", "Egaochoを開く(&K)...", none},
        {"mnuFileExit", "終了(&X)", none},
        {"mnuEditAll", "全て選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A)},
        {"mnuEditCut", "切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {"mnuEditCopy", "ｺﾋﾟｰ(&C)", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"mnuEditPaste", "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {"mnuLarge", "編集部分の最大化(&L)", none},
        {"mnuBasic", "編集部分の標準化(&S)", none},
        {"mnuFavaPlas", "お気に入り文字の登録(&A)...", none},
        {"mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", none},
    };
    for (const auto& [name, caption, shortcut] : items) {
        QAction* item = m_window->menuItem(QString::fromLatin1(name));
        QVERIFY2(item, name);
        QCOMPARE(item->text(), QString::fromUtf8(caption));
        QCOMPARE(item->shortcut(), shortcut);
    }
}

void FrmMainTest::toolbar()
{
    // Buttons by number with their key and tooltip; an empty key is a separator.
    const std::tuple<int, const char*, const char*> buttons[] = {
        {1, "新規作成", "新規作成"}, {3, "上書き保存", "上書き保存"}, {4, "", ""},
        {6, "ｺﾋﾟｰ", "ｺﾋﾟｰ"}, {8, "", ""}, {9, "元に戻す", "元に戻す"},
        {10, "やり直し", "やり直し"}, {11, "", ""}, {12, "拡大縮小", "編集部分の最大化"},
        {13, "クリック入力", "クリック入力"}, {14, "ＢＲゲット", "改行を<br>でコピー"},
        {15, "", ""}, {16, "お気に１", ""}, {25, "お気に１０", ""},
    };
    QCOMPARE(m_window->tbToolBar()->actions().size(), frmMain::kToolButtonCount);
    const std::u16string before = m_window->canvasText();
    for (const auto& [number, key, tip] : buttons) {
        const QString where = QString::number(number);
        QAction* button = m_window->toolButton(number);
        QCOMPARE(m_window->tbToolBar()->actions().at(number - 1), button);
        QVERIFY2(button->isSeparator() == !*key, qPrintable(where));
        QCOMPARE(button->data().toString(), QString::fromUtf8(key));
        if (*key) {
            QCOMPARE(button->toolTip(), QString::fromUtf8(tip));
        } else {
            m_window->tbToolBar_ButtonClick(button);  // a separator does nothing
            QCOMPARE(m_window->canvasText(), before);
        }
    }
}

void FrmMainTest::toolbarIconsAreDistinct()
{
    // 21 buttons with icons plus the second picture of the view button: 22 pictures.
    QSet<QByteArray> pictures;
    const auto add = [&pictures](const QIcon& icon) {
        const QImage image = icon.pixmap(24, 24).toImage();
        QVERIFY(!image.isNull());
        pictures.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                                   static_cast<int>(image.sizeInBytes())));
    };
    for (int n = 1; n <= frmMain::kToolButtonCount; ++n) {
        QAction* button = m_window->toolButton(n);
        if (!button->isSeparator()) {
            add(button->icon());
        }
    }
    m_window->KakuSyuku();
    add(m_window->toolButton(12)->icon());
    QCOMPARE(pictures.size(), 22);
}

void FrmMainTest::toolbarFitsTheDesignedWidth()
{
    // At the designed outer width, less a generous window frame, no entry may sit behind the
    // overflow button: favourites 9 and 10 are as much at hand as the others.
    frmMain& w = *m_window;
    for (int slot = 1; slot <= 10; ++slot) {
        QVERIFY(w.favourites().store(slot, u"ア"));
    }
    w.Form_Activate();  // lays out the favourite buttons
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    constexpr int kFrame = 2 * 8;
    w.resize(platform::px(10500) - kFrame, w.height());
    QTRY_COMPARE(w.width(), platform::px(10500) - kFrame);
    QToolBar* bar = w.tbToolBar();
    for (int n = 1; n <= frmMain::kToolButtonCount; ++n) {
        QWidget* button = bar->widgetForAction(w.toolButton(n));
        QVERIFY2(button && button->isVisible(), qPrintable(QString::number(n)));
        QVERIFY2(bar->rect().contains(button->geometry()), qPrintable(QString::number(n)));
    }
    auto* more = bar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button"));
    QVERIFY(!more || !more->isVisible());
    // The icons stay large enough to tell apart.
    QVERIFY(bar->iconSize().width() >= 16);
}

void FrmMainTest::categoryButtonsTakeClicksToTheirEdge()
{
    // The palette and settings frames overlap the bottom of the category row.
    for (int i = 0; i < frmMain::kCategoryCount; ++i) {
        auto* button = m_window->findChild<QWidget*>(QStringLiteral("optMoji_%1").arg(i));
        QVERIFY(button);
        const QRect r = button->geometry();
        for (const QPoint p : {r.center(), QPoint(r.center().x(), r.bottom())}) {
            QWidget* hit = button->parentWidget()->childAt(p);
            QVERIFY2(hit == button, qPrintable(QStringLiteral("%1 at y %2").arg(i).arg(p.y())));
        }
    }
}

void FrmMainTest::toolTipsShowTheirMarkup()
{
    // "改行を<br>でコピー" must show its "<br>" rather than break the line there.
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QWidget* button = m_window->tbToolBar()->widgetForAction(m_window->toolButton(14));
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(button, &help);
    QVERIFY(QToolTip::isVisible());
    QVERIFY2(QToolTip::text().contains(QStringLiteral("&lt;br&gt;")), qPrintable(QToolTip::text()));
    QToolTip::hideText();
}

void FrmMainTest::positionFollowsTheCaret()
{
    QPlainTextEdit* canvas = m_window->txtMain();
    QTextCursor cursor = canvas->textCursor();
    cursor.setPosition(canvas->document()->findBlockByNumber(1).position() + 3);
    canvas->setTextCursor(cursor);
    QCOMPARE(m_window->statusPanel(1)->text(), QStringLiteral("列[ 6/70 ]　行[ 2/20 ]"));
    // One line down is 35 + 2 characters of the canvas, the line break counting two.
    QCOMPARE(m_window->canvasCaret(), 37 + 3);
    cursor.movePosition(QTextCursor::EndOfBlock);
    canvas->setTextCursor(cursor);
    QCOMPARE(m_window->statusPanel(1)->text(), QStringLiteral("列[ 70/70 ]　行[ 2/20 ]"));
}

void FrmMainTest::undoRedoThroughTheToolbar()
{
    frmMain& w = *m_window;
    const auto enabled = [&w](bool undo, bool redo) {
        return w.toolButton(9)->isEnabled() == undo && w.toolButton(10)->isEnabled() == redo;
    };
    const std::u16string blank = w.canvasText();
    std::u16string first = blank;
    first[0] = u'Ａ';
    w.setCanvasText(first);
    w.setCanvasCaret(1);
    w.RirekiKakunou();
    QVERIFY(enabled(true, false));

    std::u16string second = first;
    second[39] = u'Ｂ';  // line 2, column 2
    w.setCanvasText(second);
    w.setCanvasCaret(40);
    w.RirekiKakunou();

    clickTool("元に戻す");
    QCOMPARE(w.canvasText(), first);
    QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("列[ 2/70 ]　行[ 1/20 ]"));
    QVERIFY(enabled(true, true));
    clickTool("元に戻す");
    QCOMPARE(w.canvasText(), blank);
    QCOMPARE(w.canvasCaret(), 0);
    QVERIFY2(enabled(false, true), "the oldest snapshot is shown");

    clickTool("やり直し");
    clickTool("やり直し");
    QCOMPARE(w.canvasText(), second);
    QCOMPARE(w.canvasCaret(), 40);
    QVERIFY2(enabled(true, false), "the newest snapshot is shown");
}

void FrmMainTest::viewToggle()
{
    frmMain& w = *m_window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QWidget* saikin = w.findChild<QWidget*>("fraSaikin");
    QWidget* etc = w.findChild<QWidget*>("fraEtc");
    const auto expectView = [&](bool maximised) {
        QCOMPARE(w.state().EditMaximised, maximised);
        QCOMPARE(w.txtMain()->y(), platform::px(maximised ? 75 : 3000));
        QCOMPARE(w.toolButton(12)->toolTip(),
                 maximised ? QStringLiteral("編集部分の標準化") : QStringLiteral("編集部分の最大化"));
        QCOMPARE(w.menuItem(QStringLiteral("mnuLarge"))->isEnabled(), !maximised);
        QCOMPARE(w.menuItem(QStringLiteral("mnuBasic"))->isEnabled(), maximised);
        const QWidget* palettes[] = {w.fraButton(0), saikin, etc, w.optMoji(0), w.optMoji(7)};
        for (const QWidget* palette : palettes) {
            QCOMPARE(palette->isVisible(), !maximised);
        }
        // Whatever the toolbar's and status bar's own heights, the canvas ends above the status bar.
        const QWidget* canvas = w.txtMain();
        const int bottom = canvas->mapTo(w.centralWidget(), QPoint(0, canvas->height())).y();
        QVERIFY(bottom <= w.centralWidget()->height() && bottom >= w.centralWidget()->height() - 3);
    };
    expectView(false);
    const int standardBottom = w.layoutGeometry().txtMainTop + w.layoutGeometry().txtMainHeight;
    clickTool("拡大縮小");
    expectView(true);
    QCOMPARE(w.layoutGeometry().txtMainTop + w.layoutGeometry().txtMainHeight, standardBottom);
    w.menuItem(QStringLiteral("mnuBasic"))->trigger();
    expectView(false);

    // On the settings page the settings frame is the one hidden and brought back.
    w.optMoji(7)->click();
    QVERIFY(w.fraButton(1)->isVisible());
    w.KakuSyuku();
    QVERIFY(!w.fraButton(1)->isVisible());
    w.KakuSyuku();
    QVERIFY(w.fraButton(1)->isVisible());
    QVERIFY(!w.fraButton(0)->isVisible());
}

void FrmMainTest::narrowWindowScrolls()
{
    frmMain& w = *m_window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The rules read the outer (frame) size.
    const QSize frame = w.frameGeometry().size() - w.size();
    const auto resizeOuter = [&w, frame](int width, int height) {
        w.resize(platform::pxSize(width, height) - frame);
        QCOMPARE(platform::twips(w.frameGeometry().width()), width);
    };
    resizeOuter(9000, 9330);
    QVERIFY(w.hsbMain()->isVisible());
    QCOMPARE(w.hsbMain()->maximum(), 1600);
    w.hsbMain()->setValue(1600);
    QCOMPARE(w.picMain()->x(), -platform::px(1600));

    resizeOuter(10500, 9330);
    QVERIFY(!w.hsbMain()->isVisible());
    QCOMPARE(w.picMain()->x(), 0);
    QCOMPARE(w.txtMain()->width(), platform::px(10500 - 280));
}

void FrmMainTest::activationMenuRequestsAndExit()
{
    QVERIFY(!m_window->state().WindowActivated);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(m_window.get(), &activate);
    QVERIFY(m_window->state().WindowActivated);

    QSignalSpy about(m_window.get(), &frmMain::aboutRequested);
    QSignalSpy dictionary(m_window.get(), &frmMain::dictionaryRequested);
    m_window->menuItem(QStringLiteral("mnuHelpAbout"))->trigger();
    m_window->menuItem(QStringLiteral("mnuKao"))->trigger();
    QCOMPARE(about.size(), 1);
    QCOMPARE(dictionary.size(), 1);

    m_window->show();
    m_window->menuItem(QStringLiteral("mnuFileExit"))->trigger();
    QVERIFY(!m_window->isVisible());
}

void FrmMainTest::closeQuestion_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    QTest::newRow("unchanged canvas closes without a question")
        << false << int(Dialogs::Answer::Cancel) << false << true;
    QTest::newRow("Cancel keeps the window") << true << int(Dialogs::Answer::Cancel) << true << false;
    QTest::newRow("No closes without saving") << true << int(Dialogs::Answer::No) << true << true;
}

void FrmMainTest::closeQuestion()
{
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    testing::ScriptedDialogs dialogs;
    dialogs.answer(static_cast<Dialogs::Answer>(answer));
    m_window->setModified(modified);
    m_window->show();
    m_window->close();
    QCOMPARE(m_window->isVisible(), !closed);
    QCOMPARE(dialogs.messages().size(), size_t(asked ? 1 : 0));
    if (asked) {
        QCOMPARE(dialogs.messages()[0].text, QStringLiteral("内容が変更されています。　保存しますか？"));
        QCOMPARE(dialogs.messages()[0].buttons, Dialogs::Buttons::YesNoCancel);
        QCOMPARE(dialogs.messages()[0].icon, Dialogs::Icon::Question);
    }
}

void FrmMainTest::loadFailureIsReported()
{
    struct Row
    {
        const char* name;
        int failingStep;
        std::function<void()> fail;
        QString message;
    };
    const Row rows[] = {
        {"a numbered failure", 10, [] { throw platform::NumberedError(9, "index"); },
         QStringLiteral("エラーNo.9　未知のエラーが発生しました")},
        {"running out of memory", 15, [] { throw std::bad_alloc(); },
         QStringLiteral("エラーNo.7　未知のエラーが発生しました")},
    };
    for (const Row& r : rows) {
        testing::ScriptedDialogs dialogs;
        frmMain::setLoadStepHookForTesting([&r](int step) {
            if (step == r.failingStep) {
                r.fail();
            }
        });
        frmMain w;
        frmMain::setLoadStepHookForTesting({});
        QVERIFY2(dialogs.messages().size() == 1, r.name);
        QCOMPARE(dialogs.messages()[0].text, r.message);
        QCOMPARE(dialogs.messages()[0].buttons, Dialogs::Buttons::Ok);
        // Creation stopped there: the caption was set, the canvas never built.
        QCOMPARE(testing::shownTitle(w), QStringLiteral("住所不定 - Masumemo"));
        QVERIFY2(w.canvasText().empty(), r.name);
    }
}

void FrmMainTest::pushStepsGoRoundAndTheDotStepNeedsTheProportionalFont()
{
    frmMain& w = *m_window;
    using editor::PushStep;
    auto* dotOption = w.findChild<QAbstractButton*>(QStringLiteral("optPush_2"));
    QVERIFY(dotOption);
    QCOMPARE(dotOption->text(), QStringLiteral("ﾄﾞｯﾄﾓｰﾄﾞ（1ﾄﾞｯﾄ移動します）"));
    // In the fixed font F7 goes between the half and full steps only.
    QFont font = w.txtMain()->font();
    font.setFamily(platform::kGothic);
    w.txtMain()->setFont(font);
    QVERIFY(!dotOption->isEnabled());
    w.togglePushStep();
    QCOMPARE(w.canvas().pushStep(), PushStep::Full);
    w.togglePushStep();
    QCOMPARE(w.canvas().pushStep(), PushStep::Half);
    // In the proportional font it goes round three, and panel 2 says which.
    font.setFamily(platform::kPGothic);
    w.txtMain()->setFont(font);
    QVERIFY(dotOption->isEnabled());
    w.togglePushStep();
    w.togglePushStep();
    QCOMPARE(w.canvas().pushStep(), PushStep::Dot);
    QVERIFY(dotOption->isChecked());
    QCOMPARE(w.statusPanel(2)->text(), QStringLiteral("ﾄﾞｯﾄ移動"));
    // Back to the fixed font, the dot step goes back to the half step.
    font.setFamily(platform::kGothic);
    w.txtMain()->setFont(font);
    QCOMPARE(w.canvas().pushStep(), PushStep::Half);
    QCOMPARE(w.statusPanel(2)->text(), QStringLiteral("半角移動"));

    // The Unicode setting is one with the posting check's: a change from either side shows.
    auto* unicode = w.findChild<QCheckBox*>(QStringLiteral("chkUnicode"));
    QVERIFY(unicode);
    const bool before = check::passesUnicode();
    check::setPassesUnicode(!before);
    QCOMPARE(unicode->isChecked(), !before);
    QCOMPARE(w.canvas().unicodeSpaces(), !before);
    unicode->setChecked(before);
    QCOMPARE(check::passesUnicode(), before);
}

QTEST_MAIN(FrmMainTest)
#include "test_frmmain.moc"

void FrmMainTest::titleAndDotsFollowTheDocument()
{
    // Writers that reach the document past the file commands and the canvas controller (a
    // tool through its host, and whatever comes later): the window still shows what it holds.
    frmMain& w = *m_window;
    document::Document& doc = w.document();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    QString error;
    QVERIFY(doc.save(path, &error));
    QCOMPARE(testing::shownTitle(w), path + QStringLiteral(" - Masumemo"));
    doc.setModified(true);
    QCOMPARE(testing::shownTitle(w), path + QStringLiteral("* - Masumemo"));
    doc.forgetFile();
    QCOMPARE(testing::shownTitle(w), QStringLiteral("住所不定* - Masumemo"));
    doc.setModified(false);
    QCOMPARE(testing::shownTitle(w), QStringLiteral("住所不定 - Masumemo"));

    QFont font = w.txtMain()->font();
    font.setFamily(platform::kPGothic);
    w.txtMain()->setFont(font);
    w.setCanvasCaret(1);
    const QString before = w.statusPanel(4)->text();
    doc.prepareChange();
    doc.page().text.replace(0, 1, u"ab");  // the same two units, narrower in dots
    doc.textChanged(0, 1, 1);
    const std::u16string& text = doc.page().text;
    const QString after =
        editor::dotText(board::DotRuler(), std::u16string_view(text).substr(0, text.find(u'\r')), 1);
    QVERIFY(after != before);
    QCOMPARE(w.statusPanel(4)->text(), after);

    // A writer that shrinks the canvas under the caret leaves the panel on a line that exists.
    w.setCanvasCaret(static_cast<int>(text.size()));
    doc.prepareChange();
    doc.page().text = u"ab";
    doc.textChanged(0, -1, 1);
    QCOMPARE(w.statusPanel(4)->text(), editor::dotText(board::DotRuler(), u"ab", 2));
}
