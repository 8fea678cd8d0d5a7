#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

#include "DictionaryTestDir.h"
#include "FileSizeLimit.h"
#include "dictionary/DictionaryFiles.h"

using namespace masumemo::dictionary;
using masumemo::platform::FileProblem;
using masumemo::testing::DictionaryDir;

namespace {

QString missingMessage(const QString& path)
{
    return QStringLiteral("ファイル「") + path + QStringLiteral("」が見つかりません。\r\n") +
           QStringLiteral("ファイルリスト内の参照を削除します。");
}

const QString kNoListMessage =
    QStringLiteral("ファイルをリストアップ用の保存ファイルが見つかりません。");
const QString kOverflowMessage = QStringLiteral("エラーNo.6　未知のエラーが発生しました");

// Reading this file fails even for root, though it exists and opens.
const QString kUnreadable = QStringLiteral("/proc/self/mem");

QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        bytes += "(^_^)" + QByteArray::number(i) + "\r\n";
    }
    return bytes;
}

}  // namespace

TEST(DisplayName, CutAtTheLastSeparatorAndDropFourCharacters)
{
    struct Row
    {
        const char* name;
        QString path;
        QString shown;
    };
    const Row rows[] = {
        {"linux path", "/home/u/dicts/animals.txt", "animals"},
        {"mixed separators: the last one counts", "C:\\a/b\\neko.txt", "neko"},
        {"no separator", "animals.txt", "animals"},
        {"any four characters go", "/d/kao.text", "kao."},
        {"exactly four characters leave nothing", "/d/.txt", ""},
        {"shorter than four is shown whole", "/d/abc", "abc"},
        {"empty name after a final separator", "/d/", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DisplayName(row.path), row.shown);
    }
}

