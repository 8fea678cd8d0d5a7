// Files of pages in the real editor window: the page list beside the canvas, the page menu and
// its keys, a story posted page by page, and saving pages as text only after asking.

#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <memory>

#include "ScriptedDialogs.h"
#include "check/frmCheck.h"
#include "document/Document.h"
#include "editor/CanvasWidget.h"
#include "editor/FileCommands.h"
#include "editor/frmMain.h"
#include "grid/LineModel.h"
#include "pages/PageListModel.h"
#include "pages/PagesTool.h"
#include "platform/AppPaths.h"

using namespace masumemo;
using Answer = platform::Dialogs::Answer;

class PagesToolTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
        m_dialogs = std::make_unique<testing::ScriptedDialogs>();
        m_window = std::make_unique<editor::frmMain>();
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_tool = m_window->findChild<pages::PagesTool*>();
        QVERIFY(m_tool);
    }
    void cleanup()
    {
        m_window.reset();
        m_dialogs.reset();
        platform::AppPaths::setProgramDirectoryForTesting(QString());
        m_dir.reset();
    }

    void theListComesWithAFileOfPagesAndShowsThePageChosen();
    void keysGoFromPageToPageKeepingEachCaretAndHistory();
    void figuresAboveTheLimitsAreRedAndTooltipsShowTheFirstLines();
    void aHiddenListIsToldOfTypingOnlyWhenItShows();
    void pageCommandsAskBeforeDeletingAndAreTakenBack();
    void postingPageByPageCopiesAndGoesOn();
    void theCheckWindowFollowsTheShownPage();
    void savingSeveralPagesAsTextAsksFirst();
    void aHundredThousandPagesOpenAndScroll();
    void theListWidensTheWindowInsteadOfSqueezingTheCanvas();

