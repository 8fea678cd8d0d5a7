// The emoticon window driven through its real widgets: lists, choosing with the foreground
// returned through a fake, idle shrinking, the width rule, and editing the list.

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <map>
#include <memory>

#include "ScriptedDialogs.h"
#include "dictionary/DictionaryFiles.h"
#include "dictionary/frmKao.h"
#include "grid/Cp932.h"
#include "platform/AppPaths.h"
#include "platform/ForegroundFake.h"
#include "platform/Twips.h"

using namespace masumemo;
using dictionary::frmKao;
using platform::Dialogs;
using platform::px;

namespace {

// Window ids of the fake window system, far from the offscreen platform's own. kOwn stands
// for the emoticon window's own id, known only once it is shown.
constexpr WId kOwn = 0x4000001;
constexpr WId kOther = 0x4000002;

QStringList itemsOf(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

/// Types text as key presses carrying it, one character at a time (any script, unlike
/// QTest::keyClicks).
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

}  // namespace

class FrmKaoTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowIsBuiltAsDrawn();

    void choosingAnEntry_data();
    void choosingAnEntry();
    void returnTargetIsNeverOneOfOurWindows_data();
    void returnTargetIsNeverOneOfOurWindows();
    void opensWithTheListedFilesAndShowsTheChosenOne();
    void longEntryIsShownShortAndCopiedWhole();
    void wheelChoosesNothing_data();
    void wheelChoosesNothing();

    void idleShrinking_data();
    void idleShrinking();
    void restoringForgetsTheWidthSetWithTheSpinControl();
    void shrinkingTakesTheFocusFromTheHiddenControls();
    void entryListWidthFollowsTheWindow_data();
    void entryListWidthFollowsTheWindow();

    void addingFiles();
    void addingAPipeIsRefusedWithTheReason();
    void removeAsksAndKeepsTheRest();
    void editHandsTheFileOverAndWaits();
    void editAsksFirstWhenTheFileHoldsMoreThanShiftJis();
    void searchAsYouType();
    void addingAPathTheListCannotHoldIsRefusedWithTheReason();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    /// Writes these lines in code page 932 with CR LF; answers the file's path.
    QString writeDictionary(const QString& name, const QStringList& lines) const;
    void writeList(const QStringList& paths) const { writeDictionary("kaomoji.ini", paths); }
    QByteArray listBytes() const;
    static QByteArray listOf(const QStringList& paths);

    /// Opens the window on the fake foreground and shows it; the fake's active window is
    /// the window itself until a test says otherwise.
    frmKao* open();
    frmKao* openWithDefault()
    {
        writeDictionary("Defolt.txt", {"(^_^)"});
        return open();
    }
    void activate();
    template <class T>
    T* child(const char* name) const
    {
        return m_window->findChild<T*>(QLatin1String(name));
    }
    QComboBox* cboFile() const { return child<QComboBox>("cboFile"); }
    QComboBox* cboData() const { return child<QComboBox>("cboData"); }
    QSpinBox* upDown1() const { return child<QSpinBox>("UpDown1"); }
    QAction* action(const char* name) const { return child<QAction>(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testing::ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmKao> m_window;
    platform::FakeForeground* m_fg = nullptr;
};

void FrmKaoTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
    m_dialogs = std::make_unique<testing::ScriptedDialogs>();
    QGuiApplication::clipboard()->clear();
}

void FrmKaoTest::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    platform::AppPaths::setProgramDirectoryForTesting(QString());
    m_dir.reset();
}

QString FrmKaoTest::writeDictionary(const QString& name, const QStringList& lines) const
{
    QFile file(path(name));
    return file.open(QIODevice::WriteOnly) && file.write(listOf(lines)) > 0 ? path(name)
                                                                            : QString();
}

QByteArray FrmKaoTest::listOf(const QStringList& paths)
{
    QByteArray bytes;
    for (const QString& p : paths) {
        bytes += QByteArray::fromStdString(grid::encodeCp932(p.toStdU16String())) + "\r\n";
    }
    return paths.isEmpty() ? QByteArray("\r\n") : bytes;
}

