// The editor window as the user first meets it: its controls, menus, toolbar, status panels,
// undo and redo, the view toggle and the sideways scrolling.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>
#include <QToolTip>
#include <QHelpEvent>
#include <memory>

#include "ScriptedDialogs.h"
#include "editor/frmMain.h"
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
    void controlCaptions_data();
    void controlCaptions();
    void everyControlIsNamed();
    void spinControlsStepTheirBoxes();
    void menuItems_data();
    void menuItems();
    void toolbar_data();
    void toolbar();
    void toolbarIconsAreDistinct();
    void toolTipsShowTheirMarkup();
    void positionFollowsTheCaret();
    void undoRedoThroughTheToolbar();
    void undoReturnsToTheSizeOfTheSnapshot();
    void viewToggle();
    void narrowWindowScrolls();
    void activationMarksTheWindow();
    void menuRequestsAndExit();
    void closeQuestion_data();
    void closeQuestion();
    void loadFailureIsReported();

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
    QCOMPARE(w.windowTitle(), QStringLiteral("住所不定 - Masumemo"));
    QCOMPARE(w.size(), platform::pxSize(10500, 9330));
    QCOMPARE(w.canvasText(), grid::blankCanvas(35, 20));
    QCOMPARE(w.txtMain()->document()->blockCount(), 20);
    QCOMPARE(w.txtKeta()->text(), QStringLiteral("35"));
    QCOMPARE(w.txtGyou()->text(), QStringLiteral("20"));
    QVERIFY(!w.toolButton(9)->isEnabled());
    QVERIFY(!w.toolButton(10)->isEnabled());
    QVERIFY(!w.menuItem(QStringLiteral("mnuBasic"))->isEnabled());
    QVERIFY(w.menuItem(QStringLiteral("mnuLarge"))->isEnabled());
    QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("列[ 0/70 ]　行[ 1/20 ]"));
    QCOMPARE(w.statusPanel(2)->text(), QStringLiteral("半角移動"));
    QVERIFY(w.statusPanel(3)->isHidden());
    for (int n = frmMain::kFirstFavouriteButton; n <= frmMain::kToolButtonCount; ++n) {
        QVERIFY2(!w.toolButton(n)->isVisible(), qPrintable(QString::number(n)));
    }
    QVERIFY(w.optMoji(0)->isChecked());
    QVERIFY(!w.fraButton(0)->isHidden());
    QVERIFY(w.fraButton(1)->isHidden());
    QVERIFY(w.hsbMain()->isHidden());
    QCOMPARE(w.cboSize()->count(), 10);
    QCOMPARE(w.cboSize()->itemText(4), QStringLiteral("12"));
    QCOMPARE(w.cboSize()->itemText(5), QStringLiteral("14"));
    QCOMPARE(w.cboFont()->count(), 2);
    QCOMPARE(w.history().entries().size(), size_t{1});
    QCOMPARE(w.history().current().Text, grid::blankCanvas(35, 20));
    // The canvas font: 12 pt, mapped to a Gothic whose full-width characters are exactly twice
    // as wide as half-width ones, so the grid lines up.
    const QFont font = w.txtMain()->font();
    QCOMPARE(font.family(), QStringLiteral("ＭＳ ゴシック"));
    QCOMPARE(font.pointSize(), 12);
    const QFontMetrics metrics(font);
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("　")),
             2 * metrics.horizontalAdvance(QStringLiteral(" ")));
    QCOMPARE(w.txtMain()->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(w.txtMain()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(w.txtMain()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void FrmMainTest::controlCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const auto row = [](const char* name, const char* caption) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption);
    };
    row("optMoji_0", "半角記号・英数");
    row("optMoji_1", "全角記号１");
    row("optMoji_2", "全角記号２");
    row("optMoji_3", "ギリシャ・罫線");
    row("optMoji_4", "ロシア文字");
    row("optMoji_5", "全角英数");
    row("optMoji_6", "カナ・漢字");
    row("optMoji_7", "設定");
    row("fraButton_0", "");
    row("fraButton_1", "");
    row("fraSize", "フォント・文字数・行数");
    row("fraPush", "押し・引きでの、文字移動");
    row("fraSaikin", "最近使ったキー");
    row("fraEtc", "");
    row("cmdCars_0", "←");
    row("cmdCars_1", "↑");
    row("cmdCars_2", "↓");
    row("cmdCars_3", "→");
    row("cmdDel", "Del");
    row("cmdBack", "BS");
    row("cmdEnt", "Ent");
    row("cmdTekiyou", "適用(&A)");
    row("optPush_0", "半角モード（半角１文字移動します）");
    row("optPush_1", "全角モード（全角１文字移動します）");
    row("lblFont", "フォント種類：");
    row("lblSize", "フォントサイズ：");
    row("lblKeta", "１行の文字数（全角）：");
    row("lblGyou", "行数：");
    row("cmdMoji_0", " ");  // category 0 is shown at start
    row("cmdMoji_103", "z");
    row("cmdUse_0", "");
    row("cmdUse_17", "");
    row("STBar_3", "クリック入力");
}

