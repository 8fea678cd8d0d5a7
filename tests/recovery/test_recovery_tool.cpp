// Snapshots through a real editor window: written once changes rest, removed when the work is
// saved, given up or the window ends, and offered back by the window "復元" only when their
// owner no longer runs; restoring brings the picture back modified, with its file untouched.

#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "FakeToolHost.h"
#include "ScriptedDialogs.h"
#include "ShownTitle.h"
#include "document/Document.h"
#include "editor/CanvasController.h"
#include "editor/CanvasWidget.h"
#include "editor/FileCommands.h"
#include "editor/frmMain.h"
#include "grid/LineModel.h"
#include "platform/AppPaths.h"
#include "recovery/RecoveryTool.h"
#include "recovery/frmRecovery.h"

using namespace masumemo;
using namespace masumemo::recovery;
using platform::Dialogs;

namespace {

/// A picture of 5 x 2 left by an instance that was killed.
Snapshot leftBehind(const QString& path)
{
    Snapshot s;
    s.timeMs = 1733660000000;
    s.path = path.toStdU16String();
    s.current = 0;
    s.pages.push_back({u"", u"(´･ω･`) \r\n\u3000\u3000\u3000\u3000\u3000", 5, 2, 3});
    return s;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

}  // namespace

class RecoveryToolTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void snapshotHoldsThePictureOnceChangesRest();
    void aQuietTimeOfZeroWritesOnTheNextTurn();
    void snapshotGoesWhenWorkIsSafeOrGivenUp_data();
    void snapshotGoesWhenWorkIsSafeOrGivenUp();
    void offersOnlySnapshotsWhoseOwnerIsGone();
    void restoreOpensThePictureAsItWas();
    void restoreAsksAboutUnsavedWorkFirst();
    void discardAsksFirst();
    void aDocumentOfPagesComesBackWhole();
    void aHostThatCannotOpenKeepsTheSnapshot();
    void nothingToOfferShowsNoWindow();

private:
    QString folder() const { return m_dir->filePath(QStringLiteral("state/masumemo/recovery")); }
    QString leftPath(const QString& instance) const
    {
        return folder() + QLatin1Char('/') + instance + QStringLiteral(".snapshot");
    }
    void makeTool();
    void type(const QString& keys);
    SnapshotRead ownSnapshot() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testing::ScriptedDialogs> m_dialogs;
    std::unique_ptr<editor::frmMain> m_window;
    std::unique_ptr<RecoveryTool> m_tool;
    Clock::time_point m_now{};
};

void RecoveryToolTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
    m_dialogs = std::make_unique<testing::ScriptedDialogs>();
    m_window = std::make_unique<editor::frmMain>();
    m_window->show();
    m_now = Clock::time_point(std::chrono::hours(1));
    makeTool();
}

void RecoveryToolTest::makeTool()
{
    m_tool = std::make_unique<RecoveryTool>(m_window->toolHost(), RecoverySetup{folder(), {}});
    QVERIFY(m_tool->store());
    m_tool->setClock([this] { return m_now; });
}

void RecoveryToolTest::cleanup()
{
    m_tool.reset();
    m_window.reset();
    m_dialogs.reset();
    platform::AppPaths::setProgramDirectoryForTesting(QString());
    m_dir.reset();
}

void RecoveryToolTest::type(const QString& keys)
{
    m_window->txtMain()->setFocus();
    QTest::keyClicks(m_window->txtMain(), keys);
}