QByteArray FrmKaoTest::listBytes() const
{
    QFile file(path("kaomoji.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

frmKao* FrmKaoTest::open()
{
    auto fake = std::make_unique<platform::FakeForeground>();
    m_fg = fake.get();
    m_window = std::make_unique<frmKao>(nullptr, std::move(fake));
    m_window->show();
    m_fg->active = m_window->winId();
    m_fg->existing = {m_window->winId(), kOther};
    return m_window.get();
}

void FrmKaoTest::activate()
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void FrmKaoTest::windowIsBuiltAsDrawn()
{
    frmKao* w = openWithDefault();
    QCOMPARE(w->windowTitle(), QStringLiteral("Egaocho"));
    QCOMPARE(w->frameGeometry().size(), platform::pxSize(2700, 1800));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));

    // The one top menu and its items, separators included, in order.
    QCOMPARE(w->menuBar()->actions().size(), 1);
    auto* mnuFile = child<QMenu>("mnuFile");
    QCOMPARE(mnuFile->title(), QStringLiteral("ファイル(&F)"));
    QStringList items;
    for (QAction* a : mnuFile->actions()) {
        items << a->objectName() + "=" + a->text();
    }
    QCOMPARE(items, (QStringList{
                        "mnuAdd=新しいファイルをリストに追加(&A)...",
                        "mnuDel=選択中のファイルをリストから削除(&D)...",
                        "mnuEdit=選択中のファイルの内容を編集(&E)...",
                        "mnubar=",
                        "mnuMojiOpen=Masumemoを開く(&M)...",
                        "mnuTop=常に手前に表示(&T)",
                        "mnubar1=",
                        "mnuEnd=終了(&X)",
                    }));

    QVERIFY(!cboFile()->isEditable() && cboData()->isEditable());
    QCOMPARE(cboFile()->nextInFocusChain(), cboData());

    // Tracking starts with the first activation, recording the window's own id.
    auto* timer1 = child<QTimer>("Timer1");
    QVERIFY(!timer1->isActive());
    activate();
    QVERIFY(timer1->isActive());
    QCOMPARE(w->tracker().OwnWindow(), w->winId());
}

void FrmKaoTest::choosingAnEntry_data()
{
    QTest::addColumn<WId>("lastInFront");
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<bool>("honoured");
    QTest::addColumn<QList<WId>>("requests");
    QTest::addColumn<int>("polls");

    QTest::newRow("no other window in front since the first activation: only copied")
        << kOwn << true << true << QList<WId>{} << 0;
    QTest::newRow("another window last in front: copied and brought forward")
        << kOther << true << true << QList<WId>{kOther} << 1;
    QTest::newRow("the window manager refuses: copied, asked, read 31 times")
        << kOther << true << false << QList<WId>{kOther} << 31;
    QTest::newRow("the other window has gone: only copied")
        << kOther << false << true << QList<WId>{} << 0;
    QTest::newRow("nothing at all in front: only copied")
        << WId(0) << true << true << QList<WId>{} << 0;
}

void FrmKaoTest::choosingAnEntry()
{
    QFETCH(WId, lastInFront);
    QFETCH(bool, targetExists);
    QFETCH(bool, honoured);
    QFETCH(QList<WId>, requests);
    QFETCH(int, polls);
    writeDictionary("Defolt.txt", {"(´・ω・`)", "ｍ(_ _)ｍ"});
    frmKao* w = open();
    activate();

    // The user goes to another window and comes back; tracking sees both.
    m_fg->active = lastInFront == kOwn ? w->winId() : lastInFront;
    w->Timer1_Timer();
    m_fg->active = w->winId();
    w->Timer1_Timer();
    if (!targetExists) {
        m_fg->existing.remove(kOther);
    }
    m_fg->honourActivation = honoured;
    const int readsBefore = m_fg->activeReads;

    // An arrow key in the closed list chooses like the mouse.
    QTest::keyClick(cboData(), Qt::Key_Down);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("(´・ω・`)"));
    QCOMPARE(m_fg->activationRequests, requests);
    QCOMPARE(m_fg->activeReads - readsBefore, polls);

    QTest::keyClick(cboData(), Qt::Key_Down);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ｍ(_ _)ｍ"));
    QCOMPARE(m_fg->activationRequests.size(), requests.size() * 2);
}

