// Every picture of the text-art corpus exported to PNG by one run of the program: all written,
// each under its folder as in the tree given (the file names repeat across folders), and each
// image exactly as wide as its widest line.

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "Corpus.h"
#include "export/PngExport.h"
#include "grid/Cp932.h"
#include "grid/References.h"
#include "grid/LineModel.h"
#include "platform/Fonts.h"

using namespace masumemo;

class ExportCorpusTest : public QObject
{
    Q_OBJECT
private slots:
    void everyPictureInOneCommand();
};

void ExportCorpusTest::everyPictureInOneCommand()
{
    if (const char* reason = testing::corpusSkipReason()) {
        QSKIP(reason);
    }
    const auto pictures = testing::corpusPictures();
    platform::installFontSubstitutions();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    // The corpus is UTF-8; the program reads Shift_JIS. The copies keep the corpus's folders.
    QStringList inputs;
    QMap<QString, int> widest;
    for (const auto& path : pictures) {
        const std::u16string text =
            grid::toCanvasForm(testing::fromUtf8(testing::readBytes(path)));
        const QString name = QString::fromStdString(path.parent_path().filename().string() + "/" +
                                                    path.stem().string());
        QVERIFY(QDir(dir.path()).mkpath("in/" + QFileInfo(name).path()));
        QFile file(dir.filePath("in/" + name + ".txt"));
        const std::string bytes = grid::encodeCp932(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
                 static_cast<qint64>(bytes.size()));
        inputs << file.fileName();
        int units = 0;
        // The program reads the references as the characters they stand for.
        const std::u16string opened = grid::decodeReferences(text);
        for (const std::u16string& line : grid::SplitText(grid::normaliseLineEnds(opened))) {
            units = std::max(units, grid::WidthOf(grid::trimTrailingSpaces(line)));
        }
        widest[name] = units;
    }

    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{"--export", "png", "--output", dir.filePath("out")};
    program.start(QStringLiteral(MASUMEMO_PROGRAM), arguments + inputs);
    QVERIFY(program.waitForFinished(240000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    const exporting::Geometry g =
        exporting::pictureGeometry(exporting::pictureFont(QFont(platform::kGothic, 12)));
    qsizetype images = 0;
    for (QDirIterator it(dir.filePath("out"), QDir::Files, QDirIterator::Subdirectories);
         it.hasNext(); it.next()) {
        ++images;
    }
    QCOMPARE(images, inputs.size());
    for (auto it = widest.cbegin(); it != widest.cend(); ++it) {
        const QImage image(dir.filePath("out/" + it.key() + ".png"));
        QVERIFY2(!image.isNull(), qPrintable(it.key()));
        QCOMPARE(image.width(), qCeil(it.value() * g.cellWidth + 2 * exporting::kImageMargin));
    }
}

QTEST_MAIN(ExportCorpusTest)
#include "test_export_corpus.moc"
