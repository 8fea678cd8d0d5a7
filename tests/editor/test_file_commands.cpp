// The editor's file commands through the real window: opening any text file onto the grid,
// saving, the changed-mark question, failures that must leave the picture and the previous
// file alone, the 0 x 0 canvas, and the whole text-art corpus opened, saved and reopened.
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>

#include "ShownTitle.h"
#include "Corpus.h"
#include "FileSizeLimit.h"
#include "ScriptedDialogs.h"
#include "editor/CanvasController.h"
#include "editor/FileCommands.h"
#include "editor/frmMain.h"
#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"
#include "platform/AppPaths.h"

using namespace masumemo;
using namespace Qt::StringLiterals;
using editor::frmMain;
using platform::Dialogs;
using testing::FileSizeLimit;

namespace {

const QString kUntitled = QStringLiteral("住所不定 - Masumemo");

QByteArray cp932(const QString& text)
{
    return QByteArray::fromStdString(grid::encodeCp932(text.toStdU16String()));
}

QStringList linesOf(const std::u16string& canvas)
{
    QStringList lines;
    for (const std::u16string& line : grid::canvasLines(canvas)) {
        lines << QString::fromStdU16String(line);
    }
    return lines;
}

}  // namespace

class FileCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensAnyTextFileOntoTheGrid_data();
    void opensAnyTextFileOntoTheGrid();
    void saveWritesTrimmedLinesAndReopensNarrower();
    void newKeepsTheSize();
    void saveAsStartsAtTheFileBeingEdited();
    void savedAnswerToTheQuestion_data();
    void savedAnswerToTheQuestion();
    void failedSaveKeepsThePreviousFile_data();
    void failedSaveKeepsThePreviousFile();
    void failedOpenChangesNothing_data();
    void failedOpenChangesNothing();
    void bytesThatAreNotShiftJisOpenWithOneNotice();
    void utf8FilesOpenAsUtf8AndSaveBackAsUtf8();
    void referencesOpenAsCharactersAndSaveInTheirSpelling();
    void wideCanvasReopens();
    void emptyCanvasSurvivesEveryEdit();
    void corpusRoundTrip();

private:
    QString path(const QString& name) const { return QDir(m_dir->path()).filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    /// Opens name through the Open command, answering No to a question.
    void open(const QString& name);
    void typeOnCanvas(const QString& keys);
    const std::u16string& canvasText() const { return m_window->canvas().text(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testing::ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

void FileCommandsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // The close request writes the settings file into the program's directory.
    platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
    m_dialogs = std::make_unique<testing::ScriptedDialogs>();
    m_window = std::make_unique<frmMain>();
    m_window->show();
}

void FileCommandsTest::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    platform::AppPaths::setProgramDirectoryForTesting(QString());
    m_dir.reset();
}

QString FileCommandsTest::write(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the test file");
    }
    return path(name);
}

QByteArray FileCommandsTest::read(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void FileCommandsTest::open(const QString& name)
{
    if (m_window->canvas().modified()) {
        m_dialogs->answer(Dialogs::Answer::No);
    }
    m_dialogs->choose(path(name));
    m_window->mnuFileOpen_Click();
}

void FileCommandsTest::typeOnCanvas(const QString& keys)
{
    m_window->txtMain()->setFocus();
    QTest::keyClicks(m_window->txtMain(), keys);
}

void FileCommandsTest::opensAnyTextFileOntoTheGrid_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("canvas");
    QTest::addColumn<int>("keta");
    const QByteArray threeLines = cp932(QStringLiteral("ab\r\nあいう\r\nc"));
    const QStringList threeFitted{QStringLiteral("ab　　"), QStringLiteral("あいう"),
                                  QStringLiteral("c 　　")};
    QTest::newRow("widths 2, 6, 1") << threeLines + "\r\n" << threeFitted << 3;
    QTest::newRow("no final line break") << threeLines << threeFitted << 3;
    QTest::newRow("widest line of odd width 7")
        << cp932(QStringLiteral("abcdefg\r\nあ\r\n"))
        << QStringList{QStringLiteral("abcdefg "), QStringLiteral("あ　　　")} << 4;
    QTest::newRow("final empty line ended by CR LF")
        << QByteArray("ab\r\n\r\n") << QStringList{QStringLiteral("ab"), QStringLiteral("　")} << 1;
    // Files written on Linux end lines with LF; a line feed inside a line would break the grid.
    QTest::newRow("lone LF and lone CR end lines")
        << QByteArray("a\nbc\rd") << QStringList{"a ", "bc", "d "} << 1;
    QTest::newRow("empty file") << QByteArray() << QStringList() << 0;
    QTest::newRow("only line breaks") << QByteArray("\r\n\r\n") << QStringList() << 0;
}