SnapshotRead RecoveryToolTest::ownSnapshot() const
{
    m_tool->store()->waitForIdle();
    const QByteArray bytes = fileBytes(m_tool->store()->snapshotPath());
    return readSnapshot(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void RecoveryToolTest::snapshotHoldsThePictureOnceChangesRest()
{
    type(QStringLiteral("ab"));
    QVERIFY(m_tool->due().has_value());
    QCOMPARE(*m_tool->due(), m_now + std::chrono::seconds(2));
    m_tool->store()->waitForIdle();
    QVERIFY2(!QFile::exists(m_tool->store()->snapshotPath()), "written before the changes rested");

    m_tool->snapshotNow();
    const SnapshotRead read = ownSnapshot();
    QVERIFY(read.status == SnapshotRead::Status::Ok);
    const document::Document& doc = m_window->canvas().document();
    const Snapshot& snap = read.snapshot;
    QVERIFY(snap.path.empty());
    QCOMPARE(snap.pages.size(), size_t(1));
    QVERIFY(snap.pages[0].text == doc.page().text);
    QCOMPARE(snap.pages[0].keta, doc.page().keta);
    QCOMPARE(snap.pages[0].gyou, doc.page().gyou);
    QCOMPARE(snap.pages[0].caret, 2);
    QCOMPARE(QString::fromStdU16String(snap.fontFamily), m_window->txtMain()->font().family());
    QVERIFY(!m_tool->due().has_value());
}

void RecoveryToolTest::aQuietTimeOfZeroWritesOnTheNextTurn()
{
    m_tool = std::make_unique<RecoveryTool>(
        m_window->toolHost(),
        RecoverySetup{folder(), {std::chrono::milliseconds(0), std::chrono::milliseconds(0)}});
    type(QStringLiteral("x"));
    QTRY_VERIFY(QFile::exists(m_tool->store()->snapshotPath()));
    QVERIFY(ownSnapshot().status == SnapshotRead::Status::Ok);
}

void RecoveryToolTest::snapshotGoesWhenWorkIsSafeOrGivenUp_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("kept");
    QTest::newRow("saved") << "save" << false;
    QTest::newRow("No to the question of New") << "new" << false;
    QTest::newRow("No to the question of Open, a file opened") << "open" << false;
    // The picture is still on the canvas, unsaved: it stays safe.
    QTest::newRow("No to the question of Open, the dialog cancelled") << "open-cancelled" << true;
    QTest::newRow("Cancel to the question of New") << "new-cancelled" << true;
    QTest::newRow("the window ends normally") << "end" << false;
}

void RecoveryToolTest::snapshotGoesWhenWorkIsSafeOrGivenUp()
{
    QFETCH(QString, step);
    QFETCH(bool, kept);
    const QString other = m_dir->filePath(QStringLiteral("other.txt"));
    writeFile(other, "other\r\n");
    type(QStringLiteral("ab"));
    m_tool->snapshotNow();
    m_tool->store()->waitForIdle();
    const QString path = m_tool->store()->snapshotPath();
    QVERIFY(QFile::exists(path));

    if (step == QLatin1String("save")) {
        m_dialogs->choose(m_dir->filePath(QStringLiteral("a.txt")));
        QVERIFY(m_window->files().Save());
    } else if (step == QLatin1String("new") || step == QLatin1String("new-cancelled")) {
        m_dialogs->answer(step == QLatin1String("new") ? Dialogs::Answer::No
                                                       : Dialogs::Answer::Cancel);
        m_window->files().New();
    } else if (step.startsWith(QLatin1String("open"))) {
        m_dialogs->answer(Dialogs::Answer::No);
        m_dialogs->choose(step == QLatin1String("open") ? other : QString());
        m_window->files().Open();
    } else {
        m_tool.reset();
        QVERIFY(!QFile::exists(path));
        // Its lock went with it: nothing of the instance is left.
        QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
        return;
    }
    m_tool->store()->waitForIdle();
    QCOMPARE(QFile::exists(path), kept);
    QCOMPARE(m_window->canvas().modified(), kept);
}

void RecoveryToolTest::offersOnlySnapshotsWhoseOwnerIsGone()
{
    // A killed instance left one (its lock already gone), another left one cut off, and a
    // running instance keeps one of its own.
    const QString file = m_dir->filePath(QStringLiteral("a.txt"));
    const std::string good = snapshotBytes(leftBehind(file));
    writeFile(leftPath(QStringLiteral("10-1")), QByteArray::fromStdString(good));
    writeFile(leftPath(QStringLiteral("20-2")), QByteArray::fromStdString(good.substr(0, 40)));
    SnapshotStore running(folder());
    QVERIFY(running.ok());
    QVERIFY(running.writeNow(good));

    frmRecovery* window = m_tool->offer();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("復元"));
    auto* list = window->findChild<QTreeWidget*>(QStringLiteral("lstSnapshots"));
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("a.txt"));
    QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("(´･ω･`)"));
    QVERIFY(!list->topLevelItem(0)->text(1).isEmpty());
    QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("（読めない復元データ）"));
    QCOMPARE(list->topLevelItem(1)->text(2), QStringLiteral("途中で切れています"));
    auto* restoreButton = window->findChild<QPushButton*>(QStringLiteral("cmdRestore"));
    QVERIFY(restoreButton->isEnabled());
    list->setCurrentItem(list->topLevelItem(1));
    QVERIFY2(!restoreButton->isEnabled(), "a bad snapshot cannot be restored");
    QVERIFY(window->findChild<QPushButton*>(QStringLiteral("cmdDiscard"))->isEnabled());

    // "後で" keeps everything for the next start, the running instance's own untouched.
    window->findChild<QPushButton*>(QStringLiteral("cmdLater"))->click();
    QTRY_VERIFY(!window->isVisible());
    QVERIFY(QFile::exists(leftPath(QStringLiteral("10-1"))));
    QVERIFY(QFile::exists(leftPath(QStringLiteral("20-2"))));
    QVERIFY(QFile::exists(running.snapshotPath()));
    QVERIFY(!running.claim(running.instance()));
    QVERIFY2(!m_tool->store()->claim(running.instance()), "a running instance's snapshot was taken");
}