void FrmKaoTest::returnTargetIsNeverOneOfOurWindows_data()
{
    // The windows in front at the first activation and at each tick after it, by name:
    // editor (marked as a return target), question (the editor's save question), dialog
    // (the emoticon window's own file dialog), chooser (an unmarked window of the program),
    // self, other (another program), none. A name after ~ is told by the window system as a
    // change of the active window, between two ticks.
    QTest::addColumn<QString>("atActivation");
    QTest::addColumn<QStringList>("ticks");
    QTest::addColumn<QString>("target");
    QTest::newRow("the window manager still reports the editor at the first activation")
        << "editor" << QStringList{"editor", "self"} << "editor";
    QTest::newRow("the editor's save question during a hand-over is passed over")
        << "self" << QStringList{"editor", "question", "self"} << "editor";
    QTest::newRow("the window's own file dialog is passed over")
        << "self" << QStringList{"other", "dialog", "self"} << "other";
    QTest::newRow("an unmarked window of the program is passed over")
        << "self" << QStringList{"other", "chooser"} << "other";
    QTest::newRow("none for a moment on the way back is passed over")
        << "self" << QStringList{"editor", "none", "self"} << "editor";
    QTest::newRow("none seen by two ticks in a row is the target")
        << "self" << QStringList{"editor", "none", "none", "self"} << "none";
    QTest::newRow("a visit between two ticks, told as changes")
        << "self" << QStringList{"other", "~none", "~editor", "~none", "~self", "self"} << "editor";
}

void FrmKaoTest::returnTargetIsNeverOneOfOurWindows()
{
    QFETCH(QString, atActivation);
    QFETCH(QStringList, ticks);
    QFETCH(QString, target);
    writeDictionary("Defolt.txt", {"(^_^)"});
    QWidget editor;
    dictionary::markAsReturnTarget(&editor);
    QDialog question(&editor);
    QWidget chooser;
    frmKao* w = open();
    QDialog dialog(w);
    for (QWidget* shown :
         {&editor, static_cast<QWidget*>(&question), &chooser, static_cast<QWidget*>(&dialog)}) {
        shown->show();
    }
    const std::map<QString, WId> ids = {{"editor", editor.winId()},
                                        {"question", question.winId()},
                                        {"dialog", dialog.winId()},
                                        {"chooser", chooser.winId()},
                                        {"self", w->winId()},
                                        {"other", kOther},
                                        {"none", 0}};
    for (const auto& [name, id] : ids) {
        m_fg->existing.insert(id);
    }

    m_fg->active = ids.at(atActivation);
    activate();
    QCOMPARE(w->tracker().OwnWindow(), w->winId());
    QVERIFY(m_fg->changed);
    for (const QString& name : ticks) {
        m_fg->active = ids.at(name.startsWith('~') ? name.mid(1) : name);
        name.startsWith('~') ? m_fg->changed() : w->Timer1_Timer();
    }
    QCOMPARE(w->tracker().TargetWindow(), ids.at(target));
    QTest::keyClick(cboData(), Qt::Key_Down);
    QCOMPARE(m_fg->activationRequests,
             target == "none" ? QList<WId>{} : QList<WId>{ids.at(target)});
}

void FrmKaoTest::opensWithTheListedFilesAndShowsTheChosenOne()
{
    const QString a = writeDictionary("animals.txt", {"(=^・^=)", "U^ｪ^U"});
    const QString b = writeDictionary("b.txt", {"B1"});
    const QString empty = writeDictionary("empty.txt", {"   "});
    const QString gone = path("gone.txt");
    writeList({a, gone, b, empty});
    frmKao* w = open();
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    QVERIFY(m_dialogs->messages().front().text.contains(gone));
    QCOMPARE(m_dialogs->messages().front().buttons, Dialogs::Buttons::Ok);
    QCOMPARE(itemsOf(cboFile()), (QStringList{"animals", "b", "empty"}));
    QCOMPARE(cboFile()->currentIndex(), 0);
    QCOMPARE(itemsOf(cboData()), (QStringList{"(=^・^=)", "U^ｪ^U"}));
    QCOMPARE(cboData()->currentIndex(), -1);

    cboData()->setCurrentIndex(1);
    // Choosing the file already shown does not reload its entries.
    QTest::keyClick(cboFile(), Qt::Key_Up);
    QCOMPARE(cboData()->currentIndex(), 1);

    QTest::keyClick(cboFile(), Qt::Key_Down);
    QCOMPARE(itemsOf(cboData()), QStringList{"B1"});
    QCOMPARE(cboData()->currentIndex(), -1);
    QCOMPARE(w->LastFileIndex(), 1);
    QTest::keyClick(cboFile(), Qt::Key_Down);
    QCOMPARE(cboData()->count(), 0);
    QTest::keyClick(cboFile(), Qt::Key_Home);
    QCOMPARE(itemsOf(cboData()), (QStringList{"(=^・^=)", "U^ｪ^U"}));
    QCOMPARE(w->LastFileIndex(), 0);
}

