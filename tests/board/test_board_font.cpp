// The proportional canvas font must have the widths its pictures were drawn in: measured on
// single characters, and on corpus pictures whose authors lined up the right ends of lines.

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <vector>

#include "Corpus.h"
#include "grid/LineModel.h"
#include "board/DotRuler.h"
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
};

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

QTEST_MAIN(BoardFontTest)
#include "test_board_font.moc"