void FileCommandsTest::opensAnyTextFileOntoTheGrid()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, canvas);
    QFETCH(int, keta);
    const QString file = write(QStringLiteral("picture.txt"), bytes);
    // A changed canvas with history, so the reset shows.
    typeOnCanvas(QStringLiteral("x"));
    QVERIFY(m_window->canvas().modified() && m_window->canvas().canUndo());

    open(QStringLiteral("picture.txt"));

    QCOMPARE(m_dialogs->messages().size(), size_t(1));  // the changed-mark question
    QCOMPARE(m_dialogs->fileAsks().size(), size_t(1));
    QCOMPARE(m_dialogs->fileAsks()[0].request.title, QStringLiteral("ファイルを開く"));
    QCOMPARE(m_dialogs->fileAsks()[0].request.filter,
             QStringLiteral("AAファイル (*.mlt *.ast *.txt)|*.mlt *.ast *.txt|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt"));

    QCOMPARE(linesOf(canvasText()), canvas);
    QCOMPARE(m_window->canvas().keta(), keta);
    QCOMPARE(m_window->txtKeta()->text(), QString::number(keta));
    QCOMPARE(m_window->txtGyou()->text(), QString::number(canvas.size()));
    QCOMPARE(m_window->document().path(), file);
    QCOMPARE(testing::shownTitle(*m_window), file + QStringLiteral(" - Masumemo"));
    QVERIFY(!m_window->canvas().modified());
    QVERIFY(!m_window->canvas().canUndo());
    QCOMPARE(m_window->txtMain()->toPlainText(),
             QString::fromStdU16String(canvasText()).replace(QStringLiteral("\r\n"), "\n"));
}

void FileCommandsTest::saveWritesTrimmedLinesAndReopensNarrower()
{
    // "abc" on the first line of the blank 35 x 20 canvas.
    typeOnCanvas(QStringLiteral("abc"));
    m_dialogs->choose(path(QStringLiteral("saved.txt")));
    m_window->mnuFileSave_Click();

    QCOMPARE(m_dialogs->fileAsks().size(), size_t(1));
    QCOMPARE(m_dialogs->fileAsks()[0].request.title, QStringLiteral("名前を付けて保存"));
    QVERIFY(m_dialogs->fileAsks()[0].save);
    QCOMPARE(read(QStringLiteral("saved.txt")), "abc" + QByteArray("\r\n").repeated(20));
    QVERIFY(!m_window->canvas().modified());
    QCOMPARE(testing::shownTitle(*m_window), path(QStringLiteral("saved.txt")) + " - Masumemo");

    // Save goes straight to the file; Save As offers the last name chosen.
    typeOnCanvas(QStringLiteral("d"));
    m_window->mnuFileSave_Click();
    QCOMPARE(m_dialogs->fileAsks().size(), size_t(1));
    QVERIFY(read(QStringLiteral("saved.txt")).startsWith("abcd\r\n"));
    m_window->mnuFileSaveAs_Click();  // cancelled: nothing happens
    QCOMPARE(m_dialogs->fileAsks().back().request.initialPath, path(QStringLiteral("saved.txt")));

    // The blank right-hand area is gone from the file, so the canvas comes back narrower.
    open(QStringLiteral("saved.txt"));
    QCOMPARE(m_window->canvas().keta(), 2);
    QCOMPARE(m_window->canvas().gyou(), 20);
    QCOMPARE(linesOf(canvasText()).first(), QStringLiteral("abcd"));
    QCOMPARE(linesOf(canvasText()).last(), QStringLiteral("　　"));
}