void RecoveryToolTest::restoreOpensThePictureAsItWas()
{
    const QString file = m_dir->filePath(QStringLiteral("a.txt"));
    writeFile(file, "on disk\r\n");
    const Snapshot left = leftBehind(file);
    writeFile(leftPath(QStringLiteral("10-1")), QByteArray::fromStdString(snapshotBytes(left)));

    frmRecovery* window = m_tool->offer();
    QVERIFY(window);
    QPointer<frmRecovery> alive(window);
    window->findChild<QPushButton*>(QStringLiteral("cmdRestore"))->click();

    const document::Document& doc = m_window->canvas().document();
    QVERIFY(doc.page().text == left.pages[0].text);
    QCOMPARE(m_window->canvas().keta(), 5);
    QCOMPARE(m_window->canvas().gyou(), 2);
    QCOMPARE(m_window->txtMain()->textCursor().position(), 3);
    QCOMPARE(doc.path(), file);
    QVERIFY(doc.modified());
    QCOMPARE(testing::shownTitle(*m_window), file + QStringLiteral("* - Masumemo"));
    QCOMPARE(fileBytes(file), QByteArray("on disk\r\n"));
    // The picture now lives in this instance's snapshot; the old one is gone with its files.
    QVERIFY(!QFile::exists(leftPath(QStringLiteral("10-1"))));
    const SnapshotRead own = ownSnapshot();
    QVERIFY(own.status == SnapshotRead::Status::Ok);
    QVERIFY(own.snapshot.pages[0].text == left.pages[0].text);
    QCOMPARE(QString::fromStdU16String(own.snapshot.path), file);
    // The last row restored closes the window.
    QTRY_VERIFY(!alive || !alive->isVisible());

    // Undo has nothing older than the restored picture to go back to.
    QVERIFY(!m_window->canvas().history().canUndo());

    // Saving writes the original file, and the work being safe, its snapshot goes.
    QVERIFY(m_window->files().Save());
    QCOMPARE(fileBytes(file), QByteArray("(\x81L\xa5\x83\xd6\xa5`)\r\n\r\n"));
    m_tool->store()->waitForIdle();
    QVERIFY(!QFile::exists(m_tool->store()->snapshotPath()));
}

void RecoveryToolTest::restoreAsksAboutUnsavedWorkFirst()
{
    type(QStringLiteral("mine"));
    const std::u16string mine = m_window->canvas().text();
    writeFile(leftPath(QStringLiteral("10-1")),
              QByteArray::fromStdString(snapshotBytes(leftBehind(QString()))));
    m_dialogs->answer(Dialogs::Answer::Cancel);
    QVERIFY(!m_tool->restore(QStringLiteral("10-1")));
    QVERIFY(m_window->canvas().text() == mine);
    QVERIFY(QFile::exists(leftPath(QStringLiteral("10-1"))));

    m_dialogs->answer(Dialogs::Answer::No);
    QVERIFY(m_tool->restore(QStringLiteral("10-1")));
    QCOMPARE(testing::shownTitle(*m_window), QStringLiteral("住所不定* - Masumemo"));
    QVERIFY(!QFile::exists(leftPath(QStringLiteral("10-1"))));
}

void RecoveryToolTest::discardAsksFirst()
{
    writeFile(leftPath(QStringLiteral("10-1")), "masumemo-snapshot 1\ntime 5\n12");
    frmRecovery* window = m_tool->offer();
    QVERIFY(window);
    auto* discardButton = window->findChild<QPushButton*>(QStringLiteral("cmdDiscard"));
    m_dialogs->answer(Dialogs::Answer::No);
    discardButton->click();
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    QVERIFY(m_dialogs->messages()[0].buttons == Dialogs::Buttons::YesNo);
    QVERIFY(QFile::exists(leftPath(QStringLiteral("10-1"))));
    QCOMPARE(window->rowCount(), 1);

    m_dialogs->answer(Dialogs::Answer::Yes);
    discardButton->click();
    QVERIFY(!QFile::exists(leftPath(QStringLiteral("10-1"))));
    QCOMPARE(QDir(folder()).entryList({QStringLiteral("10-1*")}, QDir::Files | QDir::Hidden),
             QStringList());
}

