// Pictures rendered as images and pages, checked on what comes out: the image's size, where its
// ink lies, the page's text, and many files exported at once.

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include "Corpus.h"
#include "export/ExportFiles.h"
#include "export/HtmlExport.h"
#include "export/PictureLayout.h"
#include "export/PngExport.h"
#include "grid/Cp932.h"
#include "grid/References.h"
#include "platform/Fonts.h"

using namespace masumemo;
using namespace masumemo::exporting;
using namespace Qt::Literals::StringLiterals;

namespace {

QFont canvasFont()
{
    return pictureFont(QFont(platform::kGothic, 12));
}

QImage render(const QString& canvas, int scale)
{
    return renderPicture(layOutPicture(canvas.toStdU16String()), canvasFont(), scale);
}

/// The bounding box of the pixels darker than mid grey; null when there are none.
QRect inkBox(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    QRect box;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            if (row[x] < 128) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

/// The right end of the ink of every line (from 0) of an image at scale 1.
QList<int> rightEnds(const QImage& image, const Geometry& g, int lines)
{
    QList<int> ends;
    for (int i = 0; i < lines; ++i) {
        const int top = kImageMargin + i * static_cast<int>(g.lineHeight);
        ends << inkBox(image.copy(0, top, image.width(), static_cast<int>(g.lineHeight))).right();
    }
    return ends;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class PictureExportTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void layoutTrimsAndCountsUnits_data();
    void layoutTrimsAndCountsUnits();
    void gridCellIsTheFixedFontsHalfWidthAdvance();
    void imageSizeFollowsTheTrimmedCanvas_data();
    void imageSizeFollowsTheTrimmedCanvas();
    void inkStaysInTheMarksCell_data();
    void inkStaysInTheMarksCell();
    void advancesPlaceMarksAfterEverythingBeforeThem_data();
    void advancesPlaceMarksAfterEverythingBeforeThem();
    void proportionalFontKeepsDotAlignedEnds_data();
    void proportionalFontKeepsDotAlignedEnds();
    void pageHoldsTheEscapedPictureInPre();
    void pageNamesFontsOfTheCanvasFontsWidths();
    void imagesStayWithinTheLimit();
    void manyFilesExportIntoAFolder();
    void aFileOfPagesExportsEveryPage();
    void failuresAreReportedAndTheRestGoOn();
    void noOutputIsEverAnInput_data();
    void noOutputIsEverAnInput();
    void aTreeKeepsItsFoldersUnderTheOutput();
};

void PictureExportTest::initTestCase()
{
    platform::installFontSubstitutions();
}

void PictureExportTest::layoutTrimsAndCountsUnits_data()
{
    QTest::addColumn<QString>("canvas");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("widest");

    QTest::newRow("empty canvas") << "" << QStringList{} << 0;
    QTest::newRow("trailing spaces of both widths")
        << u"ab\u3000 \u3000"_s << QStringList{"ab"} << 2;
    QTest::newRow("trailing blank lines dropped, leading kept")
        << u"\u3000\u3000\r\nあ\r\n \u3000\r\n\u3000"_s << QStringList{"", "あ"} << 2;
    QTest::newRow("widest line in the middle")
        << u"a\r\nあいb\r\nc"_s << QStringList{"a", "あいb", "c"} << 5;
    QTest::newRow("beyond the BMP: kept, one unit")
        << u"a\U0001F600b"_s << QStringList{u"a\U0001F600b"_s} << 3;
    QTest::newRow("Unicode spaces: one unit, no ink, not trimmed")
        << u"a\u2009\u200A"_s << QStringList{u"a\u2009\u200A"_s} << 3;
    QTest::newRow("inner spaces kept") << u"a\u3000 b"_s << QStringList{u"a\u3000 b"_s} << 5;
}

void PictureExportTest::layoutTrimsAndCountsUnits()
{
    QFETCH(QString, canvas);
    QFETCH(QStringList, lines);
    QFETCH(int, widest);

    const Picture picture = layOutPicture(canvas.toStdU16String());
    QStringList got;
    for (const PictureLine& line : picture.lines) {
        got << QString::fromStdU16String(line.text);
    }
    QCOMPARE(got, lines);
    QCOMPARE(picture.widestUnits, widest);
    // Every mark sits at the width of what precedes it on its line, spaces included.
    for (const PictureLine& line : picture.lines) {
        for (const Mark& m : line.marks) {
            const QString ch = QString::fromUcs4(&m.ch, 1);
            const auto at = line.text.find(ch.toStdU16String());
            QCOMPARE(m.column, grid::WidthOf(std::u16string_view(line.text).substr(0, at)));
            QVERIFY(m.ch != 0x2009 && m.ch != 0x200A);
        }
    }
}

void PictureExportTest::gridCellIsTheFixedFontsHalfWidthAdvance()
{
    const QFontMetricsF metrics(canvasFont());
    const Geometry g = pictureGeometry(canvasFont());
    QCOMPARE(g.cellWidth, metrics.horizontalAdvance(QLatin1Char('a')));
    QCOMPARE(g.cellWidth * 2, metrics.horizontalAdvance(QChar(0x3042)));
    QVERIFY(g.lineHeight >= metrics.height());
}

void PictureExportTest::imageSizeFollowsTheTrimmedCanvas_data()
{
    QTest::addColumn<QString>("canvas");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("units");

    QTest::newRow("one line") << "ab" << 1 << 1 << 2;
    QTest::newRow("one line at scale 2") << "ab" << 2 << 1 << 2;
    QTest::newRow("blank lines and spaces out of the size")
        << u"ab\u3000\u3000\r\nあ  \r\n\u3000\u3000\u3000\u3000\r\n    "_s << 1 << 2 << 2;
    QTest::newRow("widest line last") << u"a\r\n\r\nあいうえ"_s << 2 << 3 << 8;
    QTest::newRow("nothing but the margin") << u"\u3000\u3000\r\n "_s << 1 << 0 << 0;
}

void PictureExportTest::imageSizeFollowsTheTrimmedCanvas()
{
    QFETCH(QString, canvas);
    QFETCH(int, scale);
    QFETCH(int, lines);
    QFETCH(int, units);

    const Geometry g = pictureGeometry(canvasFont());
    const QImage image = render(canvas, scale);
    QCOMPARE(image.width(), qCeil((units * g.cellWidth + 2 * kImageMargin) * scale));
    QCOMPARE(image.height(), qCeil((lines * g.lineHeight + 2 * kImageMargin) * scale));
    // Black on white: the corners are margin.
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
    QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), QColor(Qt::white));
}