TEST(FileLines, CrLfLoneCrAndLoneLfEachEndALine)
{
    struct Row
    {
        const char* name;
        QString text;
        QStringList lines;
    };
    const Row rows[] = {
        {"empty text", "", {}},
        {"no line end", "a", {"a"}},
        {"final CR LF starts no line", "a\r\nb\r\n", {"a", "b"}},
        {"lone CR", "a\rb", {"a", "b"}},
        {"lone LF", "a\nb\n", {"a", "b"}},
        {"LF then CR is two ends", "a\n\rb", {"a", "", "b"}},
        {"empty lines kept for the reader to skip", "\r\n\r\n", {"", ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(splitFileLines(row.text), row.lines);
    }
}

TEST(DictionaryEntries, LinesBecomeEntries)
{
    struct Row
    {
        const char* name;
        QByteArray bytes;
        bool skipSpaceLines;
        QStringList entries;
    };
    const Row rows[] = {
        {"trailing spaces go, leading stay", "  (^_^)  \r\n", true, {"  (^_^)"}},
        {"full-width padding goes too", "(^_^)\x81\x40\x81\x40 \r\n", true, {"(^_^)"}},
        {"inner full-width space stays", "(\x81\x40^_^)\r\n", true, {"(　^_^)"}},
        {"empty lines are never entries", "\r\n\r\na\r\n\r\n", false, {"a"}},
        {"space-only line skipped at load", "a\r\n \x81\x40\r\nb\r\n", true, {"a", "b"}},
        {"space-only line is an empty entry after add", "a\r\n \r\nb\r\n", false, {"a", "", "b"}},
        {"invalid bytes read as ?", "a\x80z\r\n\xA0\r\n", true, {"a?z", "?"}},
        {"lead byte at the end of the file", "a\x82", true, {"a?"}},
        {"a tab ends the emoticon, trailing spaces before it go", "a \t\r\n", true, {"a"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DictFile record;
        EXPECT_EQ(appendEntries(record, row.bytes, row.skipSpaceLines), DictError::None);
        EXPECT_EQ(record.Entries, row.entries);
        EXPECT_EQ(record.HasEntries, !row.entries.isEmpty());
    }
}

TEST(DictionaryEntries, NulBytesAndEnormousLinesAreRead)
{
    DictFile record;
    const QByteArray nul("a\0b\r\n\0\r\n", 8);
    EXPECT_EQ(appendEntries(record, nul, true), DictError::None);
    EXPECT_EQ(record.Entries, QStringList({QString("a") + QChar(0) + "b", QString(QChar(0))}));

    DictFile big;
    const QByteArray line = QByteArray(4'000'000, 'x') + QByteArray(1000, ' ') + "\r\nend";
    EXPECT_EQ(appendEntries(big, line, true), DictError::None);
    ASSERT_EQ(big.Entries.size(), 2);
    EXPECT_EQ(big.Entries[0].size(), 4'000'000);
}

TEST(DictionaryEntries, SixteenBitEntryLimit)
{
    DictFile full;
    EXPECT_EQ(appendEntries(full, numberedLines(kMaxIndexCount), true), DictError::None);
    EXPECT_EQ(full.Entries.size(), kMaxIndexCount);

    DictFile over;
    EXPECT_EQ(appendEntries(over, numberedLines(40'000), true), DictError::Overflow);
    EXPECT_EQ(over.Entries.size(), kMaxIndexCount);
    EXPECT_EQ(over.Entries.last(), QStringLiteral("(^_^)32766"));
}

using LoadList = DictionaryDir;

TEST(DictionaryEntries, LongEntriesAreShownCutShort)
{
    const QString full(kShownEntryLength, u'a');
    const QString longer = full + "b";
    // A character beyond the BMP across the cut is left out whole.
    const QString pair =
        QString(kShownEntryLength - 1, u'a') + QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString ellipsis = QString(QChar(0x2026));
    struct Row
    {
        QString entry;
        QString shown;
    };
    const Row rows[] = {
        {"(^_^)", "(^_^)"},
        {full, full},
        {longer, full + ellipsis},
        {pair, pair.left(kShownEntryLength - 1) + ellipsis},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(shownEntry(row.entry), row.shown);
    }
}

TEST_F(LoadList, BlankListFileLoadsEmptyAndIsRewrittenAsOneEmptyLine)
{
    writeBytes("kaomoji.ini", "\r\n\r\n\n\r");
    const LoadResult r = LoadDictionaryList();
    EXPECT_FALSE(r.list.HasFiles());
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(listBytes(), QByteArray("\r\n"));
}

TEST_F(LoadList, MissingPathsAndFoldersAreReportedAndDropped)
{
    const QString a = writeText("a.txt", "(^_^)\r\n");
    const QString b = writeText("b.txt", "(T_T)\r\n(;_;)\r\n");
    const QString empty = writeBytes("empty.txt", "\r\n   \r\n");
    const QString gone = path("gone.txt");
    const QString folder = path("folder.txt");
    QDir(m_dir.path()).mkdir("folder.txt");
    const QString pipe = path("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString device = QStringLiteral("/dev/zero");
    // A lone LF ends a line too; a path may be listed twice.
    writeText("kaomoji.ini", a + "\n" + gone + "\r\n" + empty + "\r\n" + folder + "\n" + pipe +
                                 "\n" + device + "\n" + b + "\r\n" + a + "\r\n");
    const LoadResult r = LoadDictionaryList();
    // One message for the missing, one for what is there but is no file, naming each.
    EXPECT_EQ(r.messages,
              QStringList({missingFilesMessage({gone}), notFilesMessage({folder, pipe, device})}));
    EXPECT_TRUE(r.messages[1].contains(folder + "\r\n" + pipe + "\r\n" + device));
    EXPECT_EQ(notFilesMessage({pipe}),
              refusalMessage(pipe, FileProblem::NotRegularFile) +
                  QStringLiteral("\r\nファイルリスト内の参照を削除します。"));
    EXPECT_EQ(r.errors, 0);
    EXPECT_EQ(r.list.displayNames(), QStringList({"a", "empty", "b", "a"}));
    EXPECT_FALSE(r.list.at(1).HasEntries);
    EXPECT_EQ(r.list.at(2).Entries, QStringList({"(T_T)", "(;_;)"}));
    EXPECT_EQ(r.list.at(3).Entries, QStringList{"(^_^)"});
    EXPECT_EQ(listBytes(), listOf({a, empty, b, a}));
}

TEST_F(LoadList, DefaultDictionaryWhenThereIsNoList)
{
    const QString defolt = writeText("Defolt.txt", "(^_^)\r\n \r\n(T_T)\r\n");
    const LoadResult r = LoadDictionaryList();
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(r.list.displayNames(), QStringList{"Defolt"});
    EXPECT_EQ(r.list.at(0).Entries, QStringList({"(^_^)", "(T_T)"}));
    EXPECT_EQ(listBytes(), listOf({defolt}));
}

TEST_F(LoadList, NeitherListNorDefault)
{
    const LoadResult r = LoadDictionaryList();
    EXPECT_EQ(r.messages, QStringList{kNoListMessage});
    EXPECT_FALSE(r.list.HasFiles());
    EXPECT_FALSE(QFileInfo::exists(path("kaomoji.ini")));
}

TEST_F(LoadList, OverlongFileKeepsItsRowAndLoadingGoesOn)
{
    const QString big = writeBytes("big.txt", numberedLines(40'000));
    const QString after = writeText("after.txt", "(^_^)\r\n");
    writeList({big, after});
    const LoadResult r = LoadDictionaryList();
    EXPECT_EQ(r.messages, QStringList{kOverflowMessage});
    EXPECT_EQ(r.errors, 1);
    EXPECT_EQ(r.list.displayNames(), QStringList({"big", "after"}));
    EXPECT_EQ(r.list.at(0).Entries.size(), kMaxIndexCount);
    EXPECT_EQ(r.list.at(1).Entries, QStringList{"(^_^)"});
}

TEST_F(LoadList, UnreadableFileIsReportedOnceAndLoadingGoesOn)
{
    if (!QFileInfo(kUnreadable).isFile()) {
        GTEST_SKIP() << "no /proc";
    }
    const QString a = writeText("a.txt", "(^_^)\r\n");
    const QString b = writeText("b.txt", "(T_T)\r\n");
    writeList({a, kUnreadable, b});
    const LoadResult r = LoadDictionaryList();
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].startsWith(QStringLiteral("エラーNo.")));
    EXPECT_EQ(r.list.displayNames(), QStringList({"a", "mem", "b"}));
    EXPECT_FALSE(r.list.at(1).HasEntries);
    EXPECT_EQ(r.list.at(2).Entries, QStringList{"(T_T)"});
    EXPECT_EQ(listBytes(), listOf({a, kUnreadable, b}));
}

TEST_F(LoadList, ListFileThatCannotBeReadIsNotRewritten)
{
    if (!QFileInfo(kUnreadable).isFile()) {
        GTEST_SKIP() << "no /proc";
    }
    writeText("Defolt.txt", "(^_^)\r\n");
    ASSERT_TRUE(QFile::link(kUnreadable, path("kaomoji.ini")));
    const LoadResult r = LoadDictionaryList();
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].startsWith(QStringLiteral("エラーNo.")));
    EXPECT_FALSE(r.list.HasFiles());
    EXPECT_EQ(QFileInfo(path("kaomoji.ini")).symLinkTarget(), kUnreadable);
}

TEST_F(LoadList, FilesTooLargeAreRefusedWithTheReasonAndLoadingGoesOn)
{
    const QString a = writeText("a.txt", "(^_^)\r\n");
    const QString big = writeText("big.txt", "(^_^)\r\n");
    ASSERT_TRUE(QFile::resize(big, kMaxDictionaryFileBytes + 1));
    const QString b = writeText("b.txt", "(T_T)\r\n");
    writeList({a, big, b});
    const LoadResult r = LoadDictionaryList();
    EXPECT_EQ(r.messages, QStringList{refusalMessage(big, FileProblem::TooLarge)});
    EXPECT_TRUE(r.messages[0].endsWith(QStringLiteral("ファイルが大きすぎます。")));
    EXPECT_EQ(r.errors, 1);
    EXPECT_EQ(r.list.displayNames(), QStringList({"a", "big", "b"}));
    EXPECT_FALSE(r.list.at(1).HasEntries);
    EXPECT_EQ(r.list.at(2).Entries, QStringList{"(T_T)"});
}

TEST_F(LoadList, ListFileThatIsAPipeIsUnreadableAndStaysAPipe)
{
    // Opened, it would wait for a writer and hold the window at every start.
    writeText("Defolt.txt", "(^_^)\r\n");
    ASSERT_EQ(mkfifo(QFile::encodeName(path("kaomoji.ini")).constData(), 0600), 0);
    const LoadResult r = LoadDictionaryList();
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].startsWith(QStringLiteral("エラーNo.")));
    EXPECT_FALSE(r.list.HasFiles());
    EXPECT_FALSE(QFileInfo(path("kaomoji.ini")).isFile());
}

TEST_F(LoadList, ListWriteCutShortKeepsTheOldList)
{
    const QString a = writeText("a.txt", "(^_^)\r\n");
    writeList({a});
    const QByteArray before = listBytes();
    DictionaryList list;
    for (int i = 0; i < 10; ++i) {
        list.appendRecord(a);
    }
    {
        // A buffered writer would cut the list to the limit and report success.
        masumemo::testing::FileSizeLimit limit(before.size() + 1);
        EXPECT_EQ(WriteDictionaryList(list), DictError::AccessError);
    }
    EXPECT_EQ(listBytes(), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"a.txt", "kaomoji.ini"}));
}

TEST_F(LoadList, ListFileThatCannotBeWrittenIsReportedOnce)
{
    // kaomoji.ini is a link into a folder that does not exist: it cannot be written even by
    // root, and it does not exist, so the default dictionary is taken.
    ASSERT_TRUE(QFile::link(path("no-such-folder/kaomoji.ini"), path("kaomoji.ini")));
    writeText("Defolt.txt", "(^_^)\r\n");
    const LoadResult r = LoadDictionaryList();
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].startsWith(QStringLiteral("エラーNo.")));
    EXPECT_EQ(r.errors, 1);
    EXPECT_EQ(r.list.displayNames(), QStringList{"Defolt"});
    EXPECT_EQ(r.list.at(0).Entries, QStringList{"(^_^)"});
}

