// The chooser, the window registry and About, driven through their real widgets.

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ScriptedDialogs.h"
#include "launcher/CommandLine.h"
#include "launcher/StartUp.h"
#include "launcher/WindowRegistry.h"
#include "editor/FileCommands.h"
#include "editor/frmMain.h"
#include "launcher/frmAbout.h"
#include "launcher/frmSplash.h"
#include "platform/AppPaths.h"
#include "platform/Twips.h"

using namespace masumemo;
using launcher::frmAbout;
using launcher::frmSplash;
using launcher::WindowRegistry;

namespace {

/// Names of the top-level windows that are on screen, sorted.
QStringList visibleWindows()
{
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) {
            names << w->objectName();
        }
    }
    names.sort();
    return names;
}

int windowsNamed(const QString& name)
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        n += w->objectName() == name ? 1 : 0;
    }
    return n;
}

/// Runs the deletions that closing a window queued.
void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QAction* action(QWidget* window, const char* name)
{
    return window->findChild<QAction*>(QLatin1String(name));
}

}  // namespace

class LauncherTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void chooserShowsItsCaptionsCentredAndTabsBetweenItsButtons();
    void choosingLeavesExactlyTheChosenWindow_data();
    void choosingLeavesExactlyTheChosenWindow();
    void eachWindowExistsOnceAndAfreshAfterClosing();
    void eachWindowOpensTheOtherFromItsMenu_data();
    void eachWindowOpensTheOtherFromItsMenu();
    void programEndsWithItsLastWindow_data();
    void programEndsWithItsLastWindow();

    void aboutShowsTitleVersionAndDescription();
    void aboutClosesOnEnterAndEsc_data();
    void aboutClosesOnEnterAndEsc();
    void aboutIsModalOverTheEditor();

    void partsWindowFromTheCommandLineAndTheToolsMenu();
    void filesBeyondTheFirstAreNamedAsNotOpened();

private:
    QTemporaryDir m_programDir;
    // The editor started here keeps snapshots: never among the user's own, never offered theirs.
    QTemporaryDir m_stateDir;
    testing::ScriptedDialogs* m_dialogs = nullptr;
};

void LauncherTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_programDir.isValid());
    QVERIFY(m_stateDir.isValid());
    qputenv("XDG_STATE_HOME", m_stateDir.path().toLocal8Bit());
    platform::AppPaths::setProgramDirectoryForTesting(m_programDir.path());
    m_dialogs = new testing::ScriptedDialogs;
}

void LauncherTest::cleanup()
{
    flushDeletes();
    QVERIFY2(visibleWindows().isEmpty(), qPrintable(visibleWindows().join(u',')));
}

void LauncherTest::chooserShowsItsCaptionsCentredAndTabsBetweenItsButtons()
{
    WindowRegistry registry;
    frmSplash* chooser = registry.showChooser();
    QCOMPARE(chooser->clientArea()->size(), platform::pxSize(3930, 1350));
    const QPoint centre = chooser->screen()->availableGeometry().center();
    QVERIFY((chooser->frameGeometry().center() - centre).manhattanLength() <= 1);
    const auto text = [&](const char* name) {
        return chooser->findChild<QWidget*>(name)->property("text").toString();
    };
    QCOMPARE(text("Label1"), QStringLiteral("Masumemo"));
    QCOMPARE(text("lblVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.6.3"));
    QCOMPARE(text("cmdMoji"), QStringLiteral("Masumemo起動"));
    QCOMPARE(text("cmdKao"), QStringLiteral("Egaocho起動"));

    QApplication::setActiveWindow(chooser);
    auto* cmdMoji = chooser->findChild<QPushButton*>("cmdMoji");
    QCOMPARE(QApplication::focusWidget(), cmdMoji);
    QTest::keyClick(chooser, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), chooser->findChild<QPushButton*>("cmdKao"));
    QTest::keyClick(chooser, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), cmdMoji);
}

void LauncherTest::choosingLeavesExactlyTheChosenWindow_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("window");
    QTest::newRow("click Masumemo起動") << "cmdMoji" << false << "frmMain";
    QTest::newRow("Enter on Egaocho起動") << "cmdKao" << true << "frmKao";
}