void PictureExportTest::inkStaysInTheMarksCell_data()
{
    QTest::addColumn<QString>("mark");
    QTest::addColumn<int>("scale");

    for (int scale : {1, 2}) {
        QTest::addRow("full-width block, scale %d", scale) << u"■"_s << scale;
        QTest::addRow("half-width hash, scale %d", scale) << "#" << scale;
        QTest::addRow("full-width kanji, scale %d", scale) << u"龍"_s << scale;
    }
}

void PictureExportTest::inkStaysInTheMarksCell()
{
    QFETCH(QString, mark);
    QFETCH(int, scale);

    // One mark at the third line, unit column 10, after a mix of half- and full-width spaces;
    // a wider blank line above keeps the image wider than the mark.
    const QString canvas = QString(20, QChar(0x3000)) + QStringLiteral("\r\n\r\n") +
                           QString(3, QChar(0x3000)) + QStringLiteral("    ") + mark;
    const QImage image = render(canvas, scale);
    const Geometry g = pictureGeometry(canvasFont());
    const int width = grid::WidthOf(mark.toStdU16String());
    const QRectF cell((kImageMargin + 10 * g.cellWidth) * scale,
                      (kImageMargin + 2 * g.lineHeight) * scale, width * g.cellWidth * scale,
                      g.lineHeight * scale);
    const QRect ink = inkBox(image);
    QVERIFY2(!ink.isNull(), "no ink at all");
    QVERIFY2(cell.adjusted(-0.5, -0.5, 0.5, 0.5).contains(QRectF(ink)),
             qPrintable(QStringLiteral("ink %1,%2 %3x%4 outside the cell %5,%6 %7x%8")
                            .arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())
                            .arg(cell.x()).arg(cell.y()).arg(cell.width()).arg(cell.height())));
    // The glyph fills a fair part of its cell: it was drawn at the canvas size, not tiny.
    QVERIFY(ink.height() >= cell.height() / 3);
}