void FrmKaoTest::longEntryIsShownShortAndCopiedWhole()
{
    // Shown whole, five million characters would hold the window for seconds.
    const QString huge(5'000'000, u'a');
    writeDictionary("Defolt.txt", {huge, "(^_^)"});
    open();
    activate();
    QCOMPARE(itemsOf(cboData()), (QStringList{dictionary::shownEntry(huge), "(^_^)"}));
    QCOMPARE(cboData()->itemText(0).size(), dictionary::kShownEntryLength + 1);
    QTest::keyClick(cboData(), Qt::Key_Down);
    QVERIFY(QGuiApplication::clipboard()->text() == huge);
    QTest::keyClick(cboData(), Qt::Key_Down);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("(^_^)"));
}

void FrmKaoTest::wheelChoosesNothing_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("fileRow");
    QTest::newRow("entry list, window in the background") << "cboData" << false << 0;
    QTest::newRow("entry list, window active") << "cboData" << true << 0;
    QTest::newRow("file list, window in the background") << "cboFile" << false << 0;
    QTest::newRow("file list, window active: another file is shown") << "cboFile" << true << 1;
}

void FrmKaoTest::wheelChoosesNothing()
{
    QFETCH(QString, list);
    QFETCH(bool, active);
    QFETCH(int, fileRow);
    writeList({writeDictionary("a.txt", {"A1", "A2"}), writeDictionary("b.txt", {"B1"})});
    frmKao* w = open();
    QWidget elsewhere;
    elsewhere.show();
    (active ? static_cast<QWidget*>(w) : &elsewhere)->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(active ? static_cast<QWidget*>(w) : &elsewhere));
    m_fg->existing.insert(kOther);
    m_fg->active = kOther;
    w->Timer1_Timer();
    QGuiApplication::clipboard()->setText(QStringLiteral("the user's own"));

    auto* box = child<QComboBox>(list.toLatin1().constData());
    // One notch down.
    QWheelEvent wheel(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &wheel);
    QCOMPARE(cboData()->currentIndex(), -1);
    QCOMPARE(cboFile()->currentIndex(), fileRow);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("the user's own"));
    QVERIFY(m_fg->activationRequests.isEmpty());
}

void FrmKaoTest::idleShrinking_data()
{
    // One letter per event: t a tick of tmrSmall, s movement over the window surface, f and
    // d over the two lists, u over the spin control, m minimised, n back to normal, r movement
    // over the strip of surface left under the title bar when shrunk.
    QTest::addColumn<QString>("events");
    QTest::addColumn<bool>("shrunk");
    QTest::newRow("one tick") << "t" << false;
    QTest::newRow("left alone: the second tick shrinks") << "tt" << true;
    QTest::newRow("movement over the surface starts again") << "tst" << false;
    QTest::newRow("shrunk, the strip left under the title bar restores") << "ttr" << false;
    QTest::newRow("movement over the file list does not count") << "tft" << true;
    QTest::newRow("movement over the entry list does not count") << "tdt" << true;
    QTest::newRow("movement over the spin control starts again") << "tut" << false;
    QTest::newRow("minimised ticks are not counted") << "tmtttn" << false;
    QTest::newRow("counting goes on after a minimise") << "tmttnt" << true;
}

void FrmKaoTest::idleShrinking()
{
    QFETCH(QString, events);
    QFETCH(bool, shrunk);
    frmKao* w = openWithDefault();
    QWidget* surface = w->centralWidget();
    const std::map<char, std::function<void()>> act = {
        {'t', [&] { w->tmrSmall_Timer(); }},
        {'s', [&] { QTest::mouseMove(surface, QPoint(2, surface->height() - 2)); }},
        {'r', [&] { QTest::mouseMove(surface, QPoint(10, 1)); }},
        {'f', [&] { QTest::mouseMove(cboFile(), QPoint(5, 5)); }},
        {'d', [&] { QTest::mouseMove(cboData(), QPoint(5, 5)); }},
        {'u', [&] { QTest::mouseMove(upDown1(), QPoint(5, 5)); }},
        {'m', [&] { w->setWindowState(Qt::WindowMinimized); }},
        {'n', [&] { w->setWindowState(Qt::WindowNoState); }},
    };
    for (const QChar event : events) {
        act.at(event.toLatin1())();
    }
    QCOMPARE(w->idle().Shrunk, shrunk);
    QCOMPARE(w->frameGeometry().size(), platform::pxSize(2700, shrunk ? 450 : 1800));
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{cboFile(), cboData(), upDown1(), w->menuBar()}) {
        QCOMPARE(hidden->isVisible(), !shrunk);
    }
}