void FileCommandsTest::saveAsStartsAtTheFileBeingEdited()
{
    // Opened as the command line and the recent files open it: no dialog chose its name.
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("deep/er")));
    const QString file = path(QStringLiteral("deep/er/pic.txt"));
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("ab\r\n");
    out.close();
    m_dialogs->choose(path(QStringLiteral("elsewhere.txt")));
    m_window->mnuFileSaveAs_Click();  // a name chosen before, in another folder
    QVERIFY(m_window->files().FileOpen(file));
    m_window->mnuFileSaveAs_Click();  // cancelled
    QCOMPARE(m_dialogs->fileAsks().back().request.initialPath, file);
    // A new canvas has no file: the last name chosen is offered again.
    m_window->mnuFileNew_Click();
    m_window->mnuFileSaveAs_Click();
    QCOMPARE(m_dialogs->fileAsks().back().request.initialPath, path(QStringLiteral("elsewhere.txt")));
}

void FileCommandsTest::newKeepsTheSize()
{
    write(QStringLiteral("a.txt"), "a\r\n");
    open(QStringLiteral("a.txt"));
    m_window->canvas().replaceCanvas(grid::blankCanvas(40, 10), 40, 10);
    m_window->mnuFileNew_Click();  // unchanged: no question
    QVERIFY(m_dialogs->messages().empty());
    QCOMPARE(canvasText(), grid::blankCanvas(40, 10));
    QCOMPARE(m_window->txtKeta()->text(), QStringLiteral("40"));
    QCOMPARE(testing::shownTitle(*m_window), kUntitled);
    QVERIFY(m_window->document().path().isEmpty());
    QVERIFY(!m_window->canvas().canUndo());
}

void FileCommandsTest::savedAnswerToTheQuestion_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("saveAs");  // the name chosen in Save As; empty: cancelled
    for (const char* command : {"New", "Open", "close", "KaoKara"}) {
        QTest::addRow("%s, Yes, Save As cancelled", command) << command << QString();
        QTest::addRow("%s, Yes, write failed", command) << command << "blocker/picture.txt";
        QTest::addRow("%s, Yes, saved", command) << command << "picture.txt";
    }
}

void FileCommandsTest::savedAnswerToTheQuestion()
{
    QFETCH(QString, command);
    QFETCH(QString, saveAs);
    const QString other = write(QStringLiteral("other.txt"), "other\r\n");
    write(QStringLiteral("blocker"), "a file, not a folder");
    typeOnCanvas(QStringLiteral("picture"));
    const std::u16string picture = canvasText();
    QSignalSpy accepted(m_window.get(), &frmMain::kaoKaraAccepted);
    QSignalSpy declined(m_window.get(), &frmMain::kaoKaraDeclined);

    m_dialogs->answer(Dialogs::Answer::Yes);
    m_dialogs->choose(saveAs.isEmpty() ? QString() : path(saveAs));
    if (command == "New") {
        m_window->mnuFileNew_Click();
    } else if (command == "Open") {
        m_dialogs->choose(other);
        m_window->mnuFileOpen_Click();
    } else if (command == "close") {
        m_window->close();
    } else {
        m_window->KaoKara(other);
    }

    const bool wentOn = saveAs == "picture.txt";
    if (wentOn) {
        QVERIFY(read(QStringLiteral("picture.txt")).startsWith("picture\r\n"));
    } else {
        // The picture is still there, still marked as changed, and still untitled.
        QCOMPARE(canvasText(), picture);
        QVERIFY(m_window->canvas().modified());
        QCOMPARE(testing::shownTitle(*m_window), QStringLiteral("住所不定* - Masumemo"));
    }
    // The failed write said so; nothing else spoke but the question.
    const bool failed = saveAs.startsWith("blocker");
    QCOMPARE(m_dialogs->messages().size(), size_t(failed ? 2 : 1));
    if (failed) {
        QCOMPARE(m_dialogs->messages()[1].icon, Dialogs::Icon::Critical);
    }
    if (command == "New" && wentOn) {
        QCOMPARE(canvasText(), grid::blankCanvas(35, 20));
    } else if (command == "Open") {
        // The Open dialog appears only once the picture is safe.
        QCOMPARE(m_dialogs->fileAsks().size(), size_t(wentOn ? 2 : 1));
        QCOMPARE(m_window->document().path(), wentOn ? other : QString());
    } else if (command == "close") {
        QCOMPARE(m_window->isVisible(), !wentOn);
    } else if (command == "KaoKara") {
        QCOMPARE(accepted.count(), wentOn ? 1 : 0);
        QCOMPARE(declined.count(), wentOn ? 0 : 1);
        if (wentOn) {
            QCOMPARE(testing::shownTitle(*m_window), other + " - Masumemo");
        }
    }
}

