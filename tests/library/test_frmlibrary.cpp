// The parts window on a real editor window: a collection in a temporary folder (hand-written
// files with bad ones among them, and one built from the text-art corpus), choosing, inserting
// with its undo step, copying, opening as a new canvas, adding to files, searching, the folders
// kept in the program's settings, and a file changed on disk.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <memory>
#include <thread>

#include "ShownTitle.h"
#include "Corpus.h"
#include "ScriptedDialogs.h"
#include "editor/FileCommands.h"
#include "library/LibraryTool.h"
#include "editor/frmMain.h"
#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"
#include "library/frmLibrary.h"
#include "platform/AppPaths.h"
#include "platform/ProgramSettings.h"

using namespace masumemo;
using editor::frmMain;
using library::frmLibrary;
using library::PartRef;

namespace {

QByteArray cp932(const QString& text)
{
    return QByteArray::fromStdString(grid::encodeCp932(text.toStdU16String()));
}

QString q(std::u16string_view s)
{
    return QString::fromStdU16String(std::u16string(s));
}

QStringList linesOf(const std::u16string& canvas)
{
    QStringList lines;
    for (const std::u16string& line : grid::canvasLines(canvas)) {
        lines << q(line);
    }
    return lines;
}

/// Types text into box: ASCII by keys, anything else as an input method commits it.
void typeInto(QLineEdit* box, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(box, c.toLatin1());
        } else {
            box->insert(c);
        }
    }
}

}  // namespace

class LibraryWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listsFilesAndSkipsBadOnes();
    void insertsAtTheCaretAsOneUndoStep();
    void copiesAndOpensAsNew();
    void addsTheCanvasToFiles();
    void searchesAsTheUserTypes();
    void foldersAreRemembered();
    void foldersOfTwoWindowsBothKept();
    void fileChangedOnDiskIsReadAgain();
    void addedPartsKeepTheFilesLineEndsAndLeaveOutBlankLines();
    void anotherWriterLosesNothing();
    void searchFaults();
    void corpusCollection();

private:
    QString write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    /// A library window on the collection folder, indexed.
    void openLibrary();
    int fileNamed(const QString& name) const;
    /// Chooses part of the file called name.
    void choose(const QString& name, int part);
    QPushButton* command(const char* name) const;
    QString preview() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_collection;
    std::unique_ptr<testing::ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_editor;
    frmLibrary* m_library = nullptr;  // a child of the editor
};

void LibraryWindowTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
    m_collection = m_dir->filePath(QStringLiteral("parts"));
    QVERIFY(QDir().mkpath(m_collection + QStringLiteral("/more")));
    platform::openProgramSettings()->setValue(QLatin1String(frmLibrary::kFoldersKey),
                                              QStringList{m_collection});
    write(QStringLiteral("faces.mlt"),
          cp932(QStringLiteral("ab\r\n[SPLIT]\r\nあい\r\nうえ\r\n[SPLIT]\r\n&#x263A;x\r\n")));
    write(QStringLiteral("more/hands.ast"),
          cp932(QStringLiteral("[AA][右手]\r\n ｜\r\n[AA][]\r\nＬ\r\n")));
    write(QStringLiteral("more/photo.mlt"), QByteArray("\x89PNG\0\0", 6));
    write(QStringLiteral("one.txt"), "x\r\n");
    write(QStringLiteral("notes.doc"), "ignored");
    QFile::link(m_collection, m_collection + QStringLiteral("/more/loop"));
    QFile::link(m_dir->filePath(QStringLiteral("gone")), m_collection + QStringLiteral("/gone.ast"));
    m_dialogs = std::make_unique<testing::ScriptedDialogs>();
    m_editor = std::make_unique<frmMain>();
    m_editor->show();
}

void LibraryWindowTest::cleanup()
{
    m_editor->canvas().setModified(false);
    m_editor.reset();
    m_library = nullptr;
    m_dialogs.reset();
    platform::AppPaths::setProgramDirectoryForTesting(QString());
    m_dir.reset();
}

QString LibraryWindowTest::write(const QString& name, const QByteArray& bytes) const
{
    const QString path = m_collection + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the test file");
    }
    return path;
}