void LauncherTest::choosingLeavesExactlyTheChosenWindow()
{
    QFETCH(QString, button);
    QFETCH(bool, byEnter);
    QFETCH(QString, window);
    WindowRegistry registry;
    frmSplash* chooser = registry.showChooser();
    QApplication::setActiveWindow(chooser);
    auto* pressed = chooser->findChild<QPushButton*>(button);
    if (byEnter) {
        pressed->setFocus();
        QTest::keyClick(chooser, Qt::Key_Return);
    } else {
        QTest::mouseClick(pressed, Qt::LeftButton);
    }
    flushDeletes();
    QCOMPARE(visibleWindows(), QStringList{window});
    QVERIFY(!registry.chooser());
    QCOMPARE(windowsNamed("frmSplash"), 0);
}

void LauncherTest::eachWindowExistsOnceAndAfreshAfterClosing()
{
    WindowRegistry registry;
    QPointer<editor::frmMain> editor = registry.showEditor();
    QPointer<dictionary::frmKao> dictionary = registry.showDictionary();
    QCOMPARE(registry.showEditor(), editor);
    QCOMPARE(registry.showDictionary(), dictionary);
    // The dictionary asking for an editor that is open only brings it forward.
    action(dictionary, "mnuMojiOpen")->trigger();
    QCOMPARE(registry.editor(), editor);
    QCOMPARE(windowsNamed("frmMain"), 1);
    QCOMPARE(windowsNamed("frmKao"), 1);

    editor->setProperty("marked", true);
    QVERIFY(editor->close());
    action(dictionary, "mnuEnd")->trigger();
    flushDeletes();
    QVERIFY(editor.isNull() && dictionary.isNull());
    QVERIFY(!registry.editor() && !registry.dictionary());

    editor::frmMain* second = registry.showEditor();
    QVERIFY(second->isVisible());
    QVERIFY(!second->property("marked").isValid());
    QCOMPARE(windowsNamed("frmMain"), 1);
    QVERIFY(registry.showDictionary()->isVisible());
}

void LauncherTest::eachWindowOpensTheOtherFromItsMenu_data()
{
    QTest::addColumn<bool>("fromEditor");
    QTest::newRow("Egaochoを開く from the editor") << true;
    QTest::newRow("Masumemoを開く from the dictionary") << false;
}

void LauncherTest::eachWindowOpensTheOtherFromItsMenu()
{
    QFETCH(bool, fromEditor);
    WindowRegistry registry;
    QWidget* first = fromEditor ? static_cast<QWidget*>(registry.showEditor())
                                : static_cast<QWidget*>(registry.showDictionary());
    action(first, fromEditor ? "mnuKao" : "mnuMojiOpen")->trigger();
    QCOMPARE(visibleWindows(), (QStringList{"frmKao", "frmMain"}));

    // Neither closes the other: closing the one opened first leaves the second alone.
    first->close();
    flushDeletes();
    QCOMPARE(visibleWindows(), QStringList{fromEditor ? "frmKao" : "frmMain"});
}

void LauncherTest::programEndsWithItsLastWindow_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("chooser closed without a choice") << QString();
    QTest::newRow("editor chosen, then closed") << "cmdMoji";
}

void LauncherTest::programEndsWithItsLastWindow()
{
    QFETCH(QString, button);
    QVERIFY(QApplication::quitOnLastWindowClosed());
    WindowRegistry registry;
    frmSplash* chooser = registry.showChooser();
    bool chosenWindowSurvived = button.isEmpty();

    // Runs inside the real event loop: the choice, then (if the program is still running, which
    // the chooser's closing must not prevent) the chosen window's close.
    QTimer::singleShot(0, chooser, [&] {
        if (button.isEmpty()) {
            chooser->close();
            return;
        }
        chooser->findChild<QPushButton*>(button)->click();
        QTimer::singleShot(0, &registry, [&] {
            chosenWindowSurvived = visibleWindows().size() == 1;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                w->close();
            }
        });
    });
    // Only reached if the program failed to end: stop the loop so the test can fail.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
    guard.start(20000);

    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(chosenWindowSurvived);
}