void FileCommandsTest::failedSaveKeepsThePreviousFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a file size limit cuts the write short")
        << "limit" << QStringLiteral("ファイルが大きすぎます。");
    QTest::newRow("the folder is gone")
        << "folder gone" << QStringLiteral("ファイルまたはフォルダーが見つかりません。");
    QTest::newRow("Save As into a path under a regular file")
        << "under a file" << QStringLiteral("ファイルまたはフォルダーが見つかりません。");
    QTest::newRow("Save As onto a folder")
        << "onto a folder" << QStringLiteral("ファイルではなくフォルダーです。");
    QTest::newRow("Save As onto a named pipe")
        << "onto a pipe"
        << QStringLiteral("通常のファイルではありません（パイプやデバイスなど）。");
}

void FileCommandsTest::failedSaveKeepsThePreviousFile()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sub")));
    const QByteArray previous = cp932(QStringLiteral("あいう\r\n"));
    const QString file = write(QStringLiteral("sub/a.txt"), previous);
    open(QStringLiteral("sub/a.txt"));
    typeOnCanvas(QStringLiteral("a long enough line"));
    const QString title = testing::shownTitle(*m_window);
    m_dialogs->clear();

    if (how == "limit") {
        FileSizeLimit limit(4);
        m_window->mnuFileSave_Click();
    } else if (how == "folder gone") {
        QVERIFY(QDir(path(QStringLiteral("sub"))).removeRecursively());
        m_window->mnuFileSave_Click();
    } else if (how == "onto a pipe") {
        QVERIFY(mkfifo(QFile::encodeName(path(QStringLiteral("pipe.txt"))).constData(), 0600) == 0);
        m_dialogs->choose(path(QStringLiteral("pipe.txt")));
        m_window->mnuFileSaveAs_Click();
        // Never replaced by a file.
        const QFileInfo pipe(path(QStringLiteral("pipe.txt")));
        QVERIFY(pipe.exists() && !pipe.isFile());
    } else {
        write(QStringLiteral("plain"), "x");
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.txt")));
        m_dialogs->choose(path(how == "under a file" ? QStringLiteral("plain/b.txt")
                                                     : QStringLiteral("folder.txt")));
        m_window->mnuFileSaveAs_Click();
    }

    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    const auto& message = m_dialogs->messages()[0];
    QVERIFY2(message.text.startsWith(QStringLiteral("ファイルを保存できませんでした。")),
             qPrintable(message.text));
    // The reason in Japanese, as the last line.
    QVERIFY2(message.text.endsWith(QLatin1Char('\n') + reason), qPrintable(message.text));
    QCOMPARE(message.icon, Dialogs::Icon::Critical);
    QVERIFY(m_window->canvas().modified());
    // Still the file the title names, so the next Save tries it again.
    QCOMPARE(m_window->document().path(), file);
    QCOMPARE(testing::shownTitle(*m_window), title);
    if (how != "folder gone") {
        QCOMPARE(read(QStringLiteral("sub/a.txt")), previous);
        QCOMPARE(QDir(path(QStringLiteral("sub"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("a.txt")});
    }
}

void FileCommandsTest::failedOpenChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("unreadable");
    QTest::addColumn<QString>("reason");
    const QString tooLarge = QStringLiteral("行が長すぎるか多すぎて、キャンバスに収まりません。");
    const QString notRegular =
        QStringLiteral("通常のファイルではありません（パイプやデバイスなど）。");
    QTest::newRow("missing file") << "missing.txt" << QByteArray() << false
                                  << QStringLiteral("ファイルまたはフォルダーが見つかりません。");
    QTest::newRow("NUL bytes: not a text file")
        << "binary.txt" << QByteArray("ab\0cd\r\n", 7) << false
        << QStringLiteral("テキストファイルではありません（NUL文字を含んでいます）。");
    QTest::newRow("a folder") << "folder" << QByteArray() << false
                              << QStringLiteral("ファイルではなくフォルダーです。");
    QTest::newRow("no read access") << "locked.txt" << QByteArray("x\r\n") << true
                                    << QStringLiteral("アクセスが許可されていません。");
    // One long line and many short ones would ask for gigabytes once padded.
    QTest::newRow("far too large to pad")
        << "huge.txt" << QByteArray(200000, 'a') + QByteArray(400000, '\n') << false << tooLarge;
    // Far beyond the largest canvas: each would stall every keystroke once open.
    QTest::newRow("one line of megabytes")
        << "line.txt" << QByteArray(2'000'000, 'a') << false << tooLarge;
    QTest::newRow("a million short lines")
        << "lines.txt" << QByteArray("ab\n").repeated(1'000'000) << false << tooLarge;
    // Larger than any canvas file can be: refused without reading it (made sparse below).
    QTest::newRow("larger than any canvas file")
        << "sparse.txt" << QByteArray() << false << tooLarge;
    // Opening either for reading would hold every window: one waits for a writer, the other
    // never ends.
    QTest::newRow("a named pipe") << "pipe.txt" << QByteArray() << false << notRegular;
    QTest::newRow("a device without end") << "/dev/zero" << QByteArray() << false << notRegular;
}

