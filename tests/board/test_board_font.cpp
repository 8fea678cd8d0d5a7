// The proportional canvas font must have the widths its pictures were drawn in: measured on
// single characters, and on corpus pictures whose authors lined up the right ends of lines.

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "Corpus.h"
#include "board/BoardBlanks.h"
#include "board/DotRuler.h"
#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"
#include "platform/Fonts.h"

using namespace masumemo;
using board::DotRuler;

class BoardFontTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void charactersHaveTheBoardWidths_data();
    void charactersHaveTheBoardWidths();
    void alignedRightEndsStayAligned_data();
    void alignedRightEndsStayAligned();
    void unicodeSpacesHaveTheBoardWidths();
    void linesWithReferencesLineUpInTheCorpus();
};

namespace {

/// A corpus picture as it opens: a code page 932 file with its references read.
struct OpenedPicture
{
    std::vector<std::u16string> lines;  ///< trimmed
    std::vector<double> ends;           ///< the right end of each line, in dots
};

std::vector<OpenedPicture> picturesWithReferences(const DotRuler& ruler)
{
    std::vector<OpenedPicture> out;
    for (const auto& path : testing::corpusPictures()) {
        const std::string bytes = testing::readBytes(path);
        if (bytes.find("&#") == std::string::npos) {
            continue;
        }
        const grid::CanvasFile file =
            grid::readCanvasFile(grid::encodeCp932(testing::fromUtf8(bytes)));
        OpenedPicture picture;
        for (const std::u16string& line : grid::canvasLines(file.canvas.text)) {
            picture.lines.push_back(grid::trimTrailingSpaces(line));
            double end = 0;
            for (const char16_t c : picture.lines.back()) {
                end += ruler.advance(c);
            }
            picture.ends.push_back(end);
        }
        out.push_back(std::move(picture));
    }
    return out;
}

/// True when line i of picture ends within tolerance of another non-empty line's end, its own
/// end moved by shift.
bool endsWithAnother(const OpenedPicture& picture, size_t i, double shift, double tolerance)
{
    for (size_t j = 0; j < picture.ends.size(); ++j) {
        if (j != i && !picture.lines[j].empty() &&
            std::abs(picture.ends[i] + shift - picture.ends[j]) <= tolerance) {
            return true;
        }
    }
    return false;
}

bool holdsUnicodeSpace(std::u16string_view line)
{
    return std::ranges::any_of(line, [](char16_t c) { return board::isUnicodeSpace(c); });
}

}  // namespace

void BoardFontTest::initTestCase()
{
    platform::installFontSubstitutions();
    // Points become the pixels the pictures were drawn in only at 96 dpi.
    QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
}

void BoardFontTest::charactersHaveTheBoardWidths_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("dots");
    QTest::newRow("full-width space") << QStringLiteral("\u3000") << 11;
    QTest::newRow("half-width space") << QStringLiteral(" ") << 5;
    QTest::newRow("full stop") << QStringLiteral(".") << 3;
    QTest::newRow("vertical bar") << QStringLiteral("|") << 4;
    QTest::newRow("a run of them") << QStringLiteral("\u3000 .|\u3000") << 34;
    QTest::newRow("nothing") << QString() << 0;
}

void BoardFontTest::charactersHaveTheBoardWidths()
{
    QFETCH(QString, text);
    QFETCH(int, dots);
    // The canvas font as the settings page applies it, and the ruler of the dot display.
    const QFont canvas(platform::kPGothic, 12);
    QCOMPARE(qRound(QFontMetricsF(canvas).horizontalAdvance(text)), dots);
    QCOMPARE(DotRuler().width(text.toStdU16String()), dots);
}

