#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <string>
#include <vector>

#include "input/Favourites.h"
#include "input/SettingsFile.h"
#include "platform/AppPaths.h"

#include <sys/stat.h>
#ifdef __linux__
#include <sys/resource.h>
#endif

using namespace masumemo::input;
using masumemo::platform::AppPaths;
using Texts = std::vector<std::u16string>;

namespace {

// A temporary directory standing in for the program's directory.
class SettingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        AppPaths::setProgramDirectoryForTesting(m_dir.path());
    }
    void TearDown() override { AppPaths::setProgramDirectoryForTesting(QString()); }

    QString path() const { return m_dir.filePath(QStringLiteral("masuedit.ini")); }

    void writeFile(const QByteArray& bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray readFile() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
};

QByteArray lines(int n)
{
    QByteArray b;
    for (int i = 1; i <= n; ++i) {
        b += "line" + QByteArray::number(i) + "\r\n";
    }
    return b;
}

Favourites listOf(const Texts& texts)
{
    Favourites f;
    f.assign(texts);
    return f;
}

}  // namespace

TEST(SettingsParse, Lines)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        Texts expected;
    };
    const Row rows[] = {
        {"empty file", "", {}},
        {"empty first line gives none", "\r\nb\r\n", {}},
        {"lone CR ends a line", "a\rb\r", {u"a", u"b"}},
        {"last line without a line end", "a\r\nb", {u"a", u"b"}},
        {"CR then LF across lines", "a\r\n\nb\r\n", {u"a", u"\nb"}},
        {"full-width text", "\x81\x99\xB1\x8A\xBF\r\n", {u"\u2606\uFF71\u6F22"}},
        {"invalid bytes read as ?", "a\x81\r\n", {u"a?"}},
        {"as long as the largest canvas",
         std::string(kMaxFavouriteUnits, 'x'),
         {std::u16string(kMaxFavouriteUnits, u'x')}},
        // Its tooltip alone would hold the window for minutes; the next line takes its slot.
        {"longer than the largest canvas is left out",
         "a\r\n" + std::string(kMaxFavouriteUnits, 'x') + "\n\r\nb\r\n",
         {u"a", u"b"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(parseSettings(row.bytes), row.expected);
    }
}

TEST(SettingsParse, ReadingThatStoppedEarlySaysSo)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        bool complete;
    };
    const Row rows[] = {
        {"all lines read", "a\r\nb\r\n", true},
        {"empty lines at the end lose nothing", "a\r\n\r\n\r\r\n", true},
        {"favourites after an empty line", "FAV_A\r\n\r\nFAV_B\r\nFAV_C\r\n", false},
        {"ten lines", "1\r2\r3\r4\r5\r6\r7\r8\r9\r10\r", true},
        {"an eleventh line", "1\r2\r3\r4\r5\r6\r7\r8\r9\r10\r11\r", false},
        {"a line left out as too long", std::string(kMaxFavouriteUnits + 1, 'x') + "\r\n", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool complete = !row.complete;
        parseSettings(row.bytes, &complete);
        EXPECT_EQ(complete, row.complete);
    }
}

