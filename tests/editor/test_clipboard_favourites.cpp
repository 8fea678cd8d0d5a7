// The Edit commands and BR get on a real editor window, the favourite buttons, and the
// settings file as the window reads it at creation and writes it at each close request.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "ScriptedDialogs.h"
#include "editor/ClipboardCommands.h"
#include "editor/frmMain.h"
#include "grid/LineModel.h"
#include "input/SettingsFile.h"
#include "input/frmFava.h"
#include "platform/AppPaths.h"

using namespace masumemo;
using editor::frmMain;
using platform::AppPaths;

namespace {

// A small picture of 3 lines, 3 full-width cells (6 units) wide:
//   offsets 0-5 "abcdef", 8-10 "ＡＢＣ", 13-18 "ghijkl".
const std::u16string kPicture = u"abcdef\r\nＡＢＣ\r\nghijkl";

QString clipboard()
{
    return QGuiApplication::clipboard()->text();
}

void setClipboard(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString q(const std::u16string& s)
{
    return QString::fromStdU16String(s);
}

}  // namespace

class ClipboardFavouritesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void brGetText_data();
    void brGetText();
    void cutAndCopy_data();
    void cutAndCopy();
    void paste_data();
    void paste();
    void shortcutsReachTheEditMenu();
    void toolbarRunsTheCommands();

    void favouritesAreReadAndWrittenBack_data();
    void favouritesAreReadAndWrittenBack();
    void unwritableSettingsDoNotStopTheClose();
    void twoEditorsKeepBothTheirFavourites();
    void registrationWindowFillsTheToolbar();
    void okini_data();
    void okini();

private:
    /// A fresh window on the small picture, nothing changed yet.
    void newWindow();
    void writeSettings(const QByteArray& bytes) const;
    QByteArray readSettings() const;
    QString settingsPath() const { return m_dir->filePath(QStringLiteral("masuedit.ini")); }
    void select(int start, int length) const { m_window->txtMain()->setSelection(start, length); }
    /// Favourite buttons 16 ... 25 that are shown, with their tooltips.
    QStringList shownFavouriteTips() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<frmMain> m_window;
};

void ClipboardFavouritesTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    AppPaths::setProgramDirectoryForTesting(m_dir->path());
    setClipboard(QString());
}

void ClipboardFavouritesTest::cleanup()
{
    m_window.reset();
    AppPaths::setProgramDirectoryForTesting(QString());
    m_dir.reset();
}

void ClipboardFavouritesTest::newWindow()
{
    m_window = std::make_unique<frmMain>();
    m_window->canvas().resetCanvas(kPicture, 3, 3);
}

