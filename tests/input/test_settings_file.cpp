#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <string>
#include <vector>

#include "grid/Cp932.h"
#include "input/Favourites.h"
#include "input/SettingsFile.h"
#include "platform/AppPaths.h"

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
        {"twelve lines give ten",
         lines(12).toStdString(),
         {u"line1", u"line2", u"line3", u"line4", u"line5", u"line6", u"line7", u"line8", u"line9",
          u"line10"}},
        {"empty second line ends the list", "a\r\n\r\nc\r\n", {u"a"}},
        {"empty third line gives two", "a\r\nb\r\n\r\nd\r\n", {u"a", u"b"}},
        {"empty first line gives none", "\r\nb\r\n", {}},
        {"LF only is one line holding the LFs", "a\nb\nc\n", {u"a\nb\nc\n"}},
        {"lone CR ends a line", "a\rb\r", {u"a", u"b"}},
        {"last line without a line end", "a\r\nb", {u"a", u"b"}},
        {"CR then LF across lines", "a\r\n\nb\r\n", {u"a", u"\nb"}},
        {"full-width text", "\x81\x99\xB1\x8A\xBF\r\n", {u"\u2606\uFF71\u6F22"}},
        {"invalid bytes read as ?", "a\x81\r\n", {u"a?"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(parseSettings(row.bytes), row.expected);
    }
}

TEST_F(SettingsFileTest, PathIsBesideTheProgramWithTheSystemSeparator)
{
    EXPECT_EQ(QFileInfo(settingsPath()).absoluteFilePath(), QFileInfo(path()).absoluteFilePath());
    EXPECT_FALSE(settingsPath().contains(QLatin1Char('\\')));
}

TEST_F(SettingsFileTest, TwelveLinesReadAsTenAndWriteBackTen)
{
    writeFile(lines(12));
    Favourites f;
    EXPECT_EQ(readSettings(f), SettingsRead::Read);
    EXPECT_EQ(f.FavCount(), 10);
    ASSERT_TRUE(writeSettings(f));
    EXPECT_EQ(readFile(), lines(10));
}

TEST_F(SettingsFileTest, EmptySecondLineKeepsOnlyTheFirst)
{
    writeFile("first\r\n\r\nthird\r\n");
    Favourites f = listOf({u"1", u"2", u"3", u"4", u"5"});
    EXPECT_EQ(readSettings(f), SettingsRead::Read);
    EXPECT_EQ(f.registered(), Texts{u"first"});
    EXPECT_TRUE(f.text(2).empty());  // reading empties the slots it does not fill
    EXPECT_TRUE(f.text(5).empty());
    ASSERT_TRUE(writeSettings(f));
    EXPECT_EQ(readFile(), QByteArray("first\r\n"));
}

TEST_F(SettingsFileTest, LfOnlyFileIsOneFavourite)
{
    writeFile("a\nb\n");
    Favourites f;
    readSettings(f);
    EXPECT_EQ(f.registered(), Texts{u"a\nb\n"});
    // It goes back the way it came.
    ASSERT_TRUE(writeSettings(f));
    EXPECT_EQ(readFile(), QByteArray("a\nb\n\r\n"));
}

TEST_F(SettingsFileTest, FullWidthFavouriteRoundTripsAsCp932)
{
    const Texts texts = {u"\u2606\u2605", u"\uFF08\uFF9F\u2200\uFF9F\uFF09", u"\u6F22\u5B57"};
    ASSERT_TRUE(writeSettings(listOf(texts)));
    QByteArray expected;
    for (const std::u16string& t : texts) {
        expected += QByteArray::fromStdString(masumemo::grid::encodeCp932(t)) + "\r\n";
    }
    EXPECT_EQ(readFile(), expected);
    EXPECT_EQ(readFile().left(4), QByteArray("\x81\x99\x81\x9A"));
    Favourites back;
    EXPECT_EQ(readSettings(back), SettingsRead::Read);
    EXPECT_EQ(back.registered(), texts);
}

TEST_F(SettingsFileTest, NoFavouritesWriteAnEmptyFile)
{
    writeFile(lines(3));
    ASSERT_TRUE(writeSettings(Favourites{}));
    EXPECT_TRUE(QFileInfo::exists(path()));
    EXPECT_EQ(QFileInfo(path()).size(), 0);
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
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(path()).isDir());
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