TEST_F(LoadList, MoreFilesThanTheLimitKeepTheListFile)
{
    const QString a = writeText("a.txt", "(^_^)\r\n");
    QStringList paths;
    for (int i = 0; i <= kMaxIndexCount; ++i) {
        paths.append(a);
    }
    writeList(paths);
    const LoadResult r = LoadDictionaryList();
    EXPECT_EQ(r.messages, QStringList{kOverflowMessage});
    EXPECT_EQ(r.list.count(), kMaxIndexCount);
    EXPECT_EQ(r.list.at(kMaxIndexCount - 1).Entries, QStringList{"(^_^)"});
    // The path past the limit would be lost if the list were rewritten.
    EXPECT_EQ(listBytes(), listOf(paths));
}

TEST_F(LoadList, BadBytesInTheListFile)
{
    const QString a = writeText("a.txt", "(^_^)\r\n");
    QByteArray list = listOf({a});
    list += QByteArray("/tmp/\x80\xFF\0x.txt\r\n", 15) + QByteArray(100'000, 'y') + "\r\n";
    writeBytes("kaomoji.ini", list);
    const LoadResult r = LoadDictionaryList();
    EXPECT_EQ(r.messages.size(), 1);  // both paths, missing, in one message
    EXPECT_EQ(r.list.displayNames(), QStringList{"a"});
    EXPECT_EQ(listBytes(), listOf({a}));
}

TEST_F(LoadList, HundredsOfMissingFilesGiveOneMessage)
{
    const QString a = writeText("a.txt", "(^_^)\r\n");
    QStringList listed{a};
    for (int i = 0; i < 300; ++i) {
        listed << path(QStringLiteral("gone%1.txt").arg(i));
    }
    writeList(listed);
    const LoadResult r = LoadDictionaryList();
    ASSERT_EQ(r.messages.size(), 1);
    const QStringList lines = r.messages[0].split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines.front().startsWith(QStringLiteral("次の 300 個のファイル")));
    EXPECT_EQ(lines.size(), 1 + kListedMissingFiles + 1);
    EXPECT_EQ(lines[1], path("gone0.txt"));
    EXPECT_EQ(lines.back(), QStringLiteral("ほか 270 個"));
    EXPECT_EQ(listBytes(), listOf({a}));
    // One missing file keeps the message it always had.
    EXPECT_EQ(missingFilesMessage({a}), missingMessage(a));
}