QByteArray LibraryWindowTest::read(const QString& name) const
{
    QFile file(m_collection + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void LibraryWindowTest::openLibrary()
{
    m_library = new frmLibrary(library::partsCanvas(m_editor->toolHost()), m_editor.get());
    m_library->setSearchDelay(0);
    m_library->show();
    m_library->index().waitForIdle();
}

int LibraryWindowTest::fileNamed(const QString& name) const
{
    return m_library->index().fileOf(m_collection + QLatin1Char('/') + name);
}

void LibraryWindowTest::choose(const QString& name, int part)
{
    const int file = fileNamed(name);
    QVERIFY2(file >= 0, qPrintable(name));
    m_library->chooseFile(file);
    m_library->choosePart(part);
    QCOMPARE(m_library->currentPart(), (PartRef{file, part}));
}

QPushButton* LibraryWindowTest::command(const char* name) const
{
    return m_library->findChild<QPushButton*>(QLatin1String(name));
}

QString LibraryWindowTest::preview() const
{
    return m_library->findChild<QPlainTextEdit*>(QStringLiteral("txtPreview"))->toPlainText();
}

void LibraryWindowTest::listsFilesAndSkipsBadOnes()
{
    openLibrary();
    QCOMPARE(m_library->windowTitle(), QStringLiteral("AA素材"));
    QVERIFY(!m_library->isModal());
    const library::LibraryIndex& index = m_library->index();
    QCOMPARE(index.fileCount(), 4);  // the loop is walked once, notes.doc is no parts file
    QCOMPARE(index.file(fileNamed(QStringLiteral("faces.mlt"))).partCount(), 3);
    QCOMPARE(index.file(fileNamed(QStringLiteral("one.txt"))).partCount(), 1);
    QVERIFY(!index.file(fileNamed(QStringLiteral("more/photo.mlt"))).notice.isEmpty());
    // A dangling link and the loop are noticed.
    QCOMPARE(index.notices().size(), 2);
    QVERIFY(index.notices().front().contains(QStringLiteral("gone.ast")));
    QVERIFY(index.notices().back().contains(QStringLiteral("loop")));

    // AST parts by name (an empty name by its number), the others by number.
    choose(QStringLiteral("more/hands.ast"), 0);
    const auto* list = m_library->findChild<QListView*>(QStringLiteral("lstParts"));
    QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("右手"));
    QCOMPARE(list->model()->index(1, 0).data().toString(), QStringLiteral("2"));
    QCOMPARE(preview(), QStringLiteral(" ｜"));
    choose(QStringLiteral("faces.mlt"), 2);
    QCOMPARE(list->model()->index(2, 0).data().toString(), QStringLiteral("3"));
    QCOMPARE(preview(), QStringLiteral("☺x"));
    QCOMPARE(m_library->findChild<QPlainTextEdit*>(QStringLiteral("txtPreview"))->font(),
             m_editor->txtMain()->font());
}

void LibraryWindowTest::insertsAtTheCaretAsOneUndoStep()
{
    m_editor->canvas().resetCanvas(grid::blankCanvas(3, 3), 3, 3);
    openLibrary();
    choose(QStringLiteral("faces.mlt"), 1);
    m_editor->setCanvasCaret(5 + 1);  // line 2, after its first cell
    const size_t entries = m_editor->history().entries().size();
    QTest::mouseClick(command("cmdInsert"), Qt::LeftButton);
    // Laid over as a paste: cut at the edge of the 6-unit lines, nothing pushed aside.
    QCOMPARE(linesOf(m_editor->canvas().text()),
             (QStringList{QStringLiteral("　　　"), QStringLiteral("　あい"),
                          QStringLiteral("　うえ")}));
    QCOMPARE(m_editor->history().entries().size(), entries + 1);
    QVERIFY(m_editor->canvas().modified());
    m_editor->canvas().undo();
    QCOMPARE(m_editor->canvas().text(), grid::blankCanvas(3, 3));

    // Enter and a double-click on the list insert too.
    m_editor->setCanvasCaret(0);
    choose(QStringLiteral("faces.mlt"), 0);
    auto* list = m_library->findChild<QListView*>(QStringLiteral("lstParts"));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(linesOf(m_editor->canvas().text()).front(), QStringLiteral("ab　　"));
    m_editor->setCanvasCaret(4 + 2);  // "ab　　" and its line break
    const QRect row = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(linesOf(m_editor->canvas().text()).mid(0, 2),
             (QStringList{QStringLiteral("ab　　"), QStringLiteral("ab　　")}));
    m_editor->canvas().undo();
    QCOMPARE(linesOf(m_editor->canvas().text()).mid(0, 2),
             (QStringList{QStringLiteral("ab　　"), QStringLiteral("　　　")}));

    // A character code page 932 lacks ("&#x263A;" in the file) goes in as itself, not as "?".
    m_editor->setCanvasCaret(0);
    choose(QStringLiteral("faces.mlt"), 2);
    QTest::mouseClick(command("cmdInsert"), Qt::LeftButton);
    QCOMPARE(linesOf(m_editor->canvas().text()).front(), QStringLiteral("☺x　　"));
}

void LibraryWindowTest::copiesAndOpensAsNew()
{
    openLibrary();
    choose(QStringLiteral("faces.mlt"), 1);
    QTest::mouseClick(command("cmdCopy"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("あい\nうえ"));

    // A changed canvas asks first; Cancel keeps it, No opens the part fitted as a file is.
    m_editor->canvas().setModified(true);
    const std::u16string before = m_editor->canvas().text();
    m_dialogs->answer(platform::Dialogs::Answer::Cancel);
    QTest::mouseClick(command("cmdOpen"), Qt::LeftButton);
    QCOMPARE(m_editor->canvas().text(), before);
    choose(QStringLiteral("faces.mlt"), 2);
    m_dialogs->answer(platform::Dialogs::Answer::No);
    QTest::mouseClick(command("cmdOpen"), Qt::LeftButton);
    QCOMPARE(m_dialogs->messages().size(), 2u);
    // The file opens as its pages, the chosen part's page shown on the canvas of the largest.
    // "☺" has no code page 932 form: the canvas keeps it, one unit wide.
    QCOMPARE(m_editor->document().pageCount(), 3);
    QCOMPARE(m_editor->document().currentIndex(), 2);
    QCOMPARE(linesOf(m_editor->canvas().text()),
             (QStringList{QStringLiteral("☺x　"), QStringLiteral("　　")}));
    QCOMPARE(m_editor->canvas().keta(), 2);
    QCOMPARE(m_editor->canvas().gyou(), 2);
    QVERIFY(!m_editor->canvas().modified());
    QCOMPARE(testing::shownTitle(*m_editor),
             m_collection + QStringLiteral("/faces.mlt - Masumemo"));
}

void LibraryWindowTest::addsTheCanvasToFiles()
{
    m_editor->canvas().resetCanvas(u"ｱｲ　\r\nｳｴ　", 2, 2);
    openLibrary();
    choose(QStringLiteral("more/hands.ast"), 0);

    // The whole canvas, named, to the AST offered; the window shows the new part at once.
    m_dialogs->choose(m_collection + QStringLiteral("/more/hands.ast"));
    m_dialogs->type(QStringLiteral("新しい手"));
    QTest::mouseClick(command("cmdAdd"), Qt::LeftButton);
    QCOMPARE(m_dialogs->fileAsks().back().request.initialPath,
             m_collection + QStringLiteral("/more/hands.ast"));
    QCOMPARE(read(QStringLiteral("more/hands.ast")),
             cp932(QStringLiteral("[AA][右手]\r\n ｜\r\n[AA][]\r\nＬ\r\n[AA][新しい手]\r\nｱｲ\r\nｳｴ\r\n")));
    // The file is read again in the background; the new part is chosen once it is in.
    QVERIFY(m_library->index().reindexing(fileNamed(QStringLiteral("more/hands.ast"))));
    m_library->index().waitForIdle();
    QCOMPARE(m_library->currentPart(), (PartRef{fileNamed(QStringLiteral("more/hands.ast")), 2}));
    QCOMPARE(preview(), QStringLiteral("ｱｲ\nｳｴ"));

    // The selection only, to an MLT; no name is asked. Cancelling the name adds nothing.
    m_editor->txtMain()->setSelection(1, 1);
    m_dialogs->choose(m_collection + QStringLiteral("/faces.mlt"));
    QTest::mouseClick(command("cmdAdd"), Qt::LeftButton);
    QVERIFY(read(QStringLiteral("faces.mlt")).endsWith("x\r\n[SPLIT]\r\n\xB2\r\n"));
    QCOMPARE(m_dialogs->prompts().size(), 1);
    const QByteArray ast = read(QStringLiteral("more/hands.ast"));
    m_dialogs->choose(m_collection + QStringLiteral("/more/hands.ast"));
    QTest::mouseClick(command("cmdAdd"), Qt::LeftButton);
    QCOMPARE(read(QStringLiteral("more/hands.ast")), ast);

    // A new file outside the collection is made and joins it; TXT files take no parts.
    const QString outside = m_dir->filePath(QStringLiteral("new.mlt"));
    m_editor->txtMain()->setSelection(0, 0);
    m_dialogs->choose(outside);
    QTest::mouseClick(command("cmdAdd"), Qt::LeftButton);
    m_library->index().waitForIdle();
    QVERIFY(m_library->folders().contains(outside));
    QCOMPARE(m_library->currentPart(), (PartRef{m_library->index().fileOf(outside), 0}));
    m_dialogs->choose(m_collection + QStringLiteral("/one.txt"));
    QTest::mouseClick(command("cmdAdd"), Qt::LeftButton);
    QCOMPARE(read(QStringLiteral("one.txt")), QByteArray("x\r\n"));
    QCOMPARE(m_dialogs->messages().back().icon, platform::Dialogs::Icon::Warning);
}

void LibraryWindowTest::searchesAsTheUserTypes()
{
    write(QStringLiteral("smile.mlt"), cp932(QStringLiteral("ニコ\r\n")));
    openLibrary();
    auto* box = m_library->findChild<QLineEdit*>(QStringLiteral("txtSearch"));
    const auto hits = [&](const QString& query) {
        box->clear();
        typeInto(box, query);
        m_library->index().waitForIdle();
        QVector<PartRef> found;
        for (int r = 0; r < m_library->parts().rowCount(); ++r) {
            found << m_library->parts().partAt(r);
        }
        return found;
    };
    const int faces = fileNamed(QStringLiteral("faces.mlt"));
    const int hands = fileNamed(QStringLiteral("more/hands.ast"));
    QCOMPARE(hits(QStringLiteral("うえ")), (QVector<PartRef>{{faces, 1}}));
    QCOMPARE(hits(QStringLiteral("右")), (QVector<PartRef>{{hands, 0}}));  // by name
    QCOMPARE(hits(QStringLiteral("X")), (QVector<PartRef>{{faces, 2}, {fileNamed(QStringLiteral("one.txt")), 0}}));
    // Kana in either script, as Egaocho finds them.
    QCOMPARE(hits(QStringLiteral("にこ")),
             (QVector<PartRef>{{fileNamed(QStringLiteral("smile.mlt")), 0}}));
    QCOMPARE(hits(QStringLiteral("ウエ")), (QVector<PartRef>{{faces, 1}}));
    QCOMPARE(hits(QStringLiteral("none")), QVector<PartRef>{});
    QCOMPARE(m_library->parts().data(m_library->parts().index(0, 0)), QVariant());
    hits(QStringLiteral("ab"));
    QCOMPARE(m_library->parts().data(m_library->parts().index(0, 0)).toString(),
             QStringLiteral("faces.mlt : 1"));
    // Clearing the box shows the chosen file's parts again.
    choose(QStringLiteral("faces.mlt"), 0);
    box->clear();
    QVERIFY(!m_library->parts().showsHits());
}

void LibraryWindowTest::foldersAreRemembered()
{
    openLibrary();
    const QString extra = m_dir->filePath(QStringLiteral("extra"));
    QVERIFY(QDir().mkpath(extra));
    m_dialogs->choose(extra);
    QTest::mouseClick(command("cmdFolderAdd"), Qt::LeftButton);
    QCOMPARE(platform::openProgramSettings()->value(frmLibrary::kFoldersKey).toStringList(),
             (QStringList{m_collection, extra}));

    // The first root chosen in the tree and removed.
    auto* tree = m_library->findChild<QTreeView*>(QStringLiteral("tvwFiles"));
    m_library->index().waitForIdle();
    tree->setCurrentIndex(tree->model()->index(0, 0));
    QTest::mouseClick(command("cmdFolderRemove"), Qt::LeftButton);
    QCOMPARE(platform::openProgramSettings()->value(frmLibrary::kFoldersKey).toStringList(),
             QStringList{extra});

    // A path opened for the session is shown but not remembered.
    m_library->openOn(m_collection + QStringLiteral("/faces.mlt"));
    m_library->index().waitForIdle();
    QCOMPARE(m_library->index().roots(),
             (QStringList{extra, m_collection + QStringLiteral("/faces.mlt")}));
    QCOMPARE(m_library->parts().shownFile(), 0);
    QCOMPARE(platform::openProgramSettings()->value(frmLibrary::kFoldersKey).toStringList(),
             QStringList{extra});
}

void LibraryWindowTest::foldersOfTwoWindowsBothKept()
{
    // Two windows (as in two copies of the program) read the same folders; one adds a folder,
    // then the other removes the one it had: both changes are kept.
    openLibrary();
    const QString extra = m_dir->filePath(QStringLiteral("extra"));
    QVERIFY(QDir().mkpath(extra));
    {
        frmLibrary other(library::partsCanvas(m_editor->toolHost()));
        m_dialogs->choose(extra);
        other.addFolder();
        other.index().waitForIdle();
    }
    auto* tree = m_library->findChild<QTreeView*>(QStringLiteral("tvwFiles"));
    tree->setCurrentIndex(tree->model()->index(0, 0));
    QTest::mouseClick(command("cmdFolderRemove"), Qt::LeftButton);
    QCOMPARE(platform::openProgramSettings()->value(frmLibrary::kFoldersKey).toStringList(),
             QStringList{extra});
    QCOMPARE(m_library->folders(), QStringList{extra});
}

void LibraryWindowTest::fileChangedOnDiskIsReadAgain()
{
    openLibrary();
    choose(QStringLiteral("faces.mlt"), 1);
    // Rewritten with other parts (and another size): the next read indexes it again.
    write(QStringLiteral("faces.mlt"), cp932(QStringLiteral("zz\r\n[SPLIT]\r\nかき\r\n")));
    // Read again in the background: the window does not wait, and the old parts are not read
    // meanwhile.
    QVERIFY(m_library->index().refreshIfChanged(fileNamed(QStringLiteral("faces.mlt"))));
    QVERIFY(m_library->index().reindexing(fileNamed(QStringLiteral("faces.mlt"))));
    QCOMPARE(m_library->index().partText({fileNamed(QStringLiteral("faces.mlt")), 1}),
             std::nullopt);
    m_library->index().waitForIdle();
    QCOMPARE(m_library->parts().rowCount(), 2);
    QCOMPARE(preview(), QStringLiteral("かき"));
    // Removed: nothing to insert, and a message says so.
    QFile::remove(m_collection + QStringLiteral("/faces.mlt"));
    QTest::mouseClick(command("cmdInsert"), Qt::LeftButton);
    QCOMPARE(m_dialogs->messages().size(), 1u);
    m_library->index().waitForIdle();
    QCOMPARE(m_library->parts().rowCount(), 0);
    // A missing file is not read again and again.
    QVERIFY(!m_library->index().refreshIfChanged(fileNamed(QStringLiteral("faces.mlt"))));
}

void LibraryWindowTest::addedPartsKeepTheFilesLineEndsAndLeaveOutBlankLines()
{
    // A three-line drawing on a canvas of six lines: its blank lines are no part of it.
    m_editor->canvas().resetCanvas(u"ab　\r\n　　　\r\nｱ　　\r\n　　　\r\n　　　\r\n   ", 3, 6);
    write(QStringLiteral("lf.mlt"), "a\n[SPLIT]\nb\n");
    openLibrary();
    m_dialogs->choose(m_collection + QStringLiteral("/lf.mlt"));
    QTest::mouseClick(command("cmdAdd"), Qt::LeftButton);
    QCOMPARE(read(QStringLiteral("lf.mlt")), QByteArray("a\n[SPLIT]\nb\n[SPLIT]\nab\n\n\xB1\n"));
    m_library->index().waitForIdle();
    const int lf = fileNamed(QStringLiteral("lf.mlt"));
    QCOMPARE(m_library->currentPart(), (PartRef{lf, 2}));

    // The status counts follow: 3 + 2 + 1 + 3 parts.
    const auto* status = m_library->findChild<QLabel*>(QStringLiteral("lblStatus"));
    QVERIFY2(status->text().startsWith(QStringLiteral("5 ファイル・9 個")),
             qPrintable(status->text()));

    // Opened as a new canvas, the part keeps its empty line, last one included.
    write(QStringLiteral("lf.mlt"), "a\n[SPLIT]\nb\n\n\n[SPLIT]\nc\n[SPLIT]\nd\n");
    m_library->index().refreshIfChanged(lf);
    m_library->index().waitForIdle();
    QVERIFY2(status->text().startsWith(QStringLiteral("5 ファイル・10 個")),
             qPrintable(status->text()));
    choose(QStringLiteral("lf.mlt"), 1);
    m_dialogs->answer(platform::Dialogs::Answer::No);
    QTest::mouseClick(command("cmdOpen"), Qt::LeftButton);
    QCOMPARE(m_editor->canvas().gyou(), 3);

    // A new file in a folder already listed is listed in it, not as a folder of its own.
    const QString inside = m_collection + QStringLiteral("/more/new.mlt");
    m_dialogs->choose(inside);
    QTest::mouseClick(command("cmdAdd"), Qt::LeftButton);
    m_library->index().waitForIdle();
    QCOMPARE(m_library->folders(), QStringList{m_collection});
    QCOMPARE(m_library->index().roots(), QStringList{m_collection});
    QCOMPARE(m_library->currentPart(), (PartRef{m_library->index().fileOf(inside), 0}));
}

void LibraryWindowTest::anotherWriterLosesNothing()
{
    // Another program appends parts to the file while parts are added to it here.
    const QString path = write(QStringLiteral("shared.mlt"), "start\r\n");
    m_editor->canvas().resetCanvas(u"ours", 4, 1);
    openLibrary();
    constexpr int kTheirs = 400;
    constexpr int kOurs = 40;
    std::thread other([&] {
        for (int i = 0; i < kTheirs; ++i) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
                file.write("[SPLIT]\r\ntheirs\r\n");
            }
        }
    });
    for (int i = 0; i < kOurs; ++i) {
        m_dialogs->choose(path);
        m_library->addToParts();
    }
    other.join();
    int ours = 0;
    int theirs = 0;
    for (const QByteArray& line : read(QStringLiteral("shared.mlt")).split('\n')) {
        ours += line == "ours\r";
        theirs += line == "theirs\r";
    }
    // Every add of ours is in the file, or the user was told it could not be made; on a busy
    // machine the other writer's burst may outlast the tries.
    int told = 0;
    for (const auto& m : m_dialogs->messages()) {
        told += m.text.contains(QStringLiteral("書き換えられ続けている")) ? 1 : 0;
    }
    QCOMPARE(theirs, kTheirs);
    QCOMPARE(ours + told, kOurs);
    QVERIFY(ours > 0);
}