void BoardFontTest::alignedRightEndsStayAligned_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<std::vector<int>>("lines");
    // Each set of lines (1-based) ends in "|", "｜", "＼" or "／" at one place of the picture.
    QTest::newRow("face, right cheek") << QStringLiteral("yaruo_01/1.txt") << std::vector{4, 6, 7};
    QTest::newRow("face, second drawing")
        << QStringLiteral("yaruo_01/2.txt") << std::vector{4, 6, 7};
    QTest::newRow("wall beside the face")
        << QStringLiteral("yaruo_01/231.txt") << std::vector{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    QTest::newRow("framed night scene")
        << QStringLiteral("yaruo_02/166.txt")
        << std::vector{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    QTest::newRow("box on the head")
        << QStringLiteral("yaruo_02/281.txt") << std::vector{2, 3, 4, 5, 6};
    QTest::newRow("sign board") << QStringLiteral("yaranaio_02/84.txt")
                                << std::vector{2, 3, 4, 5, 6, 7, 8, 9};
}

void BoardFontTest::alignedRightEndsStayAligned()
{
    QFETCH(QString, picture);
    QFETCH(std::vector<int>, lines);
    if (const char* reason = testing::corpusSkipReason()) {
        QSKIP(reason);
    }
    const auto dir = testing::corpusDir();
    const auto path = dir / "ascii-art-yaruo" / "txt_1" / picture.toStdString();
    const QStringList text = QString::fromStdU16String(testing::fromUtf8(testing::readBytes(path)))
                                 .split(QStringLiteral("\r\n"));
    const QFontMetricsF metrics(QFont(platform::kPGothic, 12));
    std::vector<double> ends;
    for (int n : lines) {
        QVERIFY(n <= text.size());
        const QString line =
            QString::fromStdU16String(grid::trimTrailingSpaces(text[n - 1].toStdU16String()));
        QVERIFY2(!line.isEmpty() && QStringLiteral("|｜＼／").contains(line.back()),
                 qPrintable(QStringLiteral("line %1: %2").arg(n).arg(line)));
        ends.push_back(metrics.horizontalAdvance(line));
    }
    const auto [left, right] = std::minmax_element(ends.begin(), ends.end());
    QVERIFY2(*right - *left <= 1.0,
             qPrintable(QStringLiteral("right ends from %1 to %2 dots").arg(*left).arg(*right)));
}

// The lines that hold one kind of Unicode space, measured with every width from 0 to 16 dots
// for it: the width its authors drew with is the one at which most of those lines end where
// another line of the picture ends. Where the corpus decides, the board's width is that one.
void BoardFontTest::unicodeSpacesHaveTheBoardWidths()
{
    if (const char* reason = testing::corpusSkipReason()) {
        QSKIP(reason);
    }
    const DotRuler ruler;
    const std::vector<OpenedPicture> pictures = picturesWithReferences(ruler);
    for (char16_t space = 0x2002; space <= 0x200A; ++space) {
        const double dots = *board::blankDots(space);
        std::array<int, 17> aligned{};
        int uses = 0;
        for (const OpenedPicture& picture : pictures) {
            for (size_t i = 0; i < picture.lines.size(); ++i) {
                const auto count = std::ranges::count(picture.lines[i], space);
                uses += static_cast<int>(count);
                // One kind of space alone on its line, so that the line speaks for it.
                const bool others = std::ranges::any_of(picture.lines[i], [&](char16_t c) {
                    return c != space && board::isUnicodeSpace(c);
                });
                if (count != 1 || others) {
                    continue;
                }
                for (int w = 0; w <= 16; ++w) {
                    aligned[static_cast<size_t>(w)] +=
                        endsWithAnother(picture, i, w - dots, 0.5) ? 1 : 0;
                }
            }
        }
        const auto best = std::ranges::max_element(aligned);
        std::printf("U+%04X: %d uses; lines lined up at 0..16 dots:", unsigned(space), uses);
        for (int n : aligned) {
            std::printf(" %d", n);
        }
        std::printf("; board width %d\n", static_cast<int>(dots));
        // Where the corpus speaks (enough lines line up at some width), the board's width
        // lines up as many as any other, give or take one line: U+2006 lines up 44 lines at 2
        // dots and 43 at 3, the board's width by the author's own lines elsewhere.
        if (*best >= 30) {
            QVERIFY2(aligned[static_cast<size_t>(dots)] >= *best - 1,
                     qPrintable(QStringLiteral("U+%1").arg(unsigned(space), 4, 16)));
        }
    }
}

// Every picture with references, opened, in the board font: the lines that hold Unicode spaces
// end within one dot of another line of their picture at least as often as the lines without
// them do (measured as text, the references pushed them tens of dots off). A wrong width for
// a space would leave its lines a dot or more off where the authors lined them up.
void BoardFontTest::linesWithReferencesLineUpInTheCorpus()
{
    if (const char* reason = testing::corpusSkipReason()) {
        QSKIP(reason);
    }
    const DotRuler ruler;
    // [0]: lines without Unicode spaces, [1]: lines with them.
    std::array<int, 2> lines{};
    std::array<int, 2> lined{};
    for (const OpenedPicture& picture : picturesWithReferences(ruler)) {
        for (size_t i = 0; i < picture.lines.size(); ++i) {
            if (picture.lines[i].empty()) {
                continue;
            }
            const size_t with = holdsUnicodeSpace(picture.lines[i]) ? 1 : 0;
            ++lines[with];
            lined[with] += endsWithAnother(picture, i, 0, 1.0) ? 1 : 0;
        }
    }
    std::printf("lines ending within one dot of another line: %d of %d with Unicode spaces, "
                "%d of %d without\n",
                lined[1], lines[1], lined[0], lines[0]);
    QVERIFY(lines[1] > 1000);
    QVERIFY(static_cast<double>(lined[1]) / lines[1] >= static_cast<double>(lined[0]) / lines[0]);
}

QTEST_MAIN(BoardFontTest)
#include "test_board_font.moc"