TEST_F(LoadList, TwoWindowsChangesToTheListBothSurvive)
{
    // Two copies of the program load the same list, then each adds or removes a file.
    const QString a = writeText("a.txt", "(^_^)\r\n");
    const QString b = writeText("b.txt", "(T_T)\r\n");
    const QString c = writeText("c.txt", "(-_-)\r\n");
    writeList({a, b});
    LoadResult first = LoadDictionaryList();
    LoadResult second = LoadDictionaryList();
    EXPECT_TRUE(first.list.addFile(c).listWritten);
    bool written = false;
    EXPECT_TRUE(second.list.removeFile(0, &written));
    EXPECT_TRUE(written);
    EXPECT_EQ(listBytes(), listOf({b, c}));
    // A file gone by the next start is dropped without losing what another copy listed.
    QFile::remove(b);
    const LoadResult third = LoadDictionaryList();
    EXPECT_EQ(listBytes(), listOf({c}));
}

using ListEditing = DictionaryDir;

TEST_F(ListEditing, AddFailures)
{
    const QString a = writeText("a.txt", "(^_^)\r\n");
    DictionaryList list;
    list.addFile(a);
    const QByteArray before = listBytes();

    // A path kaomoji.ini cannot hold would come back as another path: nothing is added.
    const QString emoji = writeText(QString::fromUtf8("\xF0\x9F\x98\x80.txt"), "(^_^)\r\n");
    EXPECT_FALSE(list.addFile(emoji).added);
    EXPECT_EQ(list.count(), 1);

    // A file past the entry limit keeps what was read; the list is not rewritten.
    const QString big = writeBytes("big.txt", numberedLines(40'000));
    const auto over = list.addFile(big);
    EXPECT_TRUE(over.added);
    EXPECT_FALSE(over.read);
    EXPECT_EQ(list.at(1).Entries.size(), kMaxIndexCount);
    EXPECT_EQ(listBytes(), before);

    // No file to read at all: refused with the reason, nothing added, nothing rewritten.
    const QString pipe = path("pipe.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QDir(m_dir.path()).mkdir("folder.txt");
    const QString huge = writeText("huge.txt", "(^_^)\r\n");
    ASSERT_TRUE(QFile::resize(huge, kMaxDictionaryFileBytes + 1));
    const std::pair<QString, FileProblem> refused[] = {
        {pipe, FileProblem::NotRegularFile},
        {QStringLiteral("/dev/zero"), FileProblem::NotRegularFile},
        {path("folder.txt"), FileProblem::IsFolder},
        {huge, FileProblem::TooLarge},
    };
    for (const auto& [file, problem] : refused) {
        const auto result = list.addFile(file);
        EXPECT_FALSE(result.added) << file.toStdString();
        EXPECT_EQ(result.refused, problem) << file.toStdString();
    }
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(listBytes(), before);
}

TEST_F(ListEditing, RemoveKeepsRecordsAndRowsInStep)
{
    const QString a = writeText("a.txt", "(^_^)\r\n");
    const QString b = writeText("b.txt", "(T_T)\r\n");
    const QString c = writeText("c.txt", "(-_-)\r\n");
    DictionaryList list;
    for (const QString& p : {a, b, c}) {
        list.addFile(p);
    }

    EXPECT_FALSE(list.removeFile(3));
    EXPECT_FALSE(list.removeFile(-1));
    EXPECT_EQ(list.count(), 3);

    bool written = false;
    EXPECT_TRUE(list.removeFile(1, &written));
    EXPECT_TRUE(written);
    EXPECT_EQ(list.displayNames(), QStringList({"a", "c"}));
    EXPECT_EQ(list.at(0).Entries, QStringList{"(^_^)"});
    EXPECT_EQ(listBytes(), listOf({a, c}));
}