void FileCommandsTest::failedOpenChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, unreadable);
    QFETCH(QString, reason);
    if (unreadable && geteuid() == 0) {
        QSKIP("permissions do not stop root");
    }
    const QString a = write(QStringLiteral("a.txt"), "a\r\n");
    open(QStringLiteral("a.txt"));
    typeOnCanvas(QStringLiteral("b"));
    const std::u16string picture = canvasText();
    if (name == "folder") {
        QVERIFY(QDir(m_dir->path()).mkdir(name));
    } else if (name == "pipe.txt") {
        QVERIFY(mkfifo(QFile::encodeName(path(name)).constData(), 0600) == 0);
    } else if (name == "sparse.txt") {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("a\r\n") == 3);
        QVERIFY(file.resize(grid::kMaxCanvasFileBytes + 1));
    } else if (!bytes.isEmpty()) {
        write(name, bytes);
        if (unreadable) {
            QFile::setPermissions(path(name), QFileDevice::WriteOwner);
        }
    }
    m_dialogs->clear();

    open(name);

    QCOMPARE(m_dialogs->messages().size(), size_t(2));
    const auto& message = m_dialogs->messages()[1];
    QVERIFY2(message.text.startsWith(QStringLiteral("ファイルを開けませんでした。")),
             qPrintable(message.text));
    QVERIFY(message.text.contains(path(name)));
    // The reason in Japanese, as the last line: a sparse file's size alone refuses it, before
    // its NUL bytes are ever read.
    QVERIFY2(message.text.endsWith(QLatin1Char('\n') + reason), qPrintable(message.text));
    QCOMPARE(message.icon, Dialogs::Icon::Critical);
    QCOMPARE(canvasText(), picture);
    QCOMPARE(m_window->document().path(), a);
    QCOMPARE(testing::shownTitle(*m_window), a + "* - Masumemo");
    QVERIFY(m_window->canvas().canUndo());
    // Save still writes the file the title names, never the one that failed to open.
    m_window->mnuFileSave_Click();
    QCOMPARE(read(QStringLiteral("a.txt")), QByteArray("b\r\n"));
    if (!bytes.isEmpty() && !unreadable) {
        QCOMPARE(read(name), bytes);
    }
}