void FrmKaoTest::restoringForgetsTheWidthSetWithTheSpinControl()
{
    frmKao* w = openWithDefault();
    upDown1()->setValue(4000);
    w->tmrSmall_Timer();
    w->tmrSmall_Timer();
    QTest::mouseMove(w->centralWidget(), QPoint(10, 1));
    QCOMPARE(w->frameGeometry().size(), platform::pxSize(2700, 1800));
    QCOMPARE(upDown1()->value(), 4000);
    QCOMPARE(cboData()->width(), px(2415));
}

void FrmKaoTest::shrinkingTakesTheFocusFromTheHiddenControls()
{
    frmKao* w = openWithDefault();
    activate();
    upDown1()->setFocus();
    w->tmrSmall_Timer();
    w->tmrSmall_Timer();
    QVERIFY(w->idle().Shrunk);
    QVERIFY(QApplication::focusWidget() != upDown1());
    // Up and Down go nowhere while the spin control is hidden.
    QTest::keyClick(w, Qt::Key_Up);
    QTest::keyClick(w, Qt::Key_Down);
    QTest::keyClick(w, Qt::Key_Down);
    QCOMPARE(upDown1()->value(), 2700);
    QCOMPARE(w->frameGeometry().size(), platform::pxSize(2700, 450));

    // Restored, the focus is back where it was.
    QTest::mouseMove(w->centralWidget(), QPoint(14, 1));
    QCOMPARE(QApplication::focusWidget(), upDown1());
}

void FrmKaoTest::entryListWidthFollowsTheWindow_data()
{
    QTest::addColumn<int>("outerWidth");
    QTest::addColumn<bool>("follows");
    QTest::newRow("exactly the full width keeps its own") << 2700 << false;
    QTest::newRow("one twip more follows the client width") << 2701 << true;
    QTest::newRow("narrowest keeps its own") << 600 << false;
}

void FrmKaoTest::entryListWidthFollowsTheWindow()
{
    QFETCH(int, outerWidth);
    QFETCH(bool, follows);
    frmKao* w = openWithDefault();
    upDown1()->setValue(outerWidth);
    QCOMPARE(w->frameGeometry().width(), px(outerWidth));
    const int border = platform::twips(w->frameGeometry().width() - w->width());
    QCOMPARE(cboData()->width(), px(follows ? outerWidth - border - 165 : 2415));
    QCOMPARE(cboFile()->width(), px(2415));
    QCOMPARE(child<QWidget>("Line1")->width(), w->width());
    QCOMPARE(child<QWidget>("Line2")->width(), w->width());
}

