// The platform layer: Qt's Japanese translation, the canvas fonts, twips and file filters.

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Translations.h"
#include "platform/Twips.h"

using namespace masumemo::platform;

class PlatformTest : public QObject
{
    Q_OBJECT
private slots:
    void japaneseTranslationLoadsWhateverTheLocale();
    void canvasFontsMapToAFaceWithDoubleWidthCharacters_data();
    void canvasFontsMapToAFaceWithDoubleWidthCharacters();
    void twipsRoundToTheNearestPixel_data();
    void twipsRoundToTheNearestPixel();
    void fileFiltersBecomeQtFilters_data();
    void fileFiltersBecomeQtFilters();
};

void PlatformTest::japaneseTranslationLoadsWhateverTheLocale()
{
    // A user running in an English or C locale still gets Japanese standard buttons.
    QLocale::setDefault(QLocale::c());
    QVERIFY(installJapaneseTranslations(*qApp));

    QMessageBox box(QMessageBox::Question, kProgramTitle, QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QVERIFY2(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("はい")),
             qPrintable(box.button(QMessageBox::Yes)->text()));
    QVERIFY(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("いいえ")));
    QVERIFY(box.button(QMessageBox::Cancel)->text().startsWith(QStringLiteral("キャンセル")));
}

void PlatformTest::canvasFontsMapToAFaceWithDoubleWidthCharacters_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("fixed");
    QTest::newRow("fixed Gothic") << kGothic << QStringLiteral("IPAGothic") << true;
    QTest::newRow("proportional Gothic") << kPGothic << QStringLiteral("Monapo") << false;
}

void PlatformTest::canvasFontsMapToAFaceWithDoubleWidthCharacters()
{
    QFETCH(QString, family);
    QFETCH(QString, expected);
    QFETCH(bool, fixed);
    installFontSubstitutions();
    QFont font(family, 12);
    QCOMPARE(QFontInfo(font).family(), expected);
    if (!fixed) {
        return;
    }
    // The grid lines up on screen only if every two-byte character is exactly two cells.
    const QFontMetrics metrics(font);
    const int cell = metrics.horizontalAdvance(QLatin1Char('a'));
    for (const QString& wide : {QStringLiteral("あ"), QStringLiteral("　"), QStringLiteral("┏"),
                                QStringLiteral("Ω"), QStringLiteral("Ж")}) {
        QCOMPARE(metrics.horizontalAdvance(wide), 2 * cell);
    }
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("ｱ")), cell);
}

void PlatformTest::twipsRoundToTheNearestPixel_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("below half a pixel rounds down") << 7 << 0;
    QTest::newRow("half a pixel rounds up") << 8 << 1;
    QTest::newRow("negative halves round away from zero") << -8 << -1;
    QTest::newRow("chooser width") << 3930 << 262;
}

void PlatformTest::twipsRoundToTheNearestPixel()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(px(twips), pixels);
}

void PlatformTest::fileFiltersBecomeQtFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("description already names its pattern")
        << QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt") << QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)");
    QTest::newRow("pattern added to a bare description")
        << QStringLiteral("Text|*.txt|All|*.*") << QStringLiteral("Text (*.txt);;All (*.*)");
    QTest::newRow("a description without pattern is dropped")
        << QStringLiteral("Text|*.txt|dangling") << QStringLiteral("Text (*.txt)");
}

void PlatformTest::fileFiltersBecomeQtFilters()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(qtFileFilter(filter), expected);
}

QTEST_MAIN(PlatformTest)
#include "test_platform.moc"
