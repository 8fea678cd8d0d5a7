// The editor's everyday comforts on the real window: the unsaved-changes mark, recent files,
// the push step at hand, click input without message boxes, the canvas edge, the number boxes,
// the recently used row's two widths, and Egaocho kept above other windows.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <memory>

#include "ScriptedDialogs.h"
#include "ShownTitle.h"
#include "dictionary/frmKao.h"
#include "editor/FileCommands.h"
#include "editor/PaletteInput.h"
#include "editor/RecentFiles.h"
#include "editor/frmMain.h"
#include "platform/AppPaths.h"
#include "platform/ForegroundFake.h"
#include "platform/Fonts.h"
#include "platform/ProgramSettings.h"

using namespace masumemo;
using editor::frmMain;
using platform::AppPaths;

class ComfortsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutions(); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        AppPaths::setProgramDirectoryForTesting(m_dir->path());
        m_dialogs = std::make_unique<testing::ScriptedDialogs>();
        m_window = std::make_unique<frmMain>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        m_dialogs.reset();
        AppPaths::setProgramDirectoryForTesting(QString());
        m_dir.reset();
    }

    void modifiedMarkFollowsSaveOpenAndNew();
    void recentFilesListNewestFirstBoundedAndKept();
    void recentFilesOfTwoWindowsBothKept();
    void pushStepTogglesFromKeyAndPanel();
    void numberBoxReplacesTheOneOfAnEmptyBox();
    void recentRowTellsNarrowFromWide();
    void canvasEdgeIsDrawnAfterTheLastCell();
    void clickInputPastTheEdgeShowsTheCaretThere();
    void egaochoStaysOnTopWhenAskedAndRemembers();

private:
    QString file(const QString& name, const QByteArray& bytes) const;
    void type(const QString& s) { QTest::keyClicks(m_window->txtMain(), s); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testing::ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

QString ComfortsTest::file(const QString& name, const QByteArray& bytes) const
{
    const QString path = m_dir->filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(bytes);
    }
    return path;
}

void ComfortsTest::modifiedMarkFollowsSaveOpenAndNew()
{
    frmMain& w = *m_window;
    // The mark's place is in the title; Qt shows "*" there while the window is modified.
    QCOMPARE(testing::shownTitle(w), QStringLiteral("住所不定 - Masumemo"));
    type(QStringLiteral("ab"));
    QCOMPARE(testing::shownTitle(w), QStringLiteral("住所不定* - Masumemo"));

    const QString saved = m_dir->filePath(QStringLiteral("a[*]b.txt"));
    m_dialogs->choose(saved);
    w.mnuFileSaveAs_Click();
    // A literal "[*]" in a name stays as it is; only the mark goes.
    QCOMPARE(testing::shownTitle(w), saved + QStringLiteral(" - Masumemo"));

    type(QStringLiteral("c"));
    QCOMPARE(testing::shownTitle(w), saved + QStringLiteral("* - Masumemo"));
    m_dialogs->answer(platform::Dialogs::Answer::No);
    w.mnuFileNew_Click();
    QCOMPARE(testing::shownTitle(w).count(QLatin1Char('*')), 0);

    type(QStringLiteral("d"));
    m_dialogs->answer(platform::Dialogs::Answer::No);
    QVERIFY(w.files().KaoKara(file(QStringLiteral("x.txt"), "xy\r\n")));
    QCOMPARE(testing::shownTitle(w).count(QLatin1Char('*')), 0);
}