void FrmKaoTest::addingFiles()
{
    const QString a = writeDictionary("a.txt", {"A1", "  "});
    frmKao* w = open();
    // Started without any list: nothing to remove or edit.
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    QCOMPARE(m_dialogs->messages().front().text,
             QStringLiteral("ファイルをリストアップ用の保存ファイルが見つかりません。"));
    QVERIFY(!action("mnuDel")->isEnabled() && !action("mnuEdit")->isEnabled());
    m_dialogs->clear();

    // Cancelled: nothing changes and nothing is said.
    action("mnuAdd")->trigger();
    QCOMPARE(m_dialogs->fileAsks().size(), size_t(1));
    const auto& ask = m_dialogs->fileAsks().front();
    QVERIFY(!ask.save);
    QCOMPARE(ask.request.title, QStringLiteral("ファイルを開く"));
    QCOMPARE(ask.request.filter, QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt"));
    QCOMPARE(cboFile()->count(), 0);
    QCOMPARE(listBytes(), QByteArray("<missing>"));

    // Into the empty list: row 0, and remove and edit are offered again.
    m_dialogs->choose(a);
    action("mnuAdd")->trigger();
    QCOMPARE(itemsOf(cboFile()), QStringList{"a"});
    QCOMPARE(cboFile()->currentIndex(), 0);
    // Read right after the add, a line of spaces is an empty entry.
    QCOMPARE(itemsOf(cboData()), (QStringList{"A1", QString()}));
    QVERIFY(action("mnuDel")->isEnabled() && action("mnuEdit")->isEnabled());
    QCOMPARE(listBytes(), listOf({a}));

    // The same file again is listed twice, and shown.
    m_dialogs->choose(a);
    action("mnuAdd")->trigger();
    QCOMPARE(itemsOf(cboFile()), (QStringList{"a", "a"}));
    QCOMPARE(w->LastFileIndex(), 1);
    QCOMPARE(listBytes(), listOf({a, a}));

    // A name typed into the dialog that does not exist: its row and record stay, without
    // entries, the choice does not move and the list file is not rewritten.
    m_dialogs->choose(path("typo.txt"));
    action("mnuAdd")->trigger();
    QCOMPARE(itemsOf(cboFile()), (QStringList{"a", "a", "typo"}));
    QCOMPARE(w->dictFiles().count(), 3);
    QCOMPARE(cboFile()->currentIndex(), 1);
    QCOMPARE(listBytes(), listOf({a, a}));
    QVERIFY(m_dialogs->messages().empty());

    // Rows and records stay in step: removing the first row leaves the typed name second.
    QTest::keyClick(cboFile(), Qt::Key_Home);
    m_dialogs->answer(Dialogs::Answer::Yes);
    action("mnuDel")->trigger();
    QCOMPARE(itemsOf(cboFile()), (QStringList{"a", "typo"}));
    QCOMPARE(w->dictFiles().at(1).Path, path("typo.txt"));
    // Only the removal is applied to the file: the typed name was never listed there.
    QCOMPARE(listBytes(), listOf({a}));
}

void FrmKaoTest::addingAPipeIsRefusedWithTheReason()
{
    openWithDefault();
    m_dialogs->clear();
    const QString pipe = path("pipe.txt");
    QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    m_dialogs->choose(pipe);
    action("mnuAdd")->trigger();
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    QCOMPARE(m_dialogs->messages().front().text,
             QStringLiteral("ファイル「") + pipe + QStringLiteral("」は読み込めません。\r\n") +
                 QStringLiteral("通常のファイルではありません（パイプやデバイスなど）。"));
    QCOMPARE(itemsOf(cboFile()), QStringList{"Defolt"});
    QCOMPARE(listBytes(), listOf({path("Defolt.txt")}));
}

void FrmKaoTest::removeAsksAndKeepsTheRest()
{
    const QString a = writeDictionary("a.txt", {"A1"});
    const QString b = writeDictionary("b.txt", {"B1", "B2"});
    const QString c = writeDictionary("c.txt", {"C1"});
    writeList({a, b, c});
    frmKao* w = open();
    QTest::keyClick(cboFile(), Qt::Key_Down);

    // Answered No: nothing changes.
    m_dialogs->answer(Dialogs::Answer::No);
    action("mnuDel")->trigger();
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    const auto question = m_dialogs->messages().front();
    QCOMPARE(question.text, QStringLiteral("「b」への参照を削除します。(ファイル自体は削除されま"
                                           "せん）\r\nよろしいですか？"));
    QCOMPARE(question.buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(question.icon, Dialogs::Icon::Question);
    QCOMPARE(itemsOf(cboFile()), (QStringList{"a", "b", "c"}));
    QCOMPARE(itemsOf(cboData()), (QStringList{"B1", "B2"}));
    QCOMPARE(listBytes(), listOf({a, b, c}));

    // Yes: the first remaining file is shown; the file itself stays.
    m_dialogs->answer(Dialogs::Answer::Yes);
    action("mnuDel")->trigger();
    QCOMPARE(itemsOf(cboFile()), (QStringList{"a", "c"}));
    QCOMPARE(w->dictFiles().count(), 2);
    QCOMPARE(cboFile()->currentIndex(), 0);
    QCOMPARE(w->LastFileIndex(), 0);
    QCOMPARE(itemsOf(cboData()), QStringList{"A1"});
    QCOMPARE(listBytes(), listOf({a, c}));
    QVERIFY(QFile::exists(b));

    // Down to none: nothing left to remove or edit.
    for (int i = 0; i < 2; ++i) {
        m_dialogs->answer(Dialogs::Answer::Yes);
        action("mnuDel")->trigger();
    }
    QCOMPARE(cboFile()->count(), 0);
    QCOMPARE(cboData()->count(), 0);
    QVERIFY(!action("mnuDel")->isEnabled() && !action("mnuEdit")->isEnabled());
    QCOMPARE(listBytes(), QByteArray("\r\n"));
}

void FrmKaoTest::editHandsTheFileOverAndWaits()
{
    const QString a = writeDictionary("a.txt", {"A1"});
    const QString b = writeDictionary("b.txt", {"B1"});
    writeList({a, b});
    frmKao* w = open();
    QStringList handed;
    connect(w, &frmKao::editRequested, w, [&](const QString& p) {
        // The window is out of the way before the editor shows up.
        QVERIFY(!w->isVisible());
        handed << p;
    });

    // A file deleted since the window opened: said with its full path, and the list keeps it.
    QVERIFY(QFile::remove(a));
    action("mnuEdit")->trigger();
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    QCOMPARE(m_dialogs->messages().front().text, "「" + a + "」が見つかりません。");
    QVERIFY(w->isVisible() && handed.isEmpty());
    QCOMPARE(cboFile()->count(), 2);
    // A named pipe in its place is there, just not a file that can be edited.
    QCOMPARE(::mkfifo(QFile::encodeName(a).constData(), 0600), 0);
    m_dialogs->clear();
    action("mnuEdit")->trigger();
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    QCOMPARE(m_dialogs->messages().front().text,
             dictionary::refusalMessage(a, platform::FileProblem::NotRegularFile));
    QVERIFY(w->isVisible() && handed.isEmpty());
    QVERIFY(QFile::remove(a));

    QTest::keyClick(cboFile(), Qt::Key_Down);
    cboData()->setCurrentIndex(0);
    action("mnuEdit")->trigger();
    QCOMPARE(handed, QStringList{b});
    // Declined (the save question cancelled): back as it was, where it was.
    const QPoint place = w->pos();
    w->editDeclined();
    QVERIFY(w->isVisible());
    QCOMPARE(w->pos(), place);
    QCOMPARE(cboFile()->currentIndex(), 1);
    QCOMPARE(cboData()->currentIndex(), 0);

    action("mnuEdit")->trigger();
    QCOMPARE(handed.size(), 2);
    w->editAccepted();
    QVERIFY(!w->isVisible());
    QVERIFY(!child<QTimer>("tmrSmall")->isActive());
}

void FrmKaoTest::editAsksFirstWhenTheFileHoldsMoreThanShiftJis()
{
    const QString question =
        QStringLiteral("このファイルにはShift_JISで表せない文字が含まれています。"
                       "編集すると「?」に置き換わります。よろしいですか？");
    QFile utf8(path("bear.txt"));
    QVERIFY(utf8.open(QIODevice::WriteOnly));
    utf8.write(QStringLiteral("ʕ•ᴥ•ʔ\tくま\n(^o^)\tにこ\n").toUtf8());
    utf8.close();
    const QString plain = writeDictionary("plain.txt", {"(^_^)"});
    writeList({utf8.fileName(), plain});
    frmKao* w = open();
    QCOMPARE(cboData()->itemData(0).toString(), QStringLiteral("ʕ•ᴥ•ʔ"));
    QStringList handed;
    connect(w, &frmKao::editRequested, w, [&](const QString& p) { handed << p; });

    // No: nothing changes, the window stays.
    m_dialogs->answer(Dialogs::Answer::No);
    action("mnuEdit")->trigger();
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    QCOMPARE(m_dialogs->messages().front().text, question);
    QCOMPARE(m_dialogs->messages().front().buttons, Dialogs::Buttons::YesNo);
    QVERIFY(w->isVisible() && handed.isEmpty());

    // Yes: handed over as before.
    m_dialogs->clear();
    m_dialogs->answer(Dialogs::Answer::Yes);
    action("mnuEdit")->trigger();
    QCOMPARE(handed, QStringList{utf8.fileName()});
    w->editDeclined();

    // A code page 932 file is handed over without a question.
    m_dialogs->clear();
    QTest::keyClick(cboFile(), Qt::Key_Down);
    action("mnuEdit")->trigger();
    QVERIFY(m_dialogs->messages().empty());
    QCOMPARE(handed, (QStringList{utf8.fileName(), plain}));
}

void FrmKaoTest::searchAsYouType()
{
    QFile utf8(path("list.txt"));
    QVERIFY(utf8.open(QIODevice::WriteOnly));
    utf8.write(QByteArray("\xEF\xBB\xBF"));
    utf8.write(QStringLiteral("＼(^o^)／\tにこにこ ばんざい\tSMILE\n"
                              "ʕ•ᴥ•ʔ\tクマ\tANIMAL\n"
                              "( ˘ω˘ )\tすやぁ\n"
                              "(^o^)\tにこ\n")
                   .toUtf8());
    utf8.close();
    writeList({utf8.fileName()});
    frmKao* w = open();
    activate();
    // The user was in another program before coming here: a choice sends the focus back there.
    m_fg->active = kOther;
    w->Timer1_Timer();
    m_fg->active = w->winId();
    w->Timer1_Timer();
    const QRect before = cboData()->geometry();
    QLineEdit* edit = cboData()->lineEdit();
    QVERIFY(edit);
    auto* search = child<QCompleter>("cboDataSearch");
    QVERIFY(search);
    QAbstractItemView* popup = search->popup();
    const auto shown = [&] {
        QStringList items;
        for (int i = 0; i < search->completionModel()->rowCount(); ++i) {
            items << search->completionModel()->index(i, 0).data().toString();
        }
        return items;
    };
    cboData()->setFocus();

    // Typed katakana finds the hiragana reading, and the emoticon's own characters count.
    typeText(edit, QStringLiteral("ニコ"));
    QVERIFY(popup->isVisible());
    QCOMPARE(shown(), (QStringList{"＼(^o^)／", "(^o^)"}));
    edit->clear();
    typeText(edit, QStringLiteral("ω"));
    QCOMPARE(shown(), QStringList{"( ˘ω˘ )"});

    // Kana committed by an input method: hiragana finds a katakana reading; Enter copies the
    // whole emoticon, never its words, and the focus goes back.
    edit->clear();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("くま"));
    QApplication::sendEvent(edit, &commit);
    QCOMPARE(shown(), QStringList{"ʕ•ᴥ•ʔ"});
    QVERIFY(popup->isVisible());
    const qsizetype returnsBefore = m_fg->activationRequests.size();
    QTest::keyClick(popup, Qt::Key_Return);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ʕ•ᴥ•ʔ"));
    QCOMPARE(m_fg->activationRequests.size(), returnsBefore + 1);
    QCOMPARE(m_fg->activationRequests.last(), kOther);
    QVERIFY(!popup->isVisible());

    // Arrow keys move through the matches; Enter takes the one reached.
    edit->clear();
    typeText(edit, QStringLiteral("にこ"));
    QVERIFY(popup->isVisible());
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("(^o^)"));
    QCOMPARE(cboData()->currentIndex(), 3);

    // A click on a match.
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("SMILE"));
    QCOMPARE(shown(), QStringList{"＼(^o^)／"});
    const QRect first = popup->visualRect(search->completionModel()->index(0, 0));
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("＼(^o^)／"));

    // Nothing matches: no list; the typed text never becomes an entry.
    edit->clear();
    typeText(edit, QStringLiteral("ねこ"));
    QVERIFY(!popup->isVisible());
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(cboData()->count(), 4);
    QCOMPARE(cboData()->geometry(), before);
}

void FrmKaoTest::addingAPathTheListCannotHoldIsRefusedWithTheReason()
{
    openWithDefault();
    m_dialogs->clear();
    const QString odd = writeDictionary(QStringLiteral("ʕ•ᴥ•ʔ.txt"), {"(^_^)"});
    QVERIFY(!odd.isEmpty());
    m_dialogs->choose(odd);
    action("mnuAdd")->trigger();
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    QCOMPARE(m_dialogs->messages().front().text,
             QStringLiteral("ファイル「") + odd +
                 QStringLiteral("」はパスにShift_JISで表せない文字が含まれているため、"
                                "リストに追加できません。"));
    QCOMPARE(itemsOf(cboFile()), QStringList{"Defolt"});
    QCOMPARE(listBytes(), listOf({path("Defolt.txt")}));
}

QTEST_MAIN(FrmKaoTest)
#include "test_frmkao.moc"