void LibraryWindowTest::searchFaults()
{
    // One file of more parts than a search gives.
    QByteArray many;
    for (int i = 0; i <= library::LibraryIndex::kMaxHits; ++i) {
        many += "q\n[SPLIT]\n";
    }
    write(QStringLiteral("many.mlt"), many);
    // A large file last, so the search typed below has its hits in long before indexing ends.
    write(QStringLiteral("zz-large.mlt"), QByteArray(32 << 20, 'z'));
    m_library = new frmLibrary(library::partsCanvas(m_editor->toolHost()), m_editor.get());
    m_library->setSearchDelay(0);
    m_library->show();
    // Typed while the files are still being indexed, once the first is in: each hit is listed
    // once when indexing ends.
    auto* box = m_library->findChild<QLineEdit*>(QStringLiteral("txtSearch"));
    connect(&m_library->index(), &library::LibraryIndex::fileIndexed, box, [box] {
        if (box->text().isEmpty()) {
            typeInto(box, QStringLiteral("ab"));
        }
    });
    QTRY_VERIFY(!m_library->index().indexing());
    m_library->index().waitForIdle();
    QCOMPARE(m_library->parts().rowCount(), 1);
    const auto* status = m_library->findChild<QLabel*>(QStringLiteral("lblStatus"));
    QVERIFY2(status->text().contains(QStringLiteral("検索: 1 件")), qPrintable(status->text()));

    // A search that reaches its cap says so.
    box->clear();
    typeInto(box, QStringLiteral("q"));
    m_library->index().waitForIdle();
    QCOMPARE(m_library->parts().rowCount(), library::LibraryIndex::kMaxHits);
    QVERIFY2(status->text().contains(QStringLiteral("検索: 100000 件以上")),
             qPrintable(status->text()));

    // Cleared with no file chosen: no file's parts are shown.
    box->clear();
    QCOMPARE(m_library->parts().shownFile(), -1);
    QCOMPARE(m_library->parts().rowCount(), 0);
}