void ClipboardFavouritesTest::writeSettings(const QByteArray& bytes) const
{
    QFile f(settingsPath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray ClipboardFavouritesTest::readSettings() const
{
    QFile f(settingsPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList ClipboardFavouritesTest::shownFavouriteTips() const
{
    QStringList tips;
    for (int n = frmMain::kFirstFavouriteButton; n <= frmMain::kToolButtonCount; ++n) {
        QAction* b = m_window->toolButton(n);
        if (b->isVisible()) {
            tips << QStringLiteral("%1:%2").arg(n).arg(b->toolTip());
        }
    }
    return tips;
}

// --- BR get ------------------------------------------------------------------------------

void ClipboardFavouritesTest::brGetText_data()
{
    QTest::addColumn<QString>("canvas");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blank middle line keeps its marker")
        << "ab  \r\n  \r\nc " << "ab<br><br>c";
    QTest::newRow("two blank last lines leave no marker") << "ab\r\n  \r\n　 " << "ab";
    QTest::newRow("one line, no marker whatever its length")
        << QString(70, QLatin1Char('x')) + QStringLiteral("　　") << QString(70, QLatin1Char('x'));
    QTest::newRow("full-width trailing spaces trimmed") << "Ａ　\r\nＢ 　 " << "Ａ<br>Ｂ";
    QTest::newRow("all blank gives an empty text") << "　　\r\n  " << "";
    QTest::newRow("leading blank lines keep their markers") << "  \r\nx" << "<br>x";
    // Only blank lines are dropped at the end, never text that happens to read "<br>".
    QTest::newRow("a last line ending in <br> keeps it") << "a\r\nb<br>  \r\n  " << "a<br>b<br>";
    // The board stores what code page 932 lacks as references.
    QTest::newRow("Unicode characters as references")
        << QStringLiteral("|\u2009|\U0001F600\r\n\u200A") << "|&#x2009;|&#x1F600;<br>&#x200A;";
}

void ClipboardFavouritesTest::brGetText()
{
    QFETCH(QString, canvas);
    QFETCH(QString, expected);
    QCOMPARE(q(editor::brGetText(canvas.toStdU16String())), expected);
}

// --- Cut, copy, paste ----------------------------------------------------------------------

/// Copy, then cut, the same selection: both put the same text on the clipboard.
void ClipboardFavouritesTest::cutAndCopy_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("after");
    QTest::newRow("across two lines")
        << 2 << 8 << QStringLiteral("cdef\nＡＢ") << "ab    \r\n　　Ｃ\r\nghijkl";
    // Nothing to take: the canvas stays and nothing is modified, but the cut is still a step
    // in the history.
    QTest::newRow("nothing selected") << 4 << 0 << QString() << q(kPicture);
    QTest::newRow("everything, by Select all")
        << 0 << int(kPicture.size()) << "abcdef\nＡＢＣ\nghijkl" << "      \r\n　　　\r\n      ";
}

void ClipboardFavouritesTest::cutAndCopy()
{
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, clip);
    QFETCH(QString, after);
    newWindow();
    frmMain& w = *m_window;
    setClipboard(QStringLiteral("old"));
    if (length == int(kPicture.size())) {
        w.mnuEditAll_Click();
    } else {
        select(start, length);
    }
    const size_t entries = w.history().entries().size();

    w.mnuEditCopy_Click();
    QCOMPARE(clipboard(), clip);
    QCOMPARE(w.canvasText(), kPicture);
    QVERIFY(!w.canvas().modified());
    setClipboard(QStringLiteral("old"));
    w.mnuEditCut_Click();

    QCOMPARE(clipboard(), clip);
    QCOMPARE(q(w.canvasText()), after);
    QCOMPARE(w.canvas().modified(), length > 0);
    QCOMPARE(w.history().entries().size(), entries + 1);
    QCOMPARE(w.canvasCaret(), start);
    QCOMPARE(w.txtMain()->selectionLength(), 0);
    w.tbToolBar_ButtonClick(w.toolButton(9));
    QCOMPARE(w.canvasText(), kPicture);
}

void ClipboardFavouritesTest::paste_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("after");
    QTest::newRow("over a selection: blanked, then written from its start")
        << "X" << 1 << 4 << "aX   f\r\nＡＢＣ\r\nghijkl";
    QTest::newRow("two lines") << "12\n34" << 0 << 0 << "12cdef\r\n34ＢＣ\r\nghijkl";
    // Characters code page 932 lacks are kept, one unit each, not turned into "?".
    QTest::newRow("a Unicode space and an emoji")
        << QStringLiteral("\u2009\U0001F600") << 0 << 0
        << QStringLiteral("\u2009\U0001F600cdef\r\nＡＢＣ\r\nghijkl");
    // An empty clipboard leaves even the selection alone.
    QTest::newRow("empty clipboard") << "" << 1 << 4 << q(kPicture);
}

void ClipboardFavouritesTest::paste()
{
    QFETCH(QString, clip);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, after);
    newWindow();
    frmMain& w = *m_window;
    setClipboard(clip);
    select(start, length);
    const size_t entries = w.history().entries().size();

    w.mnuEditPaste_Click();

    QCOMPARE(q(w.canvasText()), after);
    const bool changed = after != q(kPicture);
    QCOMPARE(w.canvas().modified(), changed);
    QCOMPARE(w.history().entries().size(), entries + (changed ? 1 : 0));
    if (!changed) {
        QCOMPARE(w.txtMain()->selectionLength(), length);
    }
}