void PictureExportTest::advancesPlaceMarksAfterEverythingBeforeThem_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<double>>("positions");
    QTest::addColumn<double>("width");

    // The board font's widths: full-width space 11, half-width space 5, "." 3, "|" 4; "あ" 16.
    QTest::newRow("blanks of both widths before the marks")
        << u"\u3000 .|"_s << QList<double>{16, 19} << 23.0;
    QTest::newRow("a mark first, blanks between")
        << u"あ.\u3000|"_s << QList<double>{0, 16, 30} << 34.0;
    QTest::newRow("trailing blanks out of the width") << u"|\u3000 "_s << QList<double>{0} << 4.0;
    QTest::newRow("same dots, other cells: 11 = 5 + 3 + 3")
        << u" ..|"_s << QList<double>{5, 8, 11} << 15.0;
    QTest::newRow("blank line") << u"\u3000 \u3000"_s << QList<double>{} << 0.0;
    // A Unicode space is a blank of its own width; a character beyond the BMP is one mark.
    QTest::newRow("Unicode space and an emoji")
        << u"\u2006|\U0001F600|"_s << QList<double>{3, 7, 23} << 27.0;
}

void PictureExportTest::advancesPlaceMarksAfterEverythingBeforeThem()
{
    QFETCH(QString, line);
    QFETCH(QList<double>, positions);
    QFETCH(double, width);

    const AdvancePlacement placement([](char32_t ch) {
        const std::map<char32_t, double> board{
            {U'\u3000', 11}, {U' ', 5}, {U'.', 3}, {U'|', 4}, {U'\u2006', 3}};
        return board.contains(ch) ? board.at(ch) : 16.0;
    });
    const Picture picture = layOutPicture((line + u"\r\n|"_s).toStdU16String());
    const std::vector<double> x = placement.positions(picture.lines.front());
    QCOMPARE(QList<double>(x.begin(), x.end()), positions);
    QCOMPARE(placement.lineWidth(picture.lines.front()), width);
}

void PictureExportTest::proportionalFontKeepsDotAlignedEnds_data()
{
    QTest::addColumn<QString>("picture");  // in the corpus, or empty for canvas
    QTest::addColumn<QString>("canvas");
    QTest::addColumn<QList<int>>("lines");  // from 1: ends lined up in dots, cells apart
    QTest::newRow("11 dots: one full-width space, or a half-width space and two dots")
        << QString() << u"a\u3000|\r\na ..|"_s << QList<int>{1, 2};
    QTest::newRow("55 dots: five full-width spaces, or eleven half-width ones")
        << QString() << u"\u3000\u3000\u3000\u3000\u3000／\r\n           ／"_s << QList<int>{1, 2};
    QTest::newRow("corpus: face, right cheek")
        << QStringLiteral("yaruo_01/1.txt") << QString() << QList<int>{4, 6, 7};
    QTest::newRow("corpus: sign board")
        << QStringLiteral("yaranaio_02/84.txt") << QString() << QList<int>{2, 3, 4, 5, 6, 7, 8, 9};
    // Lines 14 to 17 reach the right edge of line 18 with Unicode spaces.
    QTest::newRow("corpus: right edge lined up with references")
        << QStringLiteral("yaranaio_02/54.txt") << QString() << QList<int>{14, 15, 16, 17, 18};
}