void ComfortsTest::recentFilesListNewestFirstBoundedAndKept()
{
    // The rule: the newest first, no path twice, at most eight.
    QStringList list;
    for (int i = 0; i < 10; ++i) {
        list = editor::withRecentFile(list, QString::number(i));
    }
    QCOMPARE(list, QStringList({"9", "8", "7", "6", "5", "4", "3", "2"}));
    QCOMPARE(editor::withRecentFile(list, QStringLiteral("5")).mid(0, 3),
             QStringList({"5", "9", "8"}));
    QCOMPARE(editor::withRecentFile(list, QStringLiteral("5")).size(), 8);

    const QString a = file(QStringLiteral("a.txt"), "a\r\n");
    const QString b = file(QStringLiteral("b.txt"), "b\r\n");
    QVERIFY(m_window->files().FileOpen(a));
    m_dialogs->choose(b);
    QVERIFY(m_window->files().SaveAs());

    const auto menuOf = [](frmMain& w) {
        auto* menu = w.findChild<QMenu*>(QStringLiteral("mnuFileRecent"));
        emit menu->aboutToShow();
        return menu;
    };
    const auto entry = [](QMenu* menu, int i) {
        return menu->findChild<QAction*>(QStringLiteral("mnuFileRecent_%1").arg(i));
    };
    QMenu* menu = menuOf(*m_window);
    QVERIFY(entry(menu, 0)->text().endsWith(b));
    QVERIFY(entry(menu, 1)->text().endsWith(a));
    QVERIFY(!entry(menu, 2));
    // Saving the newest file again leaves the list and the settings file alone.
    const QString settings = platform::AppPaths::settingsFile(platform::kProgramSettingsName);
    QVERIFY(QFile::remove(settings));
    QVERIFY(m_window->files().FileSave());
    QVERIFY(!QFile::exists(settings));
    QVERIFY(m_window->files().FileOpen(a));
    QVERIFY(m_window->files().FileOpen(b));
    QVERIFY(QFile::exists(settings));

    // Kept across windows; a file that has gone is greyed and can be cleared from the list.
    QFile::remove(a);
    m_window = std::make_unique<frmMain>();
    menu = menuOf(*m_window);
    QVERIFY(entry(menu, 0)->isEnabled());
    QVERIFY(!entry(menu, 1)->isEnabled());
    auto* prune = menu->findChild<QAction*>(QStringLiteral("mnuFileRecentPrune"));
    QVERIFY(prune->isEnabled());
    prune->trigger();
    menu = menuOf(*m_window);
    QVERIFY(entry(menu, 0)->text().endsWith(b));
    QVERIFY(!entry(menu, 1));

    // Choosing an entry opens it.
    entry(menu, 0)->trigger();
    QCOMPARE(m_window->document().path(), b);
}

void ComfortsTest::recentFilesOfTwoWindowsBothKept()
{
    // Two editors (as in two copies of the program) each open a file; each list was read
    // before the other's file was added.
    const QString a = file(QStringLiteral("a.txt"), "a\r\n");
    const QString b = file(QStringLiteral("b.txt"), "b\r\n");
    frmMain other;
    QVERIFY(m_window->files().FileOpen(a));
    QVERIFY(other.files().FileOpen(b));
    const QStringList stored =
        platform::openProgramSettings()->value(QStringLiteral("RecentFiles/Files")).toStringList();
    QCOMPARE(stored, (QStringList{b, a}));
}

void ComfortsTest::pushStepTogglesFromKeyAndPanel()
{
    frmMain& w = *m_window;
    QLabel* panel = w.statusPanel(2);
    auto* full = w.findChild<QRadioButton*>(QStringLiteral("optPush_1"));
    QCOMPARE(panel->text(), QStringLiteral("半角移動"));
    QTest::keyClick(w.txtMain(), Qt::Key_F7);
    QCOMPARE(panel->text(), QStringLiteral("全角移動"));
    QVERIFY(full->isChecked());
    QVERIFY(!w.canvas().halfPush());
    QTest::mouseClick(panel, Qt::LeftButton);
    QCOMPARE(panel->text(), QStringLiteral("半角移動"));
    QVERIFY(!full->isChecked());
    QVERIFY(w.canvas().halfPush());
    QVERIFY(m_dialogs->messages().empty());
}

