// The dictionary's edit command handed to the editor through the window registry, and a
// picture saved by the editor read back by the dictionary.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "ShownTitle.h"
#include "ScriptedDialogs.h"
#include "dictionary/DictionaryFiles.h"
#include "editor/CanvasController.h"
#include "editor/FileCommands.h"
#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"
#include "launcher/WindowRegistry.h"
#include "platform/AppPaths.h"

using namespace masumemo;
using launcher::WindowRegistry;
using platform::Dialogs;

namespace {

const QString kQuestion = QStringLiteral("内容が変更されています。　保存しますか？");

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class KaoKaraTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void handOver_data();
    void handOver();
    void savedCanvasReadsBackAsEntries();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString writeFile(const QString& name, const QByteArray& bytes) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testing::ScriptedDialogs> m_dialogs;
};

void KaoKaraTest::init()
{
    QStandardPaths::setTestModeEnabled(true);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
    m_dialogs = std::make_unique<testing::ScriptedDialogs>();
}

void KaoKaraTest::cleanup()
{
    flushDeletes();
    m_dialogs.reset();
    platform::AppPaths::setProgramDirectoryForTesting(QString());
    m_dir.reset();
}

QString KaoKaraTest::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the test file");
    }
    return path(name);
}

void KaoKaraTest::handOver_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("unchanged canvas: opened without a question")
        << QByteArray("(^_^)\r\n(T_T)\r\n") << false << int(Dialogs::Answer::Cancel) << true;
    QTest::newRow("changed canvas, No: the changes go")
        << QByteArray("(^_^)\r\n") << true << int(Dialogs::Answer::No) << true;
    QTest::newRow("changed canvas, Cancel: the dictionary comes back")
        << QByteArray("(^_^)\r\n") << true << int(Dialogs::Answer::Cancel) << false;
    // Listed and shown by the dictionary, but no text file for the editor.
    QTest::newRow("a file the editor cannot read: the dictionary comes back")
        << QByteArray("(^_^)\0\r\n", 8) << false << int(Dialogs::Answer::Cancel) << false;
}

void KaoKaraTest::handOver()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, accepted);
    const QString file = writeFile("kao.txt", bytes);
    writeFile("kaomoji.ini", (file + "\r\n").toUtf8());

    WindowRegistry registry;
    // The editor starts the hand-over open or not: a changed canvas needs it open already.
    if (modified) {
        editor::frmMain* editor = registry.showEditor();
        editor->txtMain()->setFocus();
        QTest::keyClicks(editor->txtMain(), "mine");
    }
    const std::u16string before =
        registry.editor() ? registry.editor()->canvas().text() : std::u16string();
    dictionary::frmKao* kao = registry.showDictionary();
    m_dialogs->answer(static_cast<Dialogs::Answer>(answer));
    kao->findChild<QAction*>("mnuEdit")->trigger();
    flushDeletes();

    editor::frmMain* editor = registry.editor();
    QVERIFY(editor && editor->isVisible());
    QCOMPARE(m_dialogs->messages().empty(), !modified && accepted);
    if (modified) {
        QCOMPARE(m_dialogs->messages()[0].text, kQuestion);
    }
    if (accepted) {
        // The dictionary window closed; the editor edits the dictionary file.
        QVERIFY(!registry.dictionary());
        QCOMPARE(editor->document().path(), file);
        QCOMPARE(testing::shownTitle(*editor), file + QStringLiteral(" - Masumemo"));
        QCOMPARE(QString::fromStdU16String(editor->canvas().text()).section("\r\n", 0, 0),
                 QStringLiteral("(^_^) "));
        QVERIFY(!editor->canvas().modified());
    } else {
        QVERIFY(registry.dictionary() && registry.dictionary()->isVisible());
        QVERIFY(editor->document().path().isEmpty());
        QCOMPARE(testing::shownTitle(*editor),
                 modified ? QStringLiteral("住所不定* - Masumemo") : QStringLiteral("住所不定 - Masumemo"));
        if (modified) {
            QVERIFY(editor->canvas().text() == before);
        }
    }
    editor->canvas().setModified(false);
    editor->close();
    if (registry.dictionary()) {
        registry.dictionary()->close();
    }
}

void KaoKaraTest::savedCanvasReadsBackAsEntries()
{
    WindowRegistry registry;
    editor::frmMain* editor = registry.showEditor();
    // Three pictures on rows 1, 2 and 4 of the blank 35 x 20 canvas; the rest stays blank.
    const std::vector<std::u16string> rows = {u"(^_^)", u"（´・ω・｀）", u"", u"orz"};
    std::u16string canvas;
    for (size_t i = 0; i < 20; ++i) {
        const std::u16string row = i < rows.size() ? rows[i] : std::u16string();
        canvas += (i ? u"\r\n" : u"") + grid::fitLineWidth(row, 35);
    }
    editor->canvas().resetCanvas(canvas, 35, 20);
    editor->canvas().setModified(true);
    m_dialogs->choose(path("saved.txt"));
    editor->mnuFileSave_Click();

    dictionary::DictFile record{path("saved.txt"), {}, false};
    QCOMPARE(dictionary::ReadDictionaryFile(record, true), dictionary::DictError::None);
    QCOMPARE(record.Entries, (QStringList{"(^_^)", "（´・ω・｀）", "orz"}));
    editor->close();
}

QTEST_MAIN(KaoKaraTest)
#include "test_kaokara.moc"