void ClipboardFavouritesTest::shortcutsReachTheEditMenu()
{
    newWindow();
    frmMain& w = *m_window;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.txtMain()->setFocus();
    QTRY_VERIFY(w.txtMain()->hasFocus());

    // The keys reach the window's commands, not the widget's own.
    QSignalSpy all(w.menuItem(QStringLiteral("mnuEditAll")), &QAction::triggered);
    QSignalSpy cut(w.menuItem(QStringLiteral("mnuEditCut")), &QAction::triggered);
    QSignalSpy copy(w.menuItem(QStringLiteral("mnuEditCopy")), &QAction::triggered);
    QSignalSpy paste(w.menuItem(QStringLiteral("mnuEditPaste")), &QAction::triggered);

    QTest::keyClick(w.txtMain(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w.txtMain()->selectionLength(), int(kPicture.size()));
    QTest::keyClick(w.txtMain(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard(), QStringLiteral("abcdef\nＡＢＣ\nghijkl"));

    select(0, 2);
    // The widget's own cut would remove the text and break the grid.
    QTest::keyClick(w.txtMain(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(clipboard(), QStringLiteral("ab"));
    QCOMPARE(q(w.canvasText()), QStringLiteral("  cdef\r\nＡＢＣ\r\nghijkl"));

    select(8, 0);
    QTest::keyClick(w.txtMain(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(q(w.canvasText()), QStringLiteral("  cdef\r\nabＢＣ\r\nghijkl"));
    QCOMPARE(all.size() + cut.size() + copy.size() + paste.size(), 4);
    QCOMPARE(paste.size(), 1);
}

void ClipboardFavouritesTest::toolbarRunsTheCommands()
{
    newWindow();
    frmMain& w = *m_window;
    const auto click = [&w](int number) { w.tbToolBar_ButtonClick(w.toolButton(number)); };
    select(13, 3);
    click(6);  // copy
    QCOMPARE(clipboard(), QStringLiteral("ghi"));
    click(5);  // cut
    QCOMPARE(q(w.canvasText()), QStringLiteral("abcdef\r\nＡＢＣ\r\n   jkl"));
    select(0, 0);
    click(7);  // paste
    QCOMPARE(q(w.canvasText()), QStringLiteral("ghidef\r\nＡＢＣ\r\n   jkl"));

    const std::u16string before = w.canvasText();
    const size_t entries = w.history().entries().size();
    select(2, 3);
    click(14);  // BR get
    QCOMPARE(clipboard(), QStringLiteral("ghidef<br>ＡＢＣ<br>   jkl"));
    QCOMPARE(w.canvasText(), before);
    QCOMPARE(w.history().entries().size(), entries);
    QCOMPARE(w.txtMain()->selectionLength(), 3);
}

// --- Favourites --------------------------------------------------------------------------

void ClipboardFavouritesTest::favouritesAreReadAndWrittenBack_data()
{
    QTest::addColumn<QByteArray>("file");  // "<none>": no file at all
    QTest::addColumn<QStringList>("tips");
    QTest::addColumn<int>("told");  ///< messages at the window's creation
    QByteArray twelve;
    QStringList tenTips;
    for (int i = 1; i <= 12; ++i) {
        twelve += QByteArray::number(i) + "\r\n";
        if (i <= 10) {
            tenTips << QStringLiteral("%1:%2").arg(15 + i).arg(i);
        }
    }
    QByteArray tooLarge;
    while (tooLarge.size() <= input::kMaxSettingsBytes) {
        tooLarge += "abcdefg\r\n";
    }
    // Unchanged favourites are never written back; a file not read whole never is.
    QTest::newRow("no file: none, and none made") << QByteArray("<none>") << QStringList() << 0;
    QTest::newRow("twelve lines give ten, and the file keeps twelve") << twelve << tenTips << 1;
    QTest::newRow("favourites after an empty line stay in the file")
        << QByteArray("FAV_A\r\n\r\nFAV_B\r\nFAV_C\r\n") << QStringList{"16:FAV_A"} << 1;
    QTest::newRow("a file past the size limit is told of and kept")
        << tooLarge << QStringList() << 1;
    QTest::newRow("full width round trip")
        << QByteArray("\x81\x99\x8A\xBF\r\n") << QStringList{"16:☆漢"} << 0;
}

void ClipboardFavouritesTest::favouritesAreReadAndWrittenBack()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, tips);
    QFETCH(int, told);
    testing::ScriptedDialogs dialogs;
    if (file != "<none>") {
        writeSettings(file);
    }
    newWindow();
    QCOMPARE(dialogs.messages().size(), size_t(told));
    m_window->Form_Activate();
    QCOMPARE(shownFavouriteTips(), tips);
    m_window->show();
    QVERIFY(m_window->close());
    QCOMPARE(readSettings(), file == "<none>" ? QByteArray("<missing>") : file);
    // Told once: another editor on the same file says nothing more.
    newWindow();
    QCOMPARE(dialogs.messages().size(), size_t(told));
    // Changed after a read that was not whole: still not written, and the close says so.
    QVERIFY(m_window->favourites().store(1, u"new"));
    m_window->show();
    QVERIFY(m_window->close());
    QCOMPARE(readSettings(), told ? file : QByteArray("new\r\n"));
    QCOMPARE(dialogs.messages().size(), size_t(told * 2));
}

void ClipboardFavouritesTest::unwritableSettingsDoNotStopTheClose()
{
    struct Row
    {
        const char* name;
        std::function<void(const QString& dir)> spoil;  ///< makes masuedit.ini unusable
    };
    const Row rows[] = {
        // Read as no favourites, which the user is told; the change is not written either.
        {"a folder where the file should be",
         [](const QString& dir) { QVERIFY(QDir(dir).mkdir(QStringLiteral("masuedit.ini"))); }},
        {"the program's folder is gone",
         [](const QString& dir) { AppPaths::setProgramDirectoryForTesting(dir + "/gone"); }},
    };
    for (const Row& r : rows) {
        testing::ScriptedDialogs dialogs;
        r.spoil(m_dir->path());
        newWindow();
        const bool folder = QFileInfo(settingsPath()).isDir();
        QCOMPARE(dialogs.messages().size(), size_t(folder ? 1 : 0));
        dialogs.clear();
        QCOMPARE(m_window->favourites().FavCount(), 0);
        QVERIFY(m_window->favourites().store(1, u"x"));
        m_window->show();
        QVERIFY2(m_window->close(), r.name);
        QVERIFY2(!m_window->isVisible(), r.name);
        QVERIFY2(dialogs.messages().size() == 1, r.name);
        QVERIFY(dialogs.messages()[0].text.startsWith(QStringLiteral("お気に入り文字を保存")));
        QCOMPARE(dialogs.messages()[0].buttons, platform::Dialogs::Buttons::Ok);
        AppPaths::setProgramDirectoryForTesting(m_dir->path());
        QDir(m_dir->path()).rmdir(QStringLiteral("masuedit.ini"));
    }
}

void ClipboardFavouritesTest::twoEditorsKeepBothTheirFavourites()
{
    // Two copies of the program, each with an editor that gets a new favourite.
    writeSettings("a\r\n");
    newWindow();
    auto other = std::make_unique<frmMain>();
    QVERIFY(m_window->favourites().store(2, u"x"));
    QVERIFY(other->favourites().store(2, u"y"));
    m_window->show();
    other->show();
    QVERIFY(m_window->close());
    QVERIFY(other->close());
    QCOMPARE(readSettings(), QByteArray("a\r\nx\r\ny\r\n"));
}

void ClipboardFavouritesTest::registrationWindowFillsTheToolbar()
{
    newWindow();
    m_window->show();
    bool driven = false;
    // The window is modal: answer it from the event loop it runs.
    QMetaObject::invokeMethod(
        this,
        [&driven] {
            auto* fava = qobject_cast<input::frmFava*>(QApplication::activeModalWidget());
            QVERIFY(fava);
            for (const char* t : {"ab", "☆"}) {
                // As an input method commits text, which is how "☆" is typed.
                QInputMethodEvent commit;
                commit.setCommitString(QString::fromUtf8(t));
                QCoreApplication::sendEvent(fava->txtFava(), &commit);
                QTest::mouseClick(fava->cmdTekiyou(), Qt::LeftButton);
                QTest::mouseClick(fava->cmdUp(), Qt::LeftButton);
            }
            QTest::mouseClick(fava->cmdCancel(), Qt::LeftButton);
            driven = true;
        },
        Qt::QueuedConnection);
    m_window->menuItem(QStringLiteral("mnuFavaPlas"))->trigger();
    QVERIFY(driven);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(m_window->favourites().FavCount(), 2);
    QCOMPARE(shownFavouriteTips(), (QStringList{"16:ab", "17:☆"}));
    // Nothing is written until the editor's close request.
    QVERIFY(!QFile::exists(settingsPath()));
}

void ClipboardFavouritesTest::okini_data()
{
    QTest::addColumn<QString>("favourite");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("after");
    QTest::newRow("two characters written as a whole mid-line")
        << "XY" << 2 << 0 << "abXYef\r\nＡＢＣ\r\nghijkl";
    QTest::newRow("a selection is blanked first") << "Z" << 0 << 4 << "Z   ef\r\nＡＢＣ\r\nghijkl";
    QTest::newRow("&& writes one &") << "&&" << 13 << 0 << "abcdef\r\nＡＢＣ\r\n&hijkl";
    QTest::newRow("a lone & stays") << "&" << 13 << 0 << "abcdef\r\nＡＢＣ\r\n&hijkl";
    QTest::newRow("full width over full width") << "☆" << 10 << 0 << "abcdef\r\nＡＢ☆\r\nghijkl";
}

void ClipboardFavouritesTest::okini()
{
    QFETCH(QString, favourite);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, after);
    newWindow();
    frmMain& w = *m_window;
    QVERIFY(w.favourites().store(1, favourite.toStdU16String()));
    w.Form_Activate();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.txtMain()->clearFocus();
    // A refused key before it must not make the favourite count as a typed key.
    select(6, 0);
    QTest::keyClick(w.txtMain(), Qt::Key_X);
    QCOMPARE(w.canvasText(), kPicture);
    select(start, length);

    w.tbToolBar_ButtonClick(w.toolButton(16));

    QCOMPARE(q(w.canvasText()), after);
    QVERIFY(w.canvas().modified());
    QVERIFY(w.txtMain()->hasFocus());
}

QTEST_MAIN(ClipboardFavouritesTest)
#include "test_clipboard_favourites.moc"