TEST(SettingsMerge, OneWindowsChangesOnTheListAsItIsNow)
{
    struct Row
    {
        const char* name;
        Texts base;
        Texts mine;
        Texts theirs;
        Texts merged;
    };
    const Row rows[] = {
        {"both added one", {u"a"}, {u"a", u"x"}, {u"a", u"y"}, {u"a", u"y", u"x"}},
        {"deleted here, added there", {u"a", u"b"}, {u"b"}, {u"a", u"b", u"y"}, {u"b", u"y"}},
        {"overwritten where it stands now",
         {u"a", u"b"},
         {u"a", u"B"},
         {u"y", u"a", u"b"},
         {u"y", u"a", u"B"}},
        {"overwritten, but deleted there: added", {u"a", u"b"}, {u"a", u"B"}, {u"a"}, {u"a", u"B"}},
        {"added on both sides: once", {}, {u"x"}, {u"x"}, {u"x"}},
        {"no free slot left: what does not fit is not added",
         {},
         {u"x"},
         {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"},
         {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"}},
        {"unchanged here: theirs as it is", {u"a"}, {u"a"}, {u"b", u"c"}, {u"b", u"c"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(mergeFavourites(row.base, row.mine, row.theirs), row.merged);
    }
}

TEST_F(SettingsFileTest, PathIsBesideTheProgramWithTheSystemSeparator)
{
    EXPECT_EQ(QFileInfo(settingsPath()).absoluteFilePath(), QFileInfo(path()).absoluteFilePath());
    EXPECT_FALSE(settingsPath().contains(QLatin1Char('\\')));
}

TEST_F(SettingsFileTest, ReadThenWrittenBack)
{
    struct Row
    {
        const char* name;
        QByteArray file;
        SettingsRead read;
        QByteArray written;
    };
    const Row rows[] = {
        {"twelve lines give ten", lines(12), SettingsRead::Partial, lines(10)},
        {"an empty second line keeps only the first", "first\r\n\r\nthird\r\n",
         SettingsRead::Partial, "first\r\n"},
        {"LF only is one favourite, written back as it came", "a\nb\n", SettingsRead::Read,
         "a\nb\n\r\n"},
        {"full-width text in code page 932", "\x81\x99\x81\x9A\r\n\x8A\xBF\x8E\x9A\r\n",
         SettingsRead::Read, "\x81\x99\x81\x9A\r\n\x8A\xBF\x8E\x9A\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(row.file);
        // Reading also empties the slots it does not fill.
        Favourites f = listOf({u"1", u"2", u"3", u"4", u"5"});
        EXPECT_EQ(readSettings(f), row.read);
        for (int n = f.FavCount() + 1; n <= Favourites::kSlots; ++n) {
            EXPECT_TRUE(f.text(n).empty()) << n;
        }
        ASSERT_TRUE(writeSettings(f));
        EXPECT_EQ(readFile(), row.written);
    }
    writeFile(lines(3));
    ASSERT_TRUE(writeSettings(Favourites{}));
    EXPECT_EQ(readFile(), QByteArray());
}

TEST_F(SettingsFileTest, MissingOrUnreadableFileReadsNothing)
{
    Favourites f;
    EXPECT_EQ(readSettings(f), SettingsRead::Missing);
    EXPECT_EQ(f.FavCount(), 0);

    // A directory in the file's place cannot be read.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("masuedit.ini")));
    EXPECT_EQ(readSettings(f), SettingsRead::Unreadable);
    EXPECT_EQ(f.FavCount(), 0);
    QString error;
    EXPECT_FALSE(writeSettings(listOf({u"a"}), &error));
    EXPECT_EQ(error, QStringLiteral("ファイルではなくフォルダーです。"));
    EXPECT_TRUE(QFileInfo(path()).isDir());
    ASSERT_TRUE(QDir(m_dir.path()).rmdir(QStringLiteral("masuedit.ini")));

    // A named pipe is never opened: that would wait for a writer, at every start.
    ASSERT_EQ(mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    EXPECT_EQ(readSettings(f), SettingsRead::Unreadable);
    ASSERT_TRUE(QFile::remove(path()));

    // Nor is a file larger than any list of favourites.
    writeFile("a\r\n");
    ASSERT_TRUE(QFile::resize(path(), kMaxSettingsBytes + 1));
    EXPECT_EQ(readSettings(f), SettingsRead::Unreadable);
    EXPECT_EQ(f.FavCount(), 0);
}

TEST_F(SettingsFileTest, TwoWindowsChangesBothSurvive)
{
    writeFile("a\r\n");
    Favourites first;
    Favourites second;
    ASSERT_EQ(readSettings(first), SettingsRead::Read);
    ASSERT_EQ(readSettings(second), SettingsRead::Read);
    const Texts base = first.registered();
    first.store(2, u"x");
    second.store(2, u"y");
    ASSERT_TRUE(saveFavouriteChanges(base, first));
    ASSERT_TRUE(saveFavouriteChanges(base, second));
    EXPECT_EQ(readFile(), QByteArray("a\r\nx\r\ny\r\n"));
    // The window that saved last holds both.
    EXPECT_EQ(second.registered(), (Texts{u"a", u"x", u"y"}));

    // A file that cannot now be read whole is left as it is.
    writeFile("a\r\n\r\nkept\r\n");
    QString error;
    EXPECT_FALSE(saveFavouriteChanges(base, second, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(), QByteArray("a\r\n\r\nkept\r\n"));
}

TEST_F(SettingsFileTest, WriteIntoReadOnlyFolderFailsAndKeepsTheOldFile)
{
    writeFile("old\r\n");
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (AppPaths::isWritableDirectory(m_dir.path())) {
        QFile::setPermissions(
            m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "permissions do not stop this user from writing";
    }
    QString error;
    const bool written = writeSettings(listOf({u"new"}), &error);
    QFile::setPermissions(m_dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(), QByteArray("old\r\n"));
}

#ifdef __linux__
TEST_F(SettingsFileTest, WriteThatRunsOutOfSpaceKeepsTheOldFile)
{
    // A file size limit makes the write fail whoever runs the test (root included).
    writeFile(lines(5));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool written = writeSettings(listOf({u"a longer favourite"}), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(), lines(5));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
#endif