void FileCommandsTest::bytesThatAreNotShiftJisOpenWithOneNotice()
{
    // Broken UTF-8 after a lead byte of code page 932 that has no trail byte: neither encoding.
    write(QStringLiteral("broken.txt"), QByteArray("a\x82\r\n\xE3\x81\r\n"));
    open(QStringLiteral("broken.txt"));
    QCOMPARE(m_dialogs->messages().size(), size_t(1));
    const auto& notice = m_dialogs->messages()[0];
    QVERIFY2(notice.text.contains(QStringLiteral("Shift_JIS")), qPrintable(notice.text));
    QCOMPARE(notice.buttons, Dialogs::Buttons::Ok);
    QVERIFY(QString::fromStdU16String(canvasText()).contains(u'?'));
    QVERIFY(!m_window->canvas().modified());
}

void FileCommandsTest::utf8FilesOpenAsUtf8AndSaveBackAsUtf8()
{
    // "煙草" in UTF-8 happens to be valid code page 932 as well; it is still read as UTF-8.
    const QByteArray bytes = QStringLiteral("煙草\u2009|\r\nかお\r\n").toUtf8();
    write(QStringLiteral("utf8.txt"), bytes);
    open(QStringLiteral("utf8.txt"));
    QVERIFY(m_dialogs->messages().empty());
    QCOMPARE(linesOf(canvasText()), (QStringList{u"煙草\u2009|"_s, u"かお　"_s}));
    QCOMPARE(m_window->statusPanel(5)->text(), QStringLiteral("UTF-8"));
    m_window->canvas().setModified(true);
    m_window->mnuFileSave_Click();
    QCOMPARE(read(QStringLiteral("utf8.txt")), bytes);

    // Save As offers the file's own encoding first; the second one writes Shift_JIS, with the
    // character code page 932 lacks as a reference.
    m_dialogs->choose(path(QStringLiteral("sjis.txt")), 1);
    QVERIFY(m_window->files().SaveAs());
    QCOMPARE(m_dialogs->fileAsks().back().request.filter,
             QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ UTF-8(*.txt)|*.txt|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|"
                            "MLTﾌｧｲﾙ(*.mlt)|*.mlt|ASTﾌｧｲﾙ(*.ast)|*.ast"));
    QCOMPARE(read(QStringLiteral("sjis.txt")), cp932(u"煙草&#x2009;|\r\nかお\r\n"_s));
    QCOMPARE(m_window->statusPanel(5)->text(), QStringLiteral("Shift_JIS"));
    m_window->mnuFileNew_Click();
    QCOMPARE(m_window->statusPanel(5)->text(), QStringLiteral("Shift_JIS"));
}

void FileCommandsTest::referencesOpenAsCharactersAndSaveInTheirSpelling()
{
    // Decimal, without ";": the file's own spelling comes back on save.
    const QByteArray bytes = cp932(u"|&#8202|&#65;\r\nあ\r\n"_s);
    write(QStringLiteral("refs.txt"), bytes);
    open(QStringLiteral("refs.txt"));
    QVERIFY(m_dialogs->messages().empty());
    QCOMPARE(linesOf(canvasText()).first(), u"|\u200A|&#65;"_s);
    QCOMPARE(m_window->statusPanel(5)->text(), QStringLiteral("Shift_JIS"));
    typeOnCanvas(QStringLiteral("x"));  // overwrites the first "|"
    m_window->mnuFileSave_Click();
    QCOMPARE(read(QStringLiteral("refs.txt")), cp932(u"x&#8202|&#65;\r\nあ\r\n"_s));

    // A new picture writes the spelling most pictures use.
    m_window->mnuFileNew_Click();
    m_window->canvas().resetCanvas(u"\u2009\U0001F600\u3000", 2, 1);
    m_window->canvas().setModified(true);
    m_dialogs->choose(path(QStringLiteral("new.txt")));
    m_window->mnuFileSave_Click();
    QCOMPARE(read(QStringLiteral("new.txt")), QByteArray("&#x2009;&#x1F600;\r\n"));
}

void FileCommandsTest::wideCanvasReopens()
{
    // 40,000 units on one line: past any 16-bit width.
    const std::u16string line(40000, u'a');
    m_window->canvas().resetCanvas(line, 20000, 1);
    m_window->canvas().setModified(true);
    m_dialogs->choose(path(QStringLiteral("wide.txt")));
    m_window->mnuFileSave_Click();
    QCOMPARE(read(QStringLiteral("wide.txt")).size(), qsizetype(40002));
    m_window->mnuFileNew_Click();
    open(QStringLiteral("wide.txt"));
    QCOMPARE(m_window->canvas().keta(), 20000);
    QCOMPARE(m_window->canvas().gyou(), 1);
    QVERIFY(canvasText() == line);
}