void LauncherTest::aboutShowsTitleVersionAndDescription()
{
    frmAbout about;
    QCOMPARE(about.windowTitle(), QStringLiteral("Masumemoのﾊﾞｰｼﾞｮﾝ情報"));
    const auto text = [&](const char* name) {
        return about.findChild<QLabel*>(QLatin1String(name))->text();
    };
    QCOMPARE(text("lblTitle"), QStringLiteral("Masumemo"));
    QCOMPARE(text("lblVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.6.3"));
    // Eleven full-width, seventeen half-width and one full-width space before the sentence.
    const QString description = "ｱﾌﾟﾘｹｰｼｮﾝの説明" + QString(11, QChar(0x3000)) +
                                QString(17, QLatin1Char(' ')) + QChar(0x3000) +
                                "文字絵を楽しく創ってね";
    QCOMPARE(text("lblDescription"), description);
    QCOMPARE(text("Label1"), QStringLiteral("Masumemo developers"));

    auto* text1 = about.findChild<QLineEdit*>("Text1");
    QVERIFY(text1->isReadOnly() && !text1->text().isEmpty());

    auto* ok = about.findChild<QPushButton*>("cmdOK");
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
}

void LauncherTest::aboutClosesOnEnterAndEsc_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void LauncherTest::aboutClosesOnEnterAndEsc()
{
    QFETCH(int, key);
    frmAbout about;
    about.open();
    QApplication::setActiveWindow(&about);
    QVERIFY(about.isVisible());
    // Even with the address line focused for copying, the keys still close the box.
    about.findChild<QLineEdit*>("Text1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QVERIFY(!about.isVisible());
}

void LauncherTest::aboutIsModalOverTheEditor()
{
    WindowRegistry registry;
    editor::frmMain* editor = registry.showEditor();
    bool aboutOverEditor = false;
    QTimer::singleShot(0, editor, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        aboutOverEditor = qobject_cast<frmAbout*>(modal) && modal->parentWidget() == editor;
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    action(editor, "mnuHelpAbout")->trigger();
    QVERIFY(aboutOverEditor);
    QVERIFY(!QApplication::activeModalWidget());
    registry.editor()->close();
}

void LauncherTest::partsWindowFromTheCommandLineAndTheToolsMenu()
{
    QTemporaryDir parts;
    launcher::CommandLine command;
    command.library = parts.path();
    const auto registry = launcher::startUp(command);
    QCOMPARE(visibleWindows(), (QStringList{"frmLibrary", "frmMain"}));
    library::frmLibrary* window = registry->library();
    QCOMPARE(window->index().roots(), QStringList{QDir::cleanPath(parts.path())});
    QVERIFY(window->folders().isEmpty());  // for this session only
    // A tool window of the editor, announced as a window named by its title, not a filler.
    QCOMPARE(window->windowType(), Qt::Tool);
    QCOMPARE(window->parentWidget(), registry->editor());
    QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(window);
    QCOMPARE(announced->role(), QAccessible::Window);
    QCOMPARE(announced->text(QAccessible::Name), QStringLiteral("AA素材"));

    // The Tools menu brings the same window back; it goes with the editor.
    window->close();
    flushDeletes();
    action(registry->editor(), "mnuToolLibrary")->trigger();
    QCOMPARE(windowsNamed("frmLibrary"), 1);
    QVERIFY(registry->library()->isVisible());
    registry->editor()->close();
    flushDeletes();
    QCOMPARE(windowsNamed("frmLibrary"), 0);
}

void LauncherTest::filesBeyondTheFirstAreNamedAsNotOpened()
{
    QTemporaryDir dir;
    QFile first(dir.filePath(QStringLiteral("a.txt")));
    QVERIFY(first.open(QIODevice::WriteOnly));
    first.write("ab\r\n");
    first.close();
    m_dialogs->clear();
    launcher::CommandLine command;
    command.files = QStringList{first.fileName(), QStringLiteral("b.txt"), QStringLiteral("c.txt")};
    const auto registry = launcher::startUp(command);
    QCOMPARE(QFileInfo(registry->editor()->document().path()).fileName(), QStringLiteral("a.txt"));
    QCOMPARE(m_dialogs->messages().size(), size_t{1});
    QCOMPARE(m_dialogs->messages().front().text,
             QStringLiteral("開けるファイルは一度に一つです。次のファイルは開いていません:\nb.txt\nc.txt"));
    registry->editor()->close();
    flushDeletes();

    // A long list names ten and counts the rest.
    QStringList many;
    for (int i = 0; i < 25; ++i) {
        many << QStringLiteral("%1.txt").arg(i);
    }
    const QString text = launcher::filesNotOpenedText(many);
    QVERIFY(text.contains(QStringLiteral("\n9.txt\n")));
    QVERIFY(!text.contains(QStringLiteral("\n10.txt")));
    QVERIFY(text.endsWith(QStringLiteral("ほか 15 件")));
}

QTEST_MAIN(LauncherTest)
#include "test_launcher.moc"