void PictureExportTest::proportionalFontKeepsDotAlignedEnds()
{
    QFETCH(QString, picture);
    QFETCH(QString, canvas);
    QFETCH(QList<int>, lines);
    const char* corpusSkip = testing::corpusSkipReason();
    if (!picture.isEmpty() && corpusSkip) {
        QSKIP(corpusSkip);
    }
    const QFont font = pictureFont(QFont(platform::kPGothic, 12));
    if (!QStringList{"Monapo", "Mona"}.contains(QFontInfo(font).family())) {
        QSKIP("neither Monapo nor Mona (the board font's widths) is installed");
    }
    if (!picture.isEmpty()) {
        const auto path =
            testing::corpusDir() / "ascii-art-yaruo" / "txt_1" / picture.toStdString();
        // As a file opens: its references read as the characters they stand for.
        canvas = QString::fromStdU16String(
            grid::decodeReferences(testing::fromUtf8(testing::readBytes(path))));
    }
    const Picture laidOut = layOutPicture(canvas.toStdU16String());
    const Geometry g = pictureGeometry(font);
    const GridPlacement grid(g.cellWidth);
    QList<int> ends;
    QList<int> onGrid;
    const QList<int> all = rightEnds(renderPicture(laidOut, font, 1), g, lines.last());
    const QList<int> allOnGrid = rightEnds(renderPicture(laidOut, font, 1, &grid), g, lines.last());
    for (int n : lines) {
        ends << all[n - 1];
        onGrid << allOnGrid[n - 1];
    }
    const auto spread = [](const QList<int>& x) {
        return *std::ranges::max_element(x) - *std::ranges::min_element(x);
    };
    // QTest::toString hands back a buffer the caller must free; a joined QString needs no care.
    const auto shown = [](const QList<int>& x) {
        QStringList numbers;
        for (int v : x) {
            numbers << QString::number(v);
        }
        return numbers.join(u' ');
    };
    QVERIFY2(spread(ends) <= 1, qPrintable(shown(ends)));
    QVERIFY2(spread(onGrid) > 1, qPrintable(shown(onGrid)));

    // The image is as wide as the widest line in the font's own advances (the board's for the
    // Unicode spaces).
    const auto placement = placementFor(font);
    double widest = 0;
    for (const PictureLine& line : laidOut.lines) {
        widest = std::max(widest, placement->lineWidth(line));
    }
    QCOMPARE(renderPicture(laidOut, font, 2).width(), qCeil((widest + 2 * kImageMargin) * 2));
}

void PictureExportTest::pageHoldsTheEscapedPictureInPre()
{
    const Picture picture = layOutPicture(u"\u3000\r\n<a href=\"x\">&amp;</a>\u3000\r\n\u3000");
    const QString page = QString::fromUtf8(htmlPage(picture, {QStringLiteral("a<b>"), 16, 17}));
    QVERIFY(page.startsWith(QLatin1String("<!DOCTYPE html>")));
    QVERIFY(page.contains(QLatin1String("<meta charset=\"utf-8\">")));
    QVERIFY(page.contains(QLatin1String("<title>a&lt;b&gt;</title>")));
    QVERIFY(page.contains(kHtmlFontList));
    QVERIFY(page.contains(QLatin1String("font-size: 16px; line-height: 17px; letter-spacing: 0")));
    // The first line is blank: the newline after <pre> is the one the parser drops.
    QVERIFY(page.contains(QLatin1String(
        "<pre>\n\n&lt;a href=&quot;x&quot;&gt;&amp;amp;&lt;/a&gt;\n</pre>")));
}