void FileCommandsTest::emptyCanvasSurvivesEveryEdit()
{
    write(QStringLiteral("empty.txt"), QByteArray());
    open(QStringLiteral("empty.txt"));
    QCOMPARE(m_window->canvas().keta(), 0);
    QCOMPARE(m_window->canvas().gyou(), 0);
    QCOMPARE(m_window->txtGyou()->text(), QStringLiteral("0"));

    editor::CanvasWidget* txt = m_window->txtMain();
    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"typing", [&] { typeOnCanvas(QStringLiteral("x")); }},
        {"Enter", [&] { QTest::keyClick(txt, Qt::Key_Return); }},
        {"Delete", [&] { QTest::keyClick(txt, Qt::Key_Delete); }},
        {"Backspace", [&] { QTest::keyClick(txt, Qt::Key_Backspace); }},
        {"Alt+Right push", [&] { QTest::keyClick(txt, Qt::Key_Right, Qt::AltModifier); }},
        {"Shift+Alt+Left pull",
         [&] { QTest::keyClick(txt, Qt::Key_Left, Qt::AltModifier | Qt::ShiftModifier); }},
        {"keypad push", [&] { m_window->cmdCars_MouseDown(3, Qt::AltModifier); }},
        {"keypad Enter", [&] { m_window->cmdEnt_Click(); }},
        {"paste", [&] { m_window->canvas().pasteText(u"ab\r\ncd"); }},
        {"widget paste",
         [&] {
             QApplication::clipboard()->setText(QStringLiteral("ab"));
             txt->pasteFromClipboard();
         }},
        {"undo and redo",
         [&] {
             m_window->canvas().undo();
             m_window->canvas().redo();
         }},
    };
    for (const auto& [name, edit] : edits) {
        edit();
        QVERIFY2(canvasText().empty(), name);
        QVERIFY2(txt->toPlainText().isEmpty(), name);
        QCOMPARE(m_window->canvas().gyou(), 0);
    }
    // Nothing was there to change, so saving writes an empty file.
    m_dialogs->choose(path(QStringLiteral("saved.txt")));
    m_window->mnuFileSaveAs_Click();
    QCOMPARE(read(QStringLiteral("saved.txt")), QByteArray());
}

void FileCommandsTest::corpusRoundTrip()
{
    if (const char* reason = testing::corpusSkipReason()) {
        QSKIP(reason);
    }
    const auto pictures = testing::corpusPictures();
    int checked = 0;
    for (const auto& picture : pictures) {
        const QString name = QString::fromStdString(picture.filename().string());
        const std::string bytes = grid::encodeCp932(testing::fromUtf8(testing::readBytes(picture)));
        write(QStringLiteral("in.txt"), QByteArray::fromStdString(bytes));
        editor::FileCommands& files = m_window->files();
        QVERIFY2(files.FileOpen(path(QStringLiteral("in.txt"))), qPrintable(name));
        const std::u16string first = canvasText();
        m_window->canvas().setModified(true);
        m_dialogs->choose(path(QStringLiteral("out.txt")));
        QVERIFY2(files.SaveAs(), qPrintable(name));
        QVERIFY2(files.FileOpen(path(QStringLiteral("out.txt"))), qPrintable(name));
        QStringList before = linesOf(first);
        QStringList after = linesOf(canvasText());
        for (QStringList* lines : {&before, &after}) {
            for (QString& line : *lines) {
                line = QString::fromStdU16String(grid::trimTrailingSpaces(line.toStdU16String()));
            }
        }
        QVERIFY2(before == after, qPrintable(name));
        // Saved again, the file is byte for byte the first save.
        QCOMPARE(QByteArray::fromStdString(grid::canvasFileBytes(canvasText())),
                 read(QStringLiteral("out.txt")));
        m_dialogs->clear();
        ++checked;
    }
    QVERIFY(checked > 100);
}

QTEST_MAIN(FileCommandsTest)
#include "test_file_commands.moc"
