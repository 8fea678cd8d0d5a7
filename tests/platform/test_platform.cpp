// The platform layer: Qt's Japanese translation, the canvas fonts, twips, file filters and where
// tool windows open.

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/ProgramSettings.h"
#include "platform/Translations.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"

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
    void toolWindowsOpenBesideTheEditor_data();
    void toolWindowsOpenBesideTheEditor();
    void settingsReadBackAreChecked();
};

void PlatformTest::settingsReadBackAreChecked()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("s.conf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[A]\nlow=-2147483648\nhigh=99999999999\nhuge=999999999999999999999999\n"
               "word=ten\nfine=7\nspaced= 8 \nempty=\nyes=TRUE\nno=false\nmaybe=1\n");
    file.close();
    const QSettings s(file.fileName(), QSettings::IniFormat);
    const struct
    {
        const char* key;
        int want;
    } numbers[] = {{"A/low", 1},  {"A/high", 50}, {"A/huge", 5},  {"A/word", 5},
                   {"A/fine", 7}, {"A/spaced", 8}, {"A/empty", 5}, {"A/missing", 5}};
    for (const auto& row : numbers) {
        QVERIFY2(readInt(s, QLatin1String(row.key), 5, 1, 50) == row.want, row.key);
    }
    const struct
    {
        const char* key;
        bool fallback, want;
    } flags[] = {{"A/yes", false, true},  {"A/no", true, false},     {"A/maybe", false, false},
                 {"A/maybe", true, true}, {"A/missing", true, true}, {"A/empty", false, false}};
    for (const auto& row : flags) {
        QVERIFY2(readBool(s, QLatin1String(row.key), row.fallback) == row.want, row.key);
    }
}

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
void PlatformTest::toolWindowsOpenBesideTheEditor_data()
{
    // A 700 x 622 editor; a 360 x 420 window that stays useful down to 280 wide.
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("editor");
    QTest::addColumn<QRect>("window");
    const QSize size(360, 420);
    QTest::newRow("room on the right") << QRect(0, 0, 1920, 1080) << QRect(100, 50, 700, 622)
                                       << QRect(QPoint(800, 50), size);
    QTest::newRow("only the left has room")
        << QRect(0, 0, 1920, 1080) << QRect(1200, 50, 700, 622) << QRect(QPoint(840, 50), size);
    QTest::newRow("centred on a laptop: narrowed on the wider side")
        << QRect(0, 0, 1366, 768) << QRect(330, 40, 700, 622) << QRect(1030, 40, 336, 420);
    QTest::newRow("narrowed on the left when it is wider")
        << QRect(0, 0, 1366, 768) << QRect(340, 40, 700, 622) << QRect(0, 40, 340, 420);
    QTest::newRow("no room: against the right edge, over the editor's right part")
        << QRect(0, 0, 1024, 768) << QRect(162, 40, 700, 622) << QRect(QPoint(664, 40), size);
    QTest::newRow("kept on the screen vertically")
        << QRect(0, 0, 1920, 1080) << QRect(100, 900, 700, 622) << QRect(QPoint(800, 660), size);
    QTest::newRow("a screen that does not start at 0")
        << QRect(1920, 0, 1280, 1024) << QRect(1920, 0, 700, 622)
        << QRect(QPoint(2620, 0), size);
}

void PlatformTest::toolWindowsOpenBesideTheEditor()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, editor);
    QFETCH(QRect, window);
    const QRect placed = besideOwner(editor, QSize(360, 420), 280, screen);
    QCOMPARE(placed, window);
    QVERIFY(screen.contains(placed));
}

#include "test_platform.moc"