void PictureExportTest::pageNamesFontsOfTheCanvasFontsWidths()
{
    const struct
    {
        const char* name;
        QFont font;
        QString list;
        const char* sizes;
    } rows[] = {
        {"fixed: its own size and line", pictureFont(QFont(platform::kGothic, 15)), kHtmlFontList,
         "font-size: 20px; line-height: 21px;"},
        // Pictures spaced for the proportional font's widths are shown in faces of those widths,
        // at the size they were made for, whatever the canvas showed.
        {"proportional", pictureFont(QFont(platform::kPGothic, 22)),
         u"Monapo, Mona, \"MS PGothic\", \"ＭＳ Ｐゴシック\""_s,
         "font-size: 16px; line-height: 18px;"},
    };
    for (const auto& row : rows) {
        const QString page = QString::fromUtf8(
            htmlPage(layOutPicture(u"ab"), htmlStyleFor(row.font, 21)));
        QVERIFY2(page.contains(u"font-family: "_s + row.list + u';'), row.name);
        QVERIFY2(page.contains(QLatin1String(row.sizes)), row.name);
    }
}

void PictureExportTest::imagesStayWithinTheLimit()
{
    const struct
    {
        QSize size;
        bool fits;
    } rows[] = {
        {{8192, 8192}, true},  // exactly 256 MB at four bytes a pixel
        {{8193, 8192}, false},
        {{1, 1}, true},
        {{0, 10}, false},
        {{100000, 100000}, false},
        {{2147483647, 2}, false},
    };
    for (const auto& row : rows) {
        QVERIFY2(fitsImageLimit(row.size) == row.fits,
                 qPrintable(QStringLiteral("%1 x %2").arg(row.size.width()).arg(row.size.height())));
    }
    // Far past the limit: no image, and no minutes spent drawing one.
    std::u16string text;
    for (int i = 0; i < 800; ++i) {
        text += std::u16string(40, u'■') + u"\r\n";
    }
    const Picture picture = layOutPicture(text);
    const QFont font = pictureFont(QFont(platform::kGothic, 12), 60);
    QVERIFY(!fitsImageLimit(pictureImageSize(picture, font, 2)));
    QVERIFY(renderPicture(picture, font, 2).isNull());
    QVERIFY(fitsImageLimit(pictureImageSize(picture, font, 1)) ==
            !renderPicture(picture, font, 1).isNull());
}

void PictureExportTest::manyFilesExportIntoAFolder()
{
    QTemporaryDir dir;
    const CanvasReader read = [](const QString& path) {
        return CanvasText{true, {}, QFileInfo(path).baseName().toStdU16String()};
    };
    QStringList reports;
    const auto report = [&](const QString& line) { reports << line; };
    ExportOptions options{Format::Png, canvasFont(), 1, {}};

    const QString out = dir.filePath(QStringLiteral("new/folder"));
    QCOMPARE(exportFiles({"/a/x.txt", "/a/yy.txt"}, out, options, read, report), 0);
    QCOMPARE(reports, QStringList{});
    QCOMPARE(QDir(out).entryList(QDir::Files), (QStringList{"x.png", "yy.png"}));
    // Each image is as wide as its own file's picture.
    const Geometry g = pictureGeometry(canvasFont());
    QCOMPARE(QImage(out + "/yy.png").width(), qCeil(2 * g.cellWidth + 2 * kImageMargin));

    // One file: the output is the file itself; an existing folder takes it by name.
    options.format = Format::Html;
    QCOMPARE(exportFiles({"/a/x.txt"}, dir.filePath("page.html"), options, read, report), 0);
    QVERIFY(readAll(dir.filePath("page.html")).contains("<title>x.txt</title>"));
    QCOMPARE(exportFiles({"/a/z.txt"}, out, options, read, report), 0);
    QVERIFY(QFile::exists(out + "/z.html"));
}

