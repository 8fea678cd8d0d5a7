// The command-line check's report lines: names that would break a line apart are escaped, and
// every line still begins with the name.
#include <gtest/gtest.h>

#include <QString>
#include <QTextStream>

#include "check/CheckCommand.h"

using masumemo::check::reportedName;

TEST(CheckCommand, NamesWithControlCharactersAreEscaped)
{
    const struct
    {
        const char* name;
        QString path, want;
    } rows[] = {
        {"plain", QStringLiteral("a/b.txt"), QStringLiteral("a/b.txt")},
        {"Japanese and spaces", QStringLiteral("絵 1.txt"), QStringLiteral("絵 1.txt")},
        {"a backslash alone stays", QStringLiteral("a\\b.txt"), QStringLiteral("a\\b.txt")},
        {"line feed", QStringLiteral("two\nlines.txt"), QStringLiteral("two\\nlines.txt")},
        {"carriage return and tab", QStringLiteral("a\r\tb"), QStringLiteral("a\\r\\tb")},
        {"escape, with a backslash", QStringLiteral("\x1b\\"), QStringLiteral("\\x1b\\\\")},
        {"delete", QStringLiteral("a\x7f"), QStringLiteral("a\\x7f")},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(reportedName(row.path), row.want) << row.name;
    }
}

TEST(CheckCommand, EveryReportLineStartsWithTheEscapedName)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const auto read = [](const QString& path) {
        if (path.startsWith(u'm')) {
            return masumemo::check::CheckedFile{false, QStringLiteral("ない"), {}};
        }
        return masumemo::check::CheckedFile{true, {}, u" a\r\nb  c"};
    };
    const int status = masumemo::check::runCheckCommand(
        {QStringLiteral("x\ny"), QStringLiteral("m\nz")}, {}, read, outStream, errStream);
    EXPECT_EQ(status, 2);
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
        EXPECT_TRUE(line.startsWith(QStringLiteral("x\\ny:"))) << line.toStdString();
    }
    EXPECT_EQ(out.count(u'\n'), 3);
    EXPECT_EQ(err, QStringLiteral("m\\nz: ない\n"));
}

TEST(CheckCommand, PagesAreCheckedEachOnItsOwnAtTheLinesOfTheFile)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const auto read = [](const QString&) {
        masumemo::check::CheckedFile file{true, {}, u"", {}};
        file.pages = {{u"ok", 1}, {u"a\r\n c", 3}};
        return file;
    };
    const int status = masumemo::check::runCheckCommand({QStringLiteral("s.mlt")}, {}, read,
                                                        outStream, errStream);
    EXPECT_EQ(status, 1);
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("s.mlt: ﾍﾟｰｼﾞ 1: バイト数 2 /"))) << lines[0].toStdString();
    // The second page's second line is the fourth line of the file.
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("s.mlt:4:1: ﾍﾟｰｼﾞ 2: "))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("s.mlt: ﾍﾟｰｼﾞ 2: "))) << lines[2].toStdString();
}