void FrmMainTest::controlCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QCOMPARE(this->caption(name), caption);
}

void FrmMainTest::everyControlIsNamed()
{
    QStringList names = {"tbToolBar", "Line4",   "Line3",   "picMain", "txtMain",  "hsbMain",
                         "STBar",     "STBar_1", "STBar_2", "cboFont", "cboSize",  "txtKeta",
                         "txtGyou",   "UpDown1", "UpDown2", "fraEtc",  "fraSaikin", "mnuFile",
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
}

void FrmMainTest::spinControlsStepTheirBoxes()
{
    struct Row
    {
        const char* name;
        QString box;
        bool up;
        QString after;
    };
    const Row rows[] = {
        {"up from the box's number", QStringLiteral("35"), true, QStringLiteral("36")},
        {"down from the box's number", QStringLiteral("35"), false, QStringLiteral("34")},
        {"not above 100", QStringLiteral("100"), true, QStringLiteral("100")},
        {"not below 1", QStringLiteral("1"), false, QStringLiteral("1")},
        {"a typed number past the range steps back into it", QStringLiteral("250"), false,
         QStringLiteral("99")},
    };
    const QString spins[] = {QStringLiteral("UpDown1"), QStringLiteral("UpDown2")};
    QLineEdit* boxes[] = {m_window->txtKeta(), m_window->txtGyou()};
    for (int i = 0; i < 2; ++i) {
        auto* spin = m_window->findChild<platform::UpDown*>(spins[i]);
        QVERIFY(spin);
        for (const Row& r : rows) {
            boxes[i]->setText(r.box);
            r.up ? spin->stepUp() : spin->stepDown();
            QVERIFY2(boxes[i]->text() == r.after, r.name);
        }
    }
}

void FrmMainTest::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    const auto row = [](const char* name, const char* caption, QKeySequence shortcut = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << shortcut;
    };
    row("mnuFileNew", "新規作成(&N)", QKeySequence(Qt::CTRL | Qt::Key_N));
    row("mnuFileOpen", "開く(&O)...");
    row("mnuFileSave", "上書き保存(&S)");
    row("mnuFileSaveAs", "名前を付けて保存(&A)...");
    row("mnuKao", "Egaochoを開く(&K)...");
    row("mnuFileExit", "終了(&X)");
    row("mnuEditAll", "全て選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A));
    row("mnuEditCut", "切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_X));
    row("mnuEditCopy", "ｺﾋﾟｰ(&C)", QKeySequence(Qt::CTRL | Qt::Key_C));
    row("mnuEditPaste", "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V));
    row("mnuLarge", "編集部分の最大化(&L)");
    row("mnuBasic", "編集部分の標準化(&S)");
    row("mnuFavaPlas", "お気に入り文字の登録(&A)...");
    row("mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)");
}

void FrmMainTest::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QAction* item = m_window->menuItem(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), shortcut);
}

void FrmMainTest::toolbar_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("toolTip");
    const auto row = [](int number, const char* key, const char* tip) {
        QTest::newRow(qPrintable(QString::number(number)))
            << number << QString::fromUtf8(key) << QString::fromUtf8(tip);
    };
    row(1, "新規作成", "新規作成");
    row(3, "上書き保存", "上書き保存");
    row(4, "", "");
    row(6, "ｺﾋﾟｰ", "ｺﾋﾟｰ");
    row(8, "", "");
    row(9, "元に戻す", "元に戻す");
    row(10, "やり直し", "やり直し");
    row(11, "", "");
    row(12, "拡大縮小", "編集部分の最大化");
    row(13, "クリック入力", "クリック入力");
    row(14, "ＢＲゲット", "改行を<br>でコピー");
    row(15, "", "");
    row(16, "お気に１", "");
    row(25, "お気に１０", "");
}