void PictureExportTest::aFileOfPagesExportsEveryPage()
{
    const struct
    {
        const char* target;
        int page;
        int count;
        const char* numbered;
    } names[] = {
        {"out/a.png", 0, 3, "out/a-1.png"},
        {"out/a.png", 11, 12, "out/a-12.png"},
        {"a.png", 6, 999, "a-007.png"},
        {"a.png", 6, 1000, "a-0007.png"},
        {"/x/b.c/no suffix", 0, 10, "/x/b.c/no suffix-01"},
    };
    for (const auto& row : names) {
        QCOMPARE(pageTarget(QString::fromUtf8(row.target), row.page, row.count),
                 QString::fromUtf8(row.numbered));
    }

    QTemporaryDir dir;
    std::vector<std::u16string> pages;
    QStringList headings;
    for (int i = 1; i <= 12; ++i) {
        pages.push_back(std::u16string(static_cast<size_t>(i), u'x'));
        headings << (i == 2 ? QStringLiteral("<二>") : QStringLiteral("ﾍﾟｰｼﾞ %1").arg(i));
    }
    const CanvasReader read = [&](const QString&) {
        return CanvasText{true, {}, pages[0], pages, headings};
    };
    QStringList reports;
    const auto report = [&](const QString& line) { reports << line; };
    ExportOptions options{Format::Png, canvasFont(), 1, {}};
    QCOMPARE(exportFiles({"/a/story.mlt"}, dir.filePath("story.png"), options, read, report), 0);
    QStringList expected;
    for (int i = 1; i <= 12; ++i) {
        expected << QStringLiteral("story-%1.png").arg(i, 2, 10, QLatin1Char('0'));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
    // Each image is its own page: the twelfth is the widest.
    QVERIFY(QImage(dir.filePath("story-12.png")).width() >
            QImage(dir.filePath("story-01.png")).width());

    options.format = Format::Html;
    QCOMPARE(exportFiles({"/a/story.mlt"}, dir.filePath("story.html"), options, read, report), 0);
    const QByteArray html = readAll(dir.filePath("story.html"));
    QCOMPARE(html.count("<pre>"), 12);
    QVERIFY(html.contains("<h2>&lt;二&gt;</h2>"));
    QVERIFY(html.indexOf("ﾍﾟｰｼﾞ 1<") < html.indexOf("ﾍﾟｰｼﾞ 12<"));
    QCOMPARE(reports, QStringList{});
}

void PictureExportTest::failuresAreReportedAndTheRestGoOn()
{
    QTemporaryDir dir;
    const CanvasReader read = [](const QString& path) {
        if (path.contains(QLatin1String("missing"))) {
            return CanvasText{false, QStringLiteral("not found"), {}};
        }
        return CanvasText{true, {}, path.toStdU16String()};
    };
    QStringList reports;
    const auto report = [&](const QString& line) { reports << line; };
    const ExportOptions options{Format::Png, canvasFont(), 1, {}};

    // A missing file, then two inputs that would both be "same.png".
    QCOMPARE(exportFiles({"/p/missing.txt", "/p/same.txt", "/p/same.aa"}, dir.path(), options, read,
                         report),
             1);
    QCOMPARE(reports.size(), 2);
    QCOMPARE(reports[0], QStringLiteral("/p/missing.txt: not found"));
    QVERIFY(reports[1].startsWith(QLatin1String("/p/same.aa: ")));
    // The first of the two kept its picture.
    const QImage first(dir.filePath("same.png"));
    QCOMPARE(first.width(), render(QStringLiteral("/p/same.txt"), 1).width());

    // A folder that cannot be made: nothing written, one report.
    reports.clear();
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QCOMPARE(exportFiles({"a", "b"}, dir.filePath("file/sub"), options, read, report), 1);
    QCOMPARE(reports.size(), 1);
    // A single output that is not writable.
    reports.clear();
    QCOMPARE(exportFiles({"a"}, dir.filePath("file/x.png"), options, read, report), 1);
    QVERIFY(reports.value(0).startsWith(QLatin1String("a: ")));
}

void PictureExportTest::noOutputIsEverAnInput_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QStringList>("written");

    // Every picture below is a file "x" holding "x" before the export, in the folder "m".
    QTest::newRow("the output named as the input")
        << QStringList{"m/pic.txt"} << "m/pic.txt"
        << "html" << QStringList{"m/pic.txt"} << QStringList{};
    QTest::newRow("a folder holding an input of the output's name")
        << QStringList{"m/pic.html", "m/other.txt"} << "m"
        << "html" << QStringList{"m/pic.html"} << QStringList{"m/other.html"};
    QTest::newRow("a.png is both an input and a.txt's output, found before either is written")
        << QStringList{"m/a.txt", "m/a.png"} << "m"
        << "png" << QStringList{"m/a.txt", "m/a.png"} << QStringList{};
    QTest::newRow("a link to the input as the output")
        << QStringList{"m/pic.txt"} << "link-to-pic"
        << "png" << QStringList{"m/pic.txt"} << QStringList{};
    QTest::newRow("the output folder through a link to the inputs' folder")
        << QStringList{"m/pic.png", "m/b.txt"} << "link-to-m"
        << "png" << QStringList{"m/pic.png"} << QStringList{"m/b.png"};
    QTest::newRow("an input named twice: the second is a true duplicate")
        << QStringList{"m/pic.txt", "m/pic.txt"} << "out"
        << "png" << QStringList{"m/pic.txt"} << QStringList{"out/pic.png"};
}