private:
    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = m_dir->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qFatal("cannot write the test file");
        }
        return path;
    }
    QByteArray read(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void open(const QString& path)
    {
        if (m_window->document().modified()) {
            m_dialogs->answer(Answer::No);
        }
        m_dialogs->choose(path);
        m_window->mnuFileOpen_Click();
    }
    QString firstLine() const
    {
        const auto lines = grid::canvasLines(m_window->canvas().text());
        return lines.empty() ? QString()
                             : QString::fromStdU16String(grid::trimTrailingSpaces(lines[0]));
    }
    void press(QKeyCombination keys)
    {
        m_window->txtMain()->setFocus();
        QTest::keyClick(m_window->txtMain(), keys.key(), keys.keyboardModifiers());
    }
    void clickRow(int row)
    {
        QTreeView* list = m_tool->list();
        const QRect rect = list->visualRect(list->model()->index(row, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    QAction* action(const char* name) { return m_tool->action(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testing::ScriptedDialogs> m_dialogs;
    std::unique_ptr<editor::frmMain> m_window;
    pages::PagesTool* m_tool = nullptr;
};

void PagesToolTest::theListComesWithAFileOfPagesAndShowsThePageChosen()
{
    QVERIFY(!m_tool->panelShown());
    const QString story = write("story.mlt", "one\r\n[SPLIT]\r\ntwo\r\ntwo\r\n[SPLIT]\r\nthree\r\n");
    open(story);
    QVERIFY(m_tool->panelShown());
    QVERIFY(action("mnuViewPages")->isChecked());
    QCOMPARE(m_tool->list()->model()->rowCount(), 3);
    QCOMPARE(firstLine(), QStringLiteral("one"));
    // Every page on the canvas of the largest.
    QCOMPARE(m_window->canvas().gyou(), 2);

    clickRow(2);
    QCOMPARE(m_window->document().currentIndex(), 2);
    QCOMPARE(firstLine(), QStringLiteral("three"));
    QCOMPARE(m_window->txtGyou()->text(), QStringLiteral("2"));

    // A single picture takes the list away; the View menu brings it back.
    open(write("one.txt", "x\r\n"));
    QVERIFY(!m_tool->panelShown());
    action("mnuViewPages")->trigger();
    QVERIFY(m_tool->panelShown());
    QCOMPARE(m_tool->list()->model()->rowCount(), 1);
}

void PagesToolTest::keysGoFromPageToPageKeepingEachCaretAndHistory()
{
    open(write("keys.mlt", "aaaa\r\n[SPLIT]\r\nbbbb\r\n"));
    press(Qt::Key_Right);
    QTest::keyClicks(m_window->txtMain(), QStringLiteral("x"));
    QCOMPARE(firstLine(), QStringLiteral("axaa"));
    press(Qt::CTRL | Qt::Key_PageDown);
    QCOMPARE(m_window->document().currentIndex(), 1);
    QCOMPARE(firstLine(), QStringLiteral("bbbb"));
    QVERIFY(!m_window->canvas().canUndo());
    QCOMPARE(m_tool->list()->currentIndex().row(), 1);
    press(Qt::CTRL | Qt::Key_PageDown);  // the last page: nowhere to go
    QCOMPARE(m_window->document().currentIndex(), 1);

    press(Qt::CTRL | Qt::Key_PageUp);
    QCOMPARE(firstLine(), QStringLiteral("axaa"));
    QCOMPARE(m_window->txtMain()->textCursor().position(), 2);
    QVERIFY(m_window->canvas().canUndo());
    m_window->canvas().undo();
    QCOMPARE(firstLine(), QStringLiteral("aaaa"));
}

void PagesToolTest::figuresAboveTheLimitsAreRedAndTooltipsShowTheFirstLines()
{
    QByteArray tall;
    for (int i = 0; i < 70; ++i) {
        tall += "line\r\n";
    }
    open(write("tall.ast", "[AA][short]\r\nab\r\ncd\r\n[AA][tall]\r\n" + tall));
    const QAbstractItemModel* model = m_tool->list()->model();
    const auto cell = [&](int row, int column, int role) {
        return model->data(model->index(row, column), role);
    };
    QCOMPARE(cell(0, pages::PageListModel::NameColumn, Qt::DisplayRole).toString(),
             QStringLiteral("short"));
    QCOMPARE(cell(0, pages::PageListModel::BytesColumn, Qt::DisplayRole).toInt(), 2 + 6 + 2);
    QCOMPARE(cell(1, pages::PageListModel::LinesColumn, Qt::DisplayRole).toInt(), 70);
    QVERIFY(!cell(0, pages::PageListModel::LinesColumn, Qt::ForegroundRole).isValid());
    QCOMPARE(cell(1, pages::PageListModel::LinesColumn, Qt::ForegroundRole).value<QBrush>().color(),
             QColor(Qt::red));
    QVERIFY(!cell(1, pages::PageListModel::BytesColumn, Qt::ForegroundRole).isValid());
    QCOMPARE(cell(0, 0, Qt::ToolTipRole).toString(), QStringLiteral("ab\ncd"));
    QVERIFY(cell(1, 0, Qt::ToolTipRole).toString().endsWith(QStringLiteral("line\n…")));

    // Typing on the shown page updates its figures: "<" is posted as "&lt;".
    m_window->txtMain()->setFocus();
    QTest::keyClicks(m_window->txtMain(), QStringLiteral("<"));
    QCOMPARE(cell(0, pages::PageListModel::BytesColumn, Qt::DisplayRole).toInt(), 5 + 6 + 2);
    QVERIFY(pages::pagePreview(u"\u3000 \r\n  ", 3).contains(QStringLiteral("空白")));
}

void PagesToolTest::aHiddenListIsToldOfTypingOnlyWhenItShows()
{
    // Pages typed on while the panel was closed by its own button: nothing is worked out for
    // the list meanwhile, and both rows are told when it comes back.
    open(write("three.mlt", "aa\r\n[SPLIT]\r\nbb\r\n[SPLIT]\r\ncc\r\n"));
    const QAbstractItemModel* model = m_tool->list()->model();
    QSignalSpy told(model, &QAbstractItemModel::dataChanged);
    m_window->findChild<QDockWidget*>()->close();
    QTest::keyClicks(m_window->txtMain(), QStringLiteral("<"));
    press(Qt::CTRL | Qt::Key_PageDown);
    QTest::keyClicks(m_window->txtMain(), QStringLiteral("<<"));
    QCOMPARE(told.count(), 0);
    // The menu follows the panel's own button, so one click brings the list back.
    QVERIFY(!action("mnuViewPages")->isChecked());
    action("mnuViewPages")->trigger();
    QVERIFY(m_tool->panelShown());
    QVERIFY(action("mnuViewPages")->isChecked());
    QCOMPARE(told.count(), 1);
    QCOMPARE(told[0][0].toModelIndex().row(), 0);
    QCOMPARE(told[0][1].toModelIndex().row(), 1);
    const auto bytes = [&](int row) {
        return model->data(model->index(row, pages::PageListModel::BytesColumn)).toInt();
    };
    QCOMPARE(QList<int>({bytes(0), bytes(1), bytes(2)}), QList<int>({4 + 1, 8, 2}));  // "&lt;"
}

void PagesToolTest::pageCommandsAskBeforeDeletingAndAreTakenBack()
{
    const QString path = write("cmds.mlt", "1\r\n[SPLIT]\r\n2\r\n");
    open(path);
    document::Document& document = m_window->document();
    action("mnuPageAdd")->trigger();
    QCOMPARE(document.pageCount(), 3);
    QCOMPARE(document.currentIndex(), 2);
    QVERIFY(m_window->isWindowModified());
    // A blank page goes without a question.
    action("mnuPageDelete")->trigger();
    QVERIFY(m_dialogs->messages().empty());
    QCOMPARE(document.pageCount(), 2);
    // Another one is asked about: No keeps it.
    m_dialogs->answer(Answer::No);
    action("mnuPageDelete")->trigger();
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    QCOMPARE(document.pageCount(), 2);
    m_dialogs->answer(Answer::Yes);
    action("mnuPageDelete")->trigger();
    QCOMPARE(document.pageCount(), 1);
    QCOMPARE(firstLine(), QStringLiteral("1"));

    QVERIFY(action("mnuPageUndo")->isEnabled());
    action("mnuPageUndo")->trigger();
    QCOMPARE(document.pageCount(), 2);
    QCOMPARE(firstLine(), QStringLiteral("2"));
    action("mnuPageUndo")->trigger();
    action("mnuPageUndo")->trigger();
    QVERIFY(!action("mnuPageUndo")->isEnabled());
    m_window->mnuFileSave_Click();
    QCOMPARE(read(path), QByteArray("1\r\n[SPLIT]\r\n2\r\n"));

    // Renamed through the prompt, split at the caret's line, merged back.
    m_dialogs->type(QStringLiteral("名"));
    action("mnuPageRename")->trigger();
    QCOMPARE(document.page().name, std::u16string(u"名"));
    document.setCurrentIndex(0);
    action("mnuPageSplit")->trigger();  // the caret on the first line: nothing to split off
    QCOMPARE(document.pageCount(), 2);
    action("mnuPageMerge")->trigger();
    QCOMPARE(document.pageCount(), 1);
    QCOMPARE(m_window->canvas().gyou(), 2);
    press(Qt::Key_Down);
    action("mnuPageSplit")->trigger();
    QCOMPARE(document.pageCount(), 2);
    QCOMPARE(firstLine(), QStringLiteral("2"));
}

void PagesToolTest::postingPageByPageCopiesAndGoesOn()
{
    open(write("post.mlt", "a  b\r\n[SPLIT]\r\nc\r\n"));
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_D);
    // As "整えてｺﾋﾟｰ" copies: the run of half-width spaces the board would fold is mended.
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY(!copied.contains(QStringLiteral("  ")));
    QVERIFY(copied.startsWith(QLatin1Char('a')));
    QCOMPARE(m_window->document().currentIndex(), 1);
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_D);
    QCOMPARE(QGuiApplication::clipboard()->text().trimmed(), QStringLiteral("c"));
    QCOMPARE(m_window->document().currentIndex(), 1);
}

void PagesToolTest::theCheckWindowFollowsTheShownPage()
{
    open(write("check.mlt", "ab\r\n[SPLIT]\r\nabcdefgh\r\n"));
    m_window->findChild<QAction*>(QStringLiteral("mnuToolCheck"))->trigger();
    auto* check = m_window->findChild<check::frmCheck*>();
    QVERIFY(check);
    QVERIFY2(check->lblBytes()->text().contains(QStringLiteral(" 2 /")),
             qPrintable(check->lblBytes()->text()));
    press(Qt::CTRL | Qt::Key_PageDown);
    QVERIFY2(check->lblBytes()->text().contains(QStringLiteral(" 8 /")),
             qPrintable(check->lblBytes()->text()));
}

void PagesToolTest::savingSeveralPagesAsTextAsksFirst()
{
    const QString story = write("two.mlt", "a\r\n[SPLIT]\r\nb\r\n");
    open(story);
    // A change on a page that is not the one written must outlive the text file.
    m_window->txtMain()->setFocus();
    QTest::keyClicks(m_window->txtMain(), QStringLiteral("Z"));
    press(Qt::CTRL | Qt::Key_PageDown);
    const QString txt = m_dir->filePath(QStringLiteral("two.txt"));
    m_dialogs->choose(txt, 2);
    m_dialogs->answer(Answer::No);
    QVERIFY(!m_window->files().SaveAs());
    QVERIFY(!QFile::exists(txt));
    QCOMPARE(m_dialogs->fileAsks().back().request.filter,
             QStringLiteral("MLTﾌｧｲﾙ(*.mlt)|*.mlt|ASTﾌｧｲﾙ(*.ast)|*.ast|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|"
                            "ﾃｷｽﾄﾌｧｲﾙ UTF-8(*.txt)|*.txt"));
    m_dialogs->choose(txt, 2);
    m_dialogs->answer(Answer::Yes);
    QVERIFY(m_window->files().SaveAs());
    QCOMPARE(read(txt), QByteArray("b\r\n"));
    // That file is a copy of one page: the story is still the file edited, still modified, so
    // closing asks and Save writes every page.
    QCOMPARE(m_window->document().path(), story);
    QCOMPARE(m_window->document().pageCount(), 2);
    QVERIFY(m_window->isWindowModified());
    QVERIFY(m_window->windowTitle().startsWith(story));

    // Saved as AST by its name, whatever filter was chosen.
    const QString ast = m_dir->filePath(QStringLiteral("two.ast"));
    m_dialogs->choose(ast, 0);
    QVERIFY(m_window->files().SaveAs());
    QCOMPARE(read(ast), QByteArray("[AA][]\r\nZ\r\n[AA][]\r\nb\r\n"));
    QVERIFY(!m_window->isWindowModified());
    QCOMPARE(read(story), QByteArray("a\r\n[SPLIT]\r\nb\r\n"));
}

void PagesToolTest::aHundredThousandPagesOpenAndScroll()
{
    QByteArray many;
    for (int i = 0; i < 100000; ++i) {
        many += "p\r\n[SPLIT]\r\n";
    }
    many += "last\r\n";
    open(write("many.mlt", many));
    QCOMPARE(m_window->document().pageCount(), 100001);
    QTreeView* list = m_tool->list();
    QCOMPARE(list->model()->rowCount(), 100001);
    list->scrollToBottom();
    clickRow(100000);
    QCOMPARE(firstLine(), QStringLiteral("last"));
}

QTEST_MAIN(PagesToolTest)

void PagesToolTest::theListWidensTheWindowInsteadOfSqueezingTheCanvas()
{
    // The palette and the canvas are laid out to the window's width: a list taken out of them
    // would cut off the palette's last keys. The window grows as far as the screen has room.
    const int laidOut = m_window->centralWidget()->width();
    auto* canvas = m_window->findChild<QWidget*>(QStringLiteral("txtMain"));
    QVERIFY(canvas);
    const int canvasWidth = canvas->width();
    const int narrow = m_window->width();
    const int room = m_window->screen()->availableGeometry().width() - m_window->frameGeometry().width();
    QVERIFY(room > 10);
    auto* panel = m_window->findChild<QDockWidget*>();
    QVERIFY(panel);
    // The test screen is narrow: a list that fits beside the window shows the layout as a wide
    // screen has it.
    panel->setMaximumWidth(room - 10);
    open(write("story.mlt", "one\r\n[SPLIT]\r\ntwo\r\n"));
    QVERIFY(m_tool->panelShown());
    // The working area keeps its width: the window grew by the panel and its handle.
    QTRY_COMPARE(m_window->centralWidget()->width(), laidOut);
    QVERIFY(m_window->width() > narrow + panel->width());
    // The canvas and its scroll bars lie inside the window, none of them past its right edge.
    QTRY_VERIFY(canvas->geometry().right() < m_window->centralWidget()->width());
    QVERIFY(canvas->width() >= canvasWidth);

    open(write("one.txt", "x\r\n"));
    QVERIFY(!m_tool->panelShown());
    QTRY_COMPARE(m_window->width(), narrow);
    QTRY_COMPARE(m_window->centralWidget()->width(), laidOut);
    QTRY_COMPARE(canvas->width(), canvasWidth);
}

#include "test_pages_tool.moc"
