// The document on its own, as the headless commands and every window use it: the order in
// which it tells of a change, a listener that writes before the change goes on, and files
// opened and saved through it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "document/Document.h"

using masumemo::document::Document;
using masumemo::document::LineEnds;
using masumemo::document::OpenReport;

namespace {

/// Everything the document says, in order, as short strings.
struct Heard
{
    explicit Heard(Document& document)
    {
        QObject::connect(&document, &Document::aboutToChange, [this] { log.push_back("about"); });
        QObject::connect(&document, &Document::changed, [this](int first, int removed, int added) {
            log.push_back("changed " + std::to_string(first) + " " + std::to_string(removed) +
                          " " + std::to_string(added));
        });
        QObject::connect(&document, &Document::modifiedChanged,
                         [this](bool on) { log.push_back(on ? "modified" : "saved"); });
        QObject::connect(&document, &Document::pathChanged,
                         [this](const QString&) { log.push_back("path"); });
    }
    std::vector<std::string> log;
};

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace

TEST(Document, AWriterIsAnnouncedBeforeAndReportedAfter)
{
    Document document;
    document.resetPage(u"ab\r\ncd", 1, 2);
    Heard heard(document);
    EXPECT_FALSE(document.prepareChange());
    document.page().text = u"ab\r\nxy";
    document.textChanged(1, 1, 1);
    EXPECT_EQ(heard.log, (std::vector<std::string>{"about", "changed 1 1 1"}));
}

TEST(Document, AListenerWritesFirstAndIsNotAnnouncedTwice)
{
    // A floating block answers "about to change" by laying itself down, a write of its own; a
    // writer must then build on the text with the block in it.
    Document document;
    document.resetPage(u"ab\r\ncd", 1, 2);
    int announced = 0;
    QObject::connect(&document, &Document::aboutToChange, [&] {
        ++announced;
        EXPECT_FALSE(document.prepareChange());  // its own write: no second announcement
        document.page().text = u"ba\r\ncd";
        document.textChanged(0, 1, 1);
    });
    const quint64 before = document.revision();
    EXPECT_TRUE(document.prepareChange());
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(document.page().text, u"ba\r\ncd");
    EXPECT_EQ(document.revision(), before + 1);
    // With nothing left to settle the next writer hears of no write.
    QObject::disconnect(&document, &Document::aboutToChange, nullptr, nullptr);
    EXPECT_FALSE(document.prepareChange());
}

TEST(Document, ResetPageStartsAHistoryOfItsOwn)
{
    Document document;
    Heard heard(document);
    document.resetPage(u"\u3000\r\n\u3000", 1, 2);
    EXPECT_EQ(heard.log, (std::vector<std::string>{"about", "changed 0 -1 2"}));
    EXPECT_EQ(document.pageCount(), 1);
    EXPECT_EQ(document.page().caret, 0);
    EXPECT_FALSE(document.page().history.canUndo());
    EXPECT_EQ(document.page().history.current().Text, u"\u3000\r\n\u3000");
}

TEST(Document, OpenFitsTheFileAndRemembersItsLineEnds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Row
    {
        const char* name;
        QByteArray bytes;
        LineEnds ends;
    };
    const Row rows[] = {
        {"CR LF", "ab\r\nc\r\n", LineEnds::CrLf},
        {"LF, as Linux writes", "ab\nc\n", LineEnds::Lf},
        {"a lone CR", "ab\rc", LineEnds::Cr},
        {"one line without an end", "ab", LineEnds::CrLf},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = dir.filePath(QStringLiteral("picture.txt"));
        ASSERT_TRUE(writeFile(path, row.bytes));
        Document document;
        document.setModified(true);
        Heard heard(document);
        const OpenReport report = document.open(path);
        ASSERT_TRUE(report.ok);
        EXPECT_EQ(document.path(), path);
        EXPECT_FALSE(document.modified());
        EXPECT_EQ(document.form().lineEnds, row.ends);
        EXPECT_EQ(document.page().keta, 1);
        EXPECT_EQ(document.page().text.substr(0, 2), u"ab");
        // The new picture is in place before anyone hears that the file changed.
        ASSERT_GE(heard.log.size(), 4u);
        EXPECT_EQ(heard.log[0], "about");
        EXPECT_EQ(heard.log[1].rfind("changed 0 -1", 0), 0u);
        EXPECT_EQ(heard.log[2], "saved");
        EXPECT_EQ(heard.log[3], "path");
    }
}

TEST(Document, AFailedOpenOrSaveChangesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath(QStringLiteral("good.txt"));
    ASSERT_TRUE(writeFile(good, "xy\r\n"));
    Document document;
    ASSERT_TRUE(document.open(good).ok);
    document.setModified(true);

    Heard heard(document);
    const QString binary = dir.filePath(QStringLiteral("binary.txt"));
    ASSERT_TRUE(writeFile(binary, QByteArray("a\0b", 3)));
    const OpenReport report = document.open(binary);
    EXPECT_FALSE(report.ok);
    EXPECT_FALSE(report.error.isEmpty());

    QString error;
    EXPECT_FALSE(document.save(dir.filePath(QStringLiteral("missing/folder.txt")), &error));
    EXPECT_FALSE(error.isEmpty());

    EXPECT_TRUE(heard.log.empty());
    EXPECT_EQ(document.path(), good);
    EXPECT_TRUE(document.modified());
    EXPECT_EQ(document.page().text, u"xy");
}

TEST(Document, SaveWritesCodePage932WithCrLfAndBelongsToTheNewFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString lf = dir.filePath(QStringLiteral("lf.txt"));
    ASSERT_TRUE(writeFile(lf, "\x82\xA0 \n"));  // "あ " with an LF
    Document document;
    ASSERT_TRUE(document.open(lf).ok);
    document.setModified(true);
    Heard heard(document);
    const QString target = dir.filePath(QStringLiteral("saved.txt"));
    QString error;
    ASSERT_TRUE(document.save(target, &error)) << error.toStdString();
    EXPECT_EQ(fileBytes(target), QByteArray("\x82\xA0\r\n"));
    EXPECT_EQ(document.form().lineEnds, LineEnds::CrLf);
    EXPECT_EQ(document.path(), target);
    EXPECT_EQ(heard.log, (std::vector<std::string>{"saved", "path"}));
}