void PictureExportTest::noOutputIsEverAnInput()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, output);
    QFETCH(QString, format);
    QFETCH(QStringList, refused);
    QFETCH(QStringList, written);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("m"));
    for (const QString& input : inputs) {
        QFile file(dir.filePath(input));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(input.toUtf8());
    }
    QVERIFY(QFile::link(dir.filePath("m/pic.txt"), dir.filePath("link-to-pic")));
    QVERIFY(QFile::link(dir.filePath("m"), dir.filePath("link-to-m")));
    const CanvasReader read = [](const QString&) { return CanvasText{true, {}, u"x"}; };
    QStringList reports;
    const auto report = [&](const QString& line) { reports << line; };
    QStringList absolute;
    for (const QString& input : inputs) {
        absolute << dir.filePath(input);
    }
    const ExportOptions options{format == "png" ? Format::Png : Format::Html, canvasFont(), 1, {}};

    QCOMPARE(exportFiles(absolute, dir.filePath(output), options, read, report), 1);

    QCOMPARE(reports.size(), refused.size());
    for (qsizetype i = 0; i < refused.size(); ++i) {
        QVERIFY2(reports[i].startsWith(dir.filePath(refused[i]) + ": "), qPrintable(reports[i]));
    }
    // Every input still holds what it held.
    for (const QString& input : inputs) {
        QCOMPARE(readAll(dir.filePath(input)), input.toUtf8());
    }
    for (const QString& name : written) {
        QVERIFY2(readAll(dir.filePath(name)).size() > 0, qPrintable(name));
    }
}

void PictureExportTest::aTreeKeepsItsFoldersUnderTheOutput()
{
    QTemporaryDir dir;
    const CanvasReader read = [](const QString&) { return CanvasText{true, {}, u"x"}; };
    QStringList reports;
    const auto report = [&](const QString& line) { reports << line; };
    const ExportOptions options{Format::Png, canvasFont(), 1, {}};

    // The names repeat across folders; the common folder is /pictures/set.
    const QStringList inputs{"/pictures/set/a/1.txt", "/pictures/set/a/2.txt",
                             "/pictures/set/b/1.txt", "/pictures/set/b/deep/1.txt",
                             "/pictures/set/1.txt"};
    QCOMPARE(exportFiles(inputs, dir.filePath("out"), options, read, report), 0);
    QCOMPARE(reports, QStringList{});
    for (const char* name : {"a/1.png", "a/2.png", "b/1.png", "b/deep/1.png", "1.png"}) {
        QVERIFY2(!QImage(dir.filePath("out/") + name).isNull(), name);
    }

    const ExportPlan plan = planExport({"/p/x.txt", "/q/r/x.txt"}, "/out", Format::Html);
    QCOMPARE(plan.targets, (QStringList{"/out/p/x.html", "/out/q/r/x.html"}));
    QCOMPARE(plan.refusals, (QStringList{{}, {}}));
}

QTEST_MAIN(PictureExportTest)
#include "test_picture_export.moc"
