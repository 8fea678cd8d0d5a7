// Documents of pages: MLT and AST files opened, shown page by page, changed by page commands and
// saved back with every unchanged page as the bytes it was read from.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "Corpus.h"
#include "document/Document.h"
#include "grid/LineModel.h"

using masumemo::document::Document;
using masumemo::document::FileForm;
using masumemo::document::LineEnds;

namespace {

std::string fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

void writeFile(const QString& path, const std::string& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes.data(), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
}

/// The page's first line, trailing spaces trimmed.
std::u16string firstLine(const Document& document, int i)
{
    const std::vector<std::u16string> lines = masumemo::grid::canvasLines(document.pageText(i));
    return lines.empty() ? std::u16string() : masumemo::grid::trimTrailingSpaces(lines[0]);
}

std::vector<std::u16string> firstLines(const Document& document)
{
    std::vector<std::u16string> out;
    for (int i = 0; i < document.pageCount(); ++i) {
        out.push_back(firstLine(document, i));
    }
    return out;
}

/// Types over the start of the shown page as the canvas would: the text changes, the
/// history records it.
void typeOver(Document& document, std::u16string_view text)
{
    document.prepareChange();
    auto& page = document.page();
    page.text.replace(0, text.size(), text);
    page.history.record({page.text, 0, page.keta, page.gyou});
    document.textChanged(0, 1, 1);
    document.setModified(true);
}

class DocumentPages : public ::testing::Test
{
protected:
    QString file(const char* name, const std::string& bytes)
    {
        const QString path = dir.filePath(QString::fromUtf8(name));
        writeFile(path, bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(DocumentPages, OpenedUnchangedAndSavedIsTheSameFile)
{
    struct Row
    {
        const char* name;
        const char* file;
        std::string bytes;
        int pages;
    };
    const std::vector<Row> rows = {
        {"MLT in CR LF", "a.mlt", "ab \r\n\r\n[SPLIT]\r\n\x82\xA0\r\n[SPLIT]\r\nc\r\n", 3},
        {"MLT in LF without a last line end", "b.mlt", "a\n[SPLIT]\nb", 2},
        {"an empty page and a page of blanks", "c.mlt", "a\r\n[SPLIT]\r\n[SPLIT]\r\n \r\n\r\n", 3},
        {"a closing separator", "d.mlt", "a\r\n[SPLIT]\r\n", 1},
        {"AST with a name holding ]", "e.ast", "[AA][a]b]\r\n1 \r\n[AA][]\r\n2", 2},
        {"AST with lines before its first header", "f.ast", "note\n[AA][x]\n1\n", 1},
        {"AST without a header", "g.ast", "just text\r\n", 1},
        {"an empty MLT", "h.mlt", "", 1},
        {"UTF-8 with a byte order mark", "i.mlt", "\xEF\xBB\xBF\xE3\x81\x82\r\n[SPLIT]\r\nx", 2},
        {"references and a lone CR", "j.mlt", "&#x200A;x\r[SPLIT]\r&#8202;\r", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = file(row.file, row.bytes);
        Document document;
        ASSERT_TRUE(document.open(path).ok);
        EXPECT_TRUE(document.hasPages());
        EXPECT_EQ(document.pageCount(), row.pages);
        // Showing every page changes nothing either.
        for (int i = 0; i < document.pageCount(); ++i) {
            document.setCurrentIndex(i);
        }
        QString error;
        const QString copy = dir.filePath(QStringLiteral("copy-") + QString::fromUtf8(row.file));
        ASSERT_TRUE(document.save(copy, &error)) << error.toStdString();
        EXPECT_EQ(fileBytes(copy), row.bytes);
        EXPECT_FALSE(document.modified());
        // Saved again from what it just wrote, still the same.
        ASSERT_TRUE(document.save(copy, &error));
        EXPECT_EQ(fileBytes(copy), row.bytes);
    }
}

TEST_F(DocumentPages, OpenShowsTheFirstPageOnTheLargestCanvas)
{
    const QString path = file("story.mlt", "ab\r\n[SPLIT]\r\nabcdef\r\nx\r\nx\r\n[SPLIT]\r\n");
    Document document;
    document.setModified(true);
    const auto report = document.open(path);
    ASSERT_TRUE(report.ok);
    EXPECT_EQ(document.pageCount(), 2);
    EXPECT_EQ(document.currentIndex(), 0);
    EXPECT_EQ(document.form().format, FileForm::Format::Mlt);
    EXPECT_EQ(document.form().lineEnds, LineEnds::CrLf);
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(document.page().keta, 3);
    EXPECT_EQ(document.page().gyou, 3);
    EXPECT_EQ(document.page().text, u"ab\u3000\u3000\r\n\u3000\u3000\u3000\r\n\u3000\u3000\u3000");
    // The second page is read only when it is asked for.
    EXPECT_FALSE(document.pageAt(1).loaded);
    EXPECT_EQ(document.pageText(1), u"abcdef\r\nx \u3000\u3000\r\nx \u3000\u3000");
}

TEST_F(DocumentPages, PagesTooDifferentForOneCanvasKeepTheirOwnSizes)
{
    const std::string wide(300000, 'a');
    std::string tall;
    for (int i = 0; i < 100000; ++i) {
        tall += "b\r\n";
    }
    const QString path = file("shapes.mlt", wide + "\r\n[SPLIT]\r\n" + tall);
    Document document;
    ASSERT_TRUE(document.open(path).ok);
    EXPECT_EQ(document.pageAt(0).gyou, 1);
    EXPECT_EQ(document.pageAt(1).keta, 1);
}

TEST_F(DocumentPages, ATextFileIsOnePageWhateverItHolds)
{
    const QString path = file("notes.txt", "a\r\n[SPLIT]\r\nb\r\n");
    Document document;
    ASSERT_TRUE(document.open(file("x.mlt", "1\r\n[SPLIT]\r\n2\r\n")).ok);
    ASSERT_TRUE(document.open(path).ok);
    EXPECT_EQ(document.pageCount(), 1);
    EXPECT_FALSE(document.hasPages());
    EXPECT_EQ(firstLine(document, 0), u"a");
}

TEST_F(DocumentPages, AChangedPageIsTheOnlyOneWhoseBytesChange)
{
    const std::string one = "one  \r\n\r\n";
    const std::string two = "two\r\n";
    const std::string three = "&#x200a;three";
    const QString path = file("three.mlt", one + "[SPLIT]\r\n" + two + "[SPLIT]\r\n" + three);
    Document document;
    ASSERT_TRUE(document.open(path).ok);
    document.setCurrentIndex(1);
    typeOver(document, u"TW");
    document.setCurrentIndex(2);
    QString error;
    ASSERT_TRUE(document.save(path, &error)) << error.toStdString();
    EXPECT_EQ(fileBytes(path), one + "[SPLIT]\r\nTWo\r\n[SPLIT]\r\n" + three);

    // A page changed and changed back is as it was read: its bytes stay.
    document.setCurrentIndex(0);
    const std::u16string before = document.page().text;
    typeOver(document, u"ON");
    typeOver(document, u"on");
    EXPECT_EQ(document.page().text, before);
    ASSERT_TRUE(document.save(path, &error));
    EXPECT_EQ(fileBytes(path), one + "[SPLIT]\r\nTWo\r\n[SPLIT]\r\n" + three);
}

TEST_F(DocumentPages, EachPageKeepsItsCaretAndHistory)
{
    Document document;
    ASSERT_TRUE(document.open(file("p.mlt", "aa\r\n[SPLIT]\r\nbb\r\n")).ok);
    std::vector<int> shown;
    QObject::connect(&document, &Document::currentChanged, [&](int i) { shown.push_back(i); });
    typeOver(document, u"x");
    document.page().caret = 1;
    document.setCurrentIndex(1);
    EXPECT_EQ(document.page().caret, 0);
    EXPECT_FALSE(document.page().history.canUndo());
    document.setCurrentIndex(0);
    EXPECT_EQ(document.page().caret, 1);
    EXPECT_TRUE(document.page().history.canUndo());
    EXPECT_EQ(shown, (std::vector<int>{1, 0}));
    document.setCurrentIndex(5);  // out of range: nothing
    EXPECT_EQ(document.currentIndex(), 0);
}

TEST_F(DocumentPages, PageCommandsAreStepsThatCanBeTakenBack)
{
    struct Row
    {
        const char* name;
        std::function<bool(Document&)> command;
        std::vector<std::u16string> pages;
        int current;
    };
    const std::vector<Row> rows = {
        {"add at the end", [](Document& d) { d.addPage(); return true; },
         {u"1", u"2a", u"3", u""}, 3},
        {"insert after the current", [](Document& d) { d.insertPage(); return true; },
         {u"1", u"2a", u"", u"3"}, 2},
        {"duplicate", [](Document& d) { d.duplicatePage(); return true; },
         {u"1", u"2a", u"2a", u"3"}, 2},
        {"delete", [](Document& d) { d.deletePage(); return true; }, {u"1", u"3"}, 1},
        {"move up", [](Document& d) { d.movePage(true); return true; }, {u"2a", u"1", u"3"}, 0},
        {"move down", [](Document& d) { d.movePage(false); return true; },
         {u"1", u"3", u"2a"}, 2},
        {"merge with the next", [](Document& d) { return d.mergeWithNext(); }, {u"1", u"2a"}, 1},
        {"split at the second line", [](Document& d) { return d.splitPage(1); },
         {u"1", u"2a", u"2b", u"3"}, 2},
    };
    const std::string bytes = "1\r\n[SPLIT]\r\n2a\r\n2b\r\n[SPLIT]\r\n3\r\n";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Document document;
        ASSERT_TRUE(document.open(file("cmd.mlt", bytes)).ok);
        document.setCurrentIndex(1);
        int listChanges = 0;
        QObject::connect(&document, &Document::pagesChanged, [&] { ++listChanges; });
        ASSERT_TRUE(row.command(document));
        EXPECT_EQ(firstLines(document), row.pages);
        EXPECT_EQ(document.currentIndex(), row.current);
        EXPECT_TRUE(document.modified());
        EXPECT_EQ(listChanges, 1);
        ASSERT_TRUE(document.canUndoPageCommand());
        document.undoPageCommand();
        EXPECT_EQ(firstLines(document), (std::vector<std::u16string>{u"1", u"2a", u"3"}));
        EXPECT_EQ(document.currentIndex(), 1);
        EXPECT_FALSE(document.canUndoPageCommand());
        // Taken back, the pages are those of the file again: saved, the same bytes.
        QString error;
        ASSERT_TRUE(document.save(document.path(), &error));
        EXPECT_EQ(fileBytes(document.path()), bytes);
    }
}

TEST_F(DocumentPages, PageCommandsAtTheEdges)
{
    Document document;
    ASSERT_TRUE(document.open(file("one.mlt", "a\r\nb\r\n")).ok);
    EXPECT_FALSE(document.mergeWithNext());
    EXPECT_FALSE(document.splitPage(0));
    EXPECT_FALSE(document.splitPage(2));
    document.movePage(true);
    EXPECT_FALSE(document.canUndoPageCommand());
    EXPECT_FALSE(document.pageIsBlank(0));
    // The last page is never deleted: it becomes blank.
    document.deletePage();
    EXPECT_EQ(document.pageCount(), 1);
    EXPECT_TRUE(document.pageIsBlank(0));
    EXPECT_EQ(document.page().keta, 1);
}

TEST_F(DocumentPages, SavedPagesReadBackAsTheyWere)
{
    // New pages, a split and a rename, with lines that read like separators.
    Document document;
    ASSERT_TRUE(document.open(file("names.ast", "[AA][first]\r\nx\r\n")).ok);
    document.addPage();
    typeOver(document, u"[AA][no]");
    document.renamePage(QStringLiteral("a]b"));
    document.addPage();
    typeOver(document, u"[SPLIT]");
    QString error;
    const QString path = dir.filePath(QStringLiteral("names.ast"));
    ASSERT_TRUE(document.save(path, &error));
    const std::string ast = fileBytes(path);
    EXPECT_EQ(ast.substr(0, 16), "[AA][first]\r\nx\r\n");

    Document again;
    ASSERT_TRUE(again.open(path).ok);
    ASSERT_EQ(again.pageCount(), 3);
    EXPECT_EQ(again.pageAt(1).name, u"a]b");
    EXPECT_EQ(firstLine(again, 1), u"[AA][no]");
    EXPECT_EQ(firstLine(again, 2), u"[SPLIT]");

    // Save As into an MLT: every page written afresh, a line that reads as a separator escaped.
    const QString mlt = dir.filePath(QStringLiteral("names.mlt"));
    FileForm form = again.form();
    form.format = FileForm::Format::Mlt;
    ASSERT_TRUE(again.save(mlt, form, &error));
    Document third;
    ASSERT_TRUE(third.open(mlt).ok);
    EXPECT_EQ(firstLines(third), firstLines(again));
}

TEST_F(DocumentPages, SaveAsTextWritesTheShownPage)
{
    Document document;
    ASSERT_TRUE(document.open(file("t.mlt", "a\r\n[SPLIT]\r\nb\r\n")).ok);
    document.setCurrentIndex(1);
    FileForm form = document.form();
    form.format = FileForm::Format::Text;
    QString error;
    const QString txt = dir.filePath(QStringLiteral("t.txt"));
    ASSERT_TRUE(document.save(txt, form, &error));
    EXPECT_EQ(fileBytes(txt), "b\r\n");
    // The text file is a copy of one page: the document stays the story, pages and all.
    EXPECT_TRUE(document.hasPages());
    EXPECT_EQ(document.pageCount(), 2);
    EXPECT_TRUE(document.path().endsWith(QStringLiteral("t.mlt")));
}

TEST_F(DocumentPages, ReplacedPagesAreShown)
{
    Document document;
    ASSERT_TRUE(document.open(file("r.mlt", "a\r\n[SPLIT]\r\nb\r\n")).ok);
    std::vector<masumemo::document::Page> pages = {document.pageAt(0), document.pageAt(1)};
    pages[1].text = u"z";
    pages[1].keta = 1;
    pages[1].gyou = 1;
    pages[1].loaded = true;
    int shown = -1;
    QObject::connect(&document, &Document::currentChanged, [&](int i) { shown = i; });
    document.replacePages(pages, 7);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(document.page().text, u"z");
    EXPECT_EQ(firstLine(document, 0), u"a");
    document.replacePages({}, 0);
    EXPECT_EQ(document.pageCount(), 1);
}

TEST_F(DocumentPages, EachPageKnowsItsFirstLineInTheFile)
{
    Document document;
    ASSERT_TRUE(document.open(file("lines.ast", "pre\r\n[AA][a]\r\n1\r\r\n[AA][b]\n2")).ok);
    EXPECT_EQ(document.pageFileLines(), (std::vector<int>{3, 6}));
    document.addPage();
    EXPECT_EQ(document.pageFileLines(), (std::vector<int>{3, 6, 0}));
}

TEST_F(DocumentPages, CorpusCollectionsRoundTrip)
{
    if (const char* reason = masumemo::testing::corpusSkipReason()) {
        GTEST_SKIP() << reason;
    }
    // Every corpus picture a page of one MLT in UTF-8 and LF, as Linux writes them.
    std::string mlt;
    std::vector<std::string> pictures;
    for (const auto& picture : masumemo::testing::corpusPictures()) {
        pictures.push_back(masumemo::testing::readBytes(picture));
        if (!pictures.back().empty() && pictures.back().back() != '\n') {
            pictures.back() += '\n';
        }
        mlt += (mlt.empty() ? "" : "[SPLIT]\n") + pictures.back();
    }
    const QString path = file("corpus.mlt", mlt);
    Document document;
    ASSERT_TRUE(document.open(path).ok);
    ASSERT_EQ(document.pageCount(), static_cast<int>(pictures.size()));
    QString error;
    ASSERT_TRUE(document.save(path, &error));
    ASSERT_EQ(fileBytes(path), mlt);

    const int k = document.pageCount() / 2;
    document.setCurrentIndex(k);
    typeOver(document, u"x");
    ASSERT_TRUE(document.save(path, &error));
    const std::string after = fileBytes(path);
    std::string expected;
    for (size_t i = 0; i < pictures.size(); ++i) {
        if (i > 0) {
            expected += "[SPLIT]\n";
        }
        if (static_cast<int>(i) == k) {
            Document alone;
            const QString single = file("page.mlt", pictures[i]);
            ASSERT_TRUE(alone.open(single).ok);
            typeOver(alone, u"x");
            ASSERT_TRUE(alone.save(single, &error));
            expected += fileBytes(single);
        } else {
            expected += pictures[i];
        }
    }
    EXPECT_EQ(after, expected);
}

}  // namespace