void RecoveryToolTest::aDocumentOfPagesComesBackWhole()
{
    // Three pages, the second shown and changed; the others never shown, so their text is
    // still only in the file's bytes when the snapshot is taken. LF line ends, which the file
    // keeps when it is saved.
    const QString file = m_dir->filePath(QStringLiteral("story.mlt"));
    // Trailing blanks and a blank line, which only the file's own bytes keep.
    const QByteArray onDisk("one  \n\n[SPLIT]\ntwo\n[SPLIT]\nthree \n");
    writeFile(file, onDisk);
    QVERIFY(m_window->files().FileOpen(file));
    document::Document& doc = m_window->canvas().document();
    QCOMPARE(doc.pageCount(), 3);
    doc.setCurrentIndex(1);
    type(QStringLiteral("x"));
    std::vector<std::u16string> texts;
    for (int i = 0; i < doc.pageCount(); ++i) {
        texts.push_back(doc.pageText(i));
    }
    m_tool->snapshotNow();
    const SnapshotRead read = ownSnapshot();
    QVERIFY(read.status == SnapshotRead::Status::Ok);
    QCOMPARE(read.snapshot.pages.size(), size_t(3));
    QCOMPARE(read.snapshot.current, 1);
    QVERIFY(read.snapshot.format == Snapshot::Format::Mlt);
    for (size_t i = 0; i < texts.size(); ++i) {
        QVERIFY2(read.snapshot.pages[i].text == texts[i], qPrintable(QString::number(i)));
    }

    // Left behind by an instance that was killed, it comes back as the same three pages.
    const QByteArray snapshot = fileBytes(m_tool->store()->snapshotPath());
    writeFile(leftPath(QStringLiteral("10-1")), snapshot);
    m_dialogs->answer(Dialogs::Answer::No);
    m_window->files().New();
    QCOMPARE(doc.pageCount(), 1);
    QVERIFY(m_tool->restore(QStringLiteral("10-1")));
    QCOMPARE(doc.pageCount(), 3);
    QCOMPARE(doc.currentIndex(), 1);
    QVERIFY(doc.form().format == document::FileForm::Format::Mlt);
    QVERIFY(doc.form().lineEnds == document::LineEnds::Lf);
    QCOMPARE(doc.path(), file);
    QVERIFY(doc.modified());
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(doc.pageText(i) == texts[static_cast<size_t>(i)], qPrintable(QString::number(i)));
    }
    QVERIFY(m_window->canvas().text() == texts[1]);
    QCOMPARE(fileBytes(file), onDisk);

    // Saved, the pages never touched are the file's bytes as they were; only the second
    // page is written anew.
    QVERIFY(m_window->files().FileSave());
    const QByteArray saved = fileBytes(file);
    QVERIFY2(saved.startsWith("one  \n\n[SPLIT]\n") && saved.endsWith("\n[SPLIT]\nthree \n") &&
                 !saved.contains("\ntwo\n"),
             saved.constData());

    // A page the file no longer holds as it was is written as a changed page; the others
    // are found where they went.
    writeFile(leftPath(QStringLiteral("10-2")), snapshot);
    writeFile(file, "three \n[SPLIT]\nONE\n");
    QVERIFY(m_tool->restore(QStringLiteral("10-2")));
    QVERIFY(m_window->files().FileSave());
    const QByteArray rewritten = fileBytes(file);
    QVERIFY2(rewritten.startsWith("one\n[SPLIT]\n") && rewritten.endsWith("\n[SPLIT]\nthree \n"),
             rewritten.constData());
}

void RecoveryToolTest::aHostThatCannotOpenKeepsTheSnapshot()
{
    // A canvas without the editor's file commands cannot take a document: nothing is lost.
    testing::FakeToolHost bare;
    RecoveryTool tool(bare.host, RecoverySetup{folder(), {}});
    writeFile(leftPath(QStringLiteral("10-1")),
              QByteArray::fromStdString(snapshotBytes(leftBehind(QString()))));
    QVERIFY(!tool.restore(QStringLiteral("10-1")));
    QVERIFY(QFile::exists(leftPath(QStringLiteral("10-1"))));
    // Its claim was let go: the snapshot is offered again.
    QVERIFY(tool.store()->claim(QStringLiteral("10-1")));
}

void RecoveryToolTest::nothingToOfferShowsNoWindow()
{
    QVERIFY(!m_tool->offer());
    {
        // Another running instance with a snapshot is no reason to ask.
        SnapshotStore running(folder());
        QVERIFY(running.writeNow(snapshotBytes(leftBehind(QString()))));
        QVERIFY(!m_tool->offer());
    }
    // It ended without removing its snapshot, as a killed instance does: now it is offered.
    frmRecovery* window = m_tool->offer();
    QVERIFY(window);
    QCOMPARE(window->rowCount(), 1);
}

QTEST_MAIN(RecoveryToolTest)
#include "test_recovery_tool.moc"