void FrmMainTest::toolbar()
{
    QFETCH(int, number);
    QFETCH(QString, key);
    QFETCH(QString, toolTip);
    QCOMPARE(m_window->tbToolBar()->actions().size(), frmMain::kToolButtonCount);
    QAction* button = m_window->toolButton(number);
    QCOMPARE(m_window->tbToolBar()->actions().at(number - 1), button);
    QCOMPARE(button->isSeparator(), key.isEmpty());
    QCOMPARE(button->data().toString(), key);
    if (!key.isEmpty()) {
        QCOMPARE(button->toolTip(), toolTip);
    }
    // Clicking a separator or any key does not throw or change the canvas unless it is ours.
    const std::u16string before = m_window->canvasText();
    if (key.isEmpty()) {
        m_window->tbToolBar_ButtonClick(button);
        QCOMPARE(m_window->canvasText(), before);
    }
}

void FrmMainTest::toolbarIconsAreDistinct()
{
    // 21 buttons with icons plus the second picture of the view button: 22 pictures.
    QSet<QByteArray> pictures;
    const auto add = [&pictures](const QIcon& icon) {
        QVERIFY(!icon.isNull());
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
    // Two lines down is 2 x (35 + 2) characters of the canvas, line breaks counting two.
    QCOMPARE(m_window->canvasCaret(), 37 + 3);
    cursor.movePosition(QTextCursor::EndOfBlock);
    canvas->setTextCursor(cursor);
    QCOMPARE(m_window->statusPanel(1)->text(), QStringLiteral("列[ 70/70 ]　行[ 2/20 ]"));

    m_window->optPush_Click(1);
    QCOMPARE(m_window->statusPanel(2)->text(), QStringLiteral("全角移動"));
    QVERIFY(!m_window->canvas().halfPush());
}

void FrmMainTest::undoRedoThroughTheToolbar()
{
    frmMain& w = *m_window;
    const std::u16string blank = w.canvasText();
    std::u16string first = blank;
    first[0] = u'Ａ';
    w.setCanvasText(first);
    w.setCanvasCaret(1);
    w.RirekiKakunou();
    QVERIFY(w.toolButton(9)->isEnabled());
    QVERIFY(!w.toolButton(10)->isEnabled());

    std::u16string second = first;
    second[39] = u'Ｂ';  // line 2, column 2
    w.setCanvasText(second);
    w.setCanvasCaret(40);
    w.RirekiKakunou();

    clickTool("元に戻す");
    QCOMPARE(w.canvasText(), first);
    QCOMPARE(w.canvasCaret(), 1);
    QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("列[ 2/70 ]　行[ 1/20 ]"));
    QVERIFY(w.toolButton(9)->isEnabled());
    QVERIFY(w.toolButton(10)->isEnabled());

    clickTool("元に戻す");
    QCOMPARE(w.canvasText(), blank);
    QCOMPARE(w.canvasCaret(), 0);
    QVERIFY2(!w.toolButton(9)->isEnabled(), "the oldest snapshot is shown");
    QVERIFY(w.toolButton(10)->isEnabled());

    clickTool("やり直し");
    clickTool("やり直し");
    QCOMPARE(w.canvasText(), second);
    QCOMPARE(w.canvasCaret(), 40);
    QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("列[ 6/70 ]　行[ 2/20 ]"));
    QVERIFY(w.toolButton(9)->isEnabled());
    QVERIFY2(!w.toolButton(10)->isEnabled(), "the newest snapshot is shown");

    // An edit after undoing drops the redo state.
    clickTool("元に戻す");
    w.RirekiKakunou();
    QVERIFY(w.toolButton(9)->isEnabled());
    QVERIFY(!w.toolButton(10)->isEnabled());
    QCOMPARE(w.history().entries().size(), size_t{3});
}