void ComfortsTest::numberBoxReplacesTheOneOfAnEmptyBox()
{
    m_window->optMoji_Click(frmMain::kSettingsCategory);
    for (QLineEdit* box : {m_window->txtKeta(), m_window->txtGyou()}) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("1"));  // never empty
        QTest::keyClicks(box, QStringLiteral("32"));
        QCOMPARE(box->text(), QStringLiteral("32"));
    }
}

void ComfortsTest::recentRowTellsNarrowFromWide()
{
    frmMain& w = *m_window;
    w.paletteInput().UseKey(u"Ａ");
    w.paletteInput().UseKey(u"A");
    const QColor narrow = w.cmdUse(0)->palette().color(QPalette::ButtonText);
    const QColor wide = w.cmdUse(1)->palette().color(QPalette::ButtonText);
    QCOMPARE(w.cmdUse(0)->text(), QStringLiteral("A"));
    QCOMPARE(w.cmdUse(1)->text(), QStringLiteral("Ａ"));
    QVERIFY(narrow.lightness() > wide.lightness());
}

void ComfortsTest::canvasEdgeIsDrawnAfterTheLastCell()
{
    editor::CanvasWidget* t = m_window->txtMain();
    const QImage shot = t->viewport()->grab().toImage();
    // The end of the first line, where the grid ends.
    QTextCursor c(t->document()->firstBlock());
    c.movePosition(QTextCursor::EndOfBlock);
    const QRect end = t->cursorRect(c);
    const auto coloured = [&](int x, int y) {
        const QColor p = shot.pixelColor(x, y);
        return p.blue() > p.red() + 20;  // the edge's light blue, not text, not the white page
    };
    bool edge = false;
    for (int x = end.left() - 1; x <= end.left() + 2; ++x) {
        edge = edge || coloured(x, end.center().y());
    }
    QVERIFY2(edge, "no edge line after the last cell");
    QVERIFY(!coloured(end.left() - 12, end.center().y()));
    // The text is untouched by it.
    QVERIFY(!t->toPlainText().contains(QLatin1Char('|')));
}

void ComfortsTest::clickInputPastTheEdgeShowsTheCaretThere()
{
    frmMain& w = *m_window;
    w.optMoji_Click(6);
    w.toolButton(13)->trigger();
    QTest::mousePress(w.cmdMoji(0), Qt::LeftButton);
    QTest::mouseRelease(w.cmdMoji(0), Qt::LeftButton);
    QCOMPARE(w.paletteInput().HeldChar(), std::u16string(u"ア"));
    const std::u16string before = w.canvasText();

    // Well past the end of line 3: nothing is stamped, nothing is said, the caret waits at the
    // line's end, where the stamp would have gone.
    editor::CanvasWidget* t = w.txtMain();
    QTextCursor c(t->document()->findBlockByNumber(2));
    c.movePosition(QTextCursor::EndOfBlock);
    const QPoint past = t->cursorRect(c).center() + QPoint(40, 0);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, past);
    QCOMPARE(w.canvasText(), before);
    QVERIFY(m_dialogs->messages().empty());
    QCOMPARE(w.canvasCaret(), 2 * (35 + 2) + 35);
}

void ComfortsTest::egaochoStaysOnTopWhenAskedAndRemembers()
{
    const auto open = [] {
        return std::make_unique<dictionary::frmKao>(
            nullptr, std::make_unique<platform::FakeForeground>());
    };
    auto kao = open();
    auto* top = kao->findChild<QAction*>(QStringLiteral("mnuTop"));
    QVERIFY(top->isCheckable());
    QVERIFY(!top->isChecked());
    QVERIFY(!kao->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    kao->show();
    top->trigger();
    QVERIFY(kao->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(kao->isVisible());
    kao = open();
    QVERIFY(kao->findChild<QAction*>(QStringLiteral("mnuTop"))->isChecked());
    QVERIFY(kao->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

QTEST_MAIN(ComfortsTest)
#include "test_comforts.moc"