void LibraryWindowTest::corpusCollection()
{
    if (const char* reason = testing::corpusSkipReason()) {
        QSKIP(reason);
    }
    const auto pictures = testing::corpusPictures();
    // The pictures joined into MLT files of 200 parts and one AST file named after them.
    QByteArray mlt;
    QByteArray ast;
    int files = 0;
    std::vector<std::u16string> texts;
    for (size_t i = 0; i < pictures.size(); ++i) {
        std::u16string text = testing::fromUtf8(testing::readBytes(pictures[i]));
        while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) {
            text.pop_back();
        }
        texts.push_back(text);
        const QByteArray bytes = cp932(q(text)) + "\r\n";
        mlt += (i % 200 == 0 ? QByteArray() : QByteArray("[SPLIT]\r\n")) + bytes;
        if (i % 200 == 199 || i + 1 == pictures.size()) {
            write(QStringLiteral("corpus%1.mlt").arg(files++), mlt);
            mlt.clear();
        }
        ast += cp932(QStringLiteral("[AA][%1]\r\n").arg(QString::fromStdString(
                   pictures[i].parent_path().filename().string() + "/" +
                   pictures[i].stem().string()))) +
               bytes;
    }
    write(QStringLiteral("more/corpus.ast"), ast);
    openLibrary();

    const library::LibraryIndex& index = m_library->index();
    int parts = 0;
    for (int i = 0; i < index.fileCount(); ++i) {
        parts += index.file(i).partCount();
    }
    QCOMPARE(parts, 2 * static_cast<int>(pictures.size()) + 3 + 2 + 1);
    const int last = static_cast<int>(pictures.size()) - 1;
    const int lastFile = fileNamed(QStringLiteral("corpus%1.mlt").arg(last / 200));
    QCOMPARE(m_library->index().partText({lastFile, last % 200}), texts.back());

    // Searching a name finds its picture in the AST; a line of a picture finds it in both.
    auto* box = m_library->findChild<QLineEdit*>(QStringLiteral("txtSearch"));
    typeInto(box, QString::fromStdString(pictures[7].stem().string()));
    m_library->index().waitForIdle();
    QVERIFY(m_library->parts().rowCount() >= 1);
    box->clear();
    const std::vector<std::u16string> lines = grid::SplitText(texts[3]);
    const auto longest = *std::max_element(lines.begin(), lines.end(), [](auto& a, auto& b) {
        return a.size() < b.size();
    });
    typeInto(box, q(longest));
    m_library->index().waitForIdle();
    const int first = fileNamed(QStringLiteral("corpus0.mlt"));
    QVERIFY(m_library->parts().rowOf({first, 3}) >= 0);
    QVERIFY(m_library->parts().rowCount() >= 2);

    // Inserted onto a canvas as wide as the picture, the canvas holds it line for line.
    const grid::FittedCanvas fitted =
        grid::fitToGrid(std::vector<std::u16string_view>(lines.begin(), lines.end()));
    m_editor->canvas().resetCanvas(grid::blankCanvas(fitted.keta, fitted.gyou), fitted.keta,
                                   fitted.gyou);
    m_library->choosePart(m_library->parts().rowOf({first, 3}));
    m_library->insertPart();
    QCOMPARE(m_editor->canvas().text(), fitted.text);
}

QTEST_MAIN(LibraryWindowTest)
#include "test_frmlibrary.moc"