void FrmMainTest::undoReturnsToTheSizeOfTheSnapshot()
{
    // Undo shows the snapshot's size in the settings boxes, whatever they were left holding.
    frmMain& w = *m_window;
    w.txtKeta()->setText(QStringLiteral("50"));
    w.txtGyou()->setText(QStringLiteral("60"));
    w.RirekiKakunou();
    clickTool("元に戻す");
    QCOMPARE(w.canvas().keta(), 35);
    QCOMPARE(w.canvas().gyou(), 20);
    QCOMPARE(w.txtKeta()->text(), QStringLiteral("35"));
    QCOMPARE(w.txtGyou()->text(), QStringLiteral("20"));
    QCOMPARE(w.canvasText(), grid::blankCanvas(35, 20));
}

void FrmMainTest::viewToggle()
{
    frmMain& w = *m_window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const auto palettesShown = [&w] {
        bool all = w.fraButton(0)->isVisible() && w.findChild<QWidget*>("fraSaikin")->isVisible() &&
                   w.findChild<QWidget*>("fraEtc")->isVisible();
        for (int i = 0; i < frmMain::kCategoryCount; ++i) {
            all = all && w.optMoji(i)->isVisible();
        }
        return all;
    };
    QVERIFY(palettesShown());
    // Whatever the toolbar's and status bar's own heights, the canvas ends above the status bar.
    const auto canvasAboveStatusBar = [&w] {
        const QWidget* canvas = w.txtMain();
        const int bottom = canvas->mapTo(w.centralWidget(), QPoint(0, canvas->height())).y();
        return bottom <= w.centralWidget()->height() && bottom >= w.centralWidget()->height() - 3;
    };
    QVERIFY(canvasAboveStatusBar());
    const int standardBottom = w.layoutGeometry().txtMainTop + w.layoutGeometry().txtMainHeight;

    clickTool("拡大縮小");
    QVERIFY(w.state().EditMaximised);
    QCOMPARE(w.txtMain()->y(), platform::px(75));
    QCOMPARE(w.toolButton(12)->toolTip(), QStringLiteral("編集部分の標準化"));
    QVERIFY(!w.menuItem(QStringLiteral("mnuLarge"))->isEnabled());
    QVERIFY(w.menuItem(QStringLiteral("mnuBasic"))->isEnabled());
    QVERIFY(!w.fraButton(0)->isVisible());
    QVERIFY(!w.findChild<QWidget*>("fraSaikin")->isVisible());
    QVERIFY(!w.optMoji(7)->isVisible());
    QCOMPARE(w.layoutGeometry().txtMainTop + w.layoutGeometry().txtMainHeight, standardBottom);
    QVERIFY(canvasAboveStatusBar());

    w.menuItem(QStringLiteral("mnuBasic"))->trigger();
    QVERIFY(!w.state().EditMaximised);
    QCOMPARE(w.txtMain()->y(), platform::px(3000));
    QCOMPARE(w.toolButton(12)->toolTip(), QStringLiteral("編集部分の最大化"));
    QVERIFY(w.menuItem(QStringLiteral("mnuLarge"))->isEnabled());
    QVERIFY(!w.menuItem(QStringLiteral("mnuBasic"))->isEnabled());
    QVERIFY(palettesShown());

    // On the settings page the settings frame is the one hidden and brought back.
    w.optMoji(7)->click();
    QVERIFY(w.fraButton(1)->isVisible());
    QVERIFY(!w.cmdTekiyou()->isEnabled());
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

void FrmMainTest::activationMarksTheWindow()
{
    QVERIFY(!m_window->state().WindowActivated);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(m_window.get(), &activate);
    QVERIFY(m_window->state().WindowActivated);
}

void FrmMainTest::menuRequestsAndExit()
{
    QSignalSpy about(m_window.get(), &frmMain::aboutRequested);
    QSignalSpy dictionary(m_window.get(), &frmMain::dictionaryRequested);
    m_window->menuItem(QStringLiteral("mnuHelpAbout"))->trigger();
    m_window->menuItem(QStringLiteral("mnuKao"))->trigger();
    QCOMPARE(about.size(), 1);
    QCOMPARE(dictionary.size(), 1);

    m_window->show();
    QVERIFY(m_window->isVisible());
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
    // Until a save has happened the picture must not be thrown away.
    QTest::newRow("Yes with the save not done keeps the window")
        << true << int(Dialogs::Answer::Yes) << true << false;
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
        QCOMPARE(w.windowTitle(), QStringLiteral("住所不定 - Masumemo"));
        QVERIFY2(w.canvasText().empty(), r.name);
    }
}

QTEST_MAIN(FrmMainTest)
#include "test_frmmain.moc"
