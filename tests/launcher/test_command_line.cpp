// The command line read into its struct: what each argument list asks for, and the lists that
// must be refused as wrong usage.

#include <QTest>

#include "launcher/CommandLine.h"

using masumemo::launcher::CommandLine;
using masumemo::launcher::readCommandLine;
using Outcome = CommandLine::Outcome;

Q_DECLARE_METATYPE(CommandLine::Outcome)

class CommandLineTest : public QObject
{
    Q_OBJECT
private slots:
    void outcomes_data();
    void outcomes();
    void exportOptionsAreRead();
    void checkLimitsAreRead();
    void helpListsEveryOption();
    void refusalsSayWhatWasWrong();
};

void CommandLineTest::refusalsSayWhatWasWrong()
{
    const struct
    {
        const char* name;
        QStringList arguments;
        QStringList said;  // every one of these is in the message
    } rows[] = {
        {"a file name starting with a dash", {"--check", "-dash.txt"}, {"-dash.txt", "-- -dash.txt"}},
        {"an unknown long option", {"--bogus=1", "a"}, {"未知のオプション: --bogus=1"}},
        {"a value that starts with a dash is no option",
         {"--export", "png", "--output", "-o", "-x"}, {"未知のオプション: -x"}},
        {"a limit beyond every board", {"--check", "--max-bytes", "99999999999999", "a"},
         {"--max-bytes", "大きすぎます", "100000000"}},
        {"a limit just beyond", {"--check", "--max-lines", "100000001", "a"}, {"大きすぎます"}},
        {"a negative limit", {"--check", "--max-lines", "-3", "a"}, {"1 以上"}},
        {"a font size that is not a number", {"--export", "png", "--output", "o", "--font-size", "nan", "a"},
         {"--font-size"}},
        {"an endless font size", {"--export", "png", "--output", "o", "--font-size", "inf", "a"},
         {"--font-size"}},
        {"a font without export", {"--font", "x", "a"}, {"--font", "--export"}},
    };
    for (const auto& row : rows) {
        const CommandLine c = readCommandLine(QStringList{"masumemo"} + row.arguments);
        QVERIFY2(c.outcome == Outcome::UsageError, row.name);
        for (const QString& part : row.said) {
            QVERIFY2(c.error.contains(part), qPrintable(QLatin1String(row.name) + ": " + c.error));
        }
    }
    // After "--" a dashed name is a file; the largest limit itself is taken.
    const CommandLine dashed = readCommandLine(
        {"masumemo", "--check", "--max-bytes", "100000000", "--", "-dash.txt"});
    QCOMPARE(dashed.outcome, Outcome::Headless);
    QCOMPARE(dashed.files, QStringList{"-dash.txt"});
    QCOMPARE(dashed.maxBytes, 100'000'000);
    const CommandLine font = readCommandLine(
        {"masumemo", "--export", "html", "--font", "ＭＳ Ｐゴシック", "--output", "o", "a"});
    QCOMPARE(font.outcome, Outcome::Headless);
    QCOMPARE(font.font, QStringLiteral("ＭＳ Ｐゴシック"));
}

void CommandLineTest::outcomes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("files");

    const QStringList none;
    QTest::newRow("nothing: the chooser") << QStringList{} << Outcome::Windows << none;
    QTest::newRow("a file") << QStringList{"a.txt"} << Outcome::Windows << QStringList{"a.txt"};
    QTest::newRow("egaocho") << QStringList{"--egaocho"} << Outcome::Windows << none;
    QTest::newRow("help") << QStringList{"--help"} << Outcome::Help << none;
    QTest::newRow("version") << QStringList{"--version"} << Outcome::Version << none;
    QTest::newRow("export") << QStringList{"--export", "png", "--output", "o", "a", "b"}
                            << Outcome::Headless << QStringList{"a", "b"};
    QTest::newRow("export html, value after =")
        << QStringList{"--export=html", "--output=o", "a"} << Outcome::Headless
        << QStringList{"a"};
    QTest::newRow("unknown option") << QStringList{"--bogus"} << Outcome::UsageError << none;
    QTest::newRow("export without a value") << QStringList{"--export"} << Outcome::UsageError
                                            << none;
    QTest::newRow("export of another format")
        << QStringList{"--export", "gif", "--output", "o", "a"} << Outcome::UsageError << none;
    QTest::newRow("export without output")
        << QStringList{"--export", "png", "a"} << Outcome::UsageError << none;
    QTest::newRow("export without files")
        << QStringList{"--export", "png", "--output", "o"} << Outcome::UsageError << none;
    QTest::newRow("scale 3") << QStringList{"--export", "png", "--output", "o", "--scale", "3", "a"}
                             << Outcome::UsageError << none;
    QTest::newRow("font size not a number")
        << QStringList{"--export", "png", "--output", "o", "--font-size", "big", "a"}
        << Outcome::UsageError << none;
    QTest::newRow("export of no format") << QStringList{"--export=", "--output", "o", "a"}
                                         << Outcome::UsageError << none;
    QTest::newRow("font size nan, which reads as a number")
        << QStringList{"--export", "png", "--output", "o", "--font-size", "nan", "a"}
        << Outcome::UsageError << none;
    QTest::newRow("output without export") << QStringList{"--output", "o", "a"}
                                           << Outcome::UsageError << none;
    QTest::newRow("egaocho with a file") << QStringList{"--egaocho", "a"} << Outcome::UsageError
                                         << none;
    QTest::newRow("check") << QStringList{"--check", "a", "b"} << Outcome::Headless
                           << QStringList{"a", "b"};
    QTest::newRow("check without files") << QStringList{"--check"} << Outcome::UsageError << none;
    QTest::newRow("check with export")
        << QStringList{"--check", "--export", "png", "--output", "o", "a"} << Outcome::UsageError
        << none;
    QTest::newRow("max-lines without check") << QStringList{"--max-lines", "3", "a"}
                                             << Outcome::UsageError << none;
    QTest::newRow("max-bytes 0") << QStringList{"--check", "--max-bytes", "0", "a"}
                                 << Outcome::UsageError << none;
    QTest::newRow("library with a file") << QStringList{"--library", "parts", "a"}
                                         << Outcome::Windows << QStringList{"a"};
    QTest::newRow("library without its path") << QStringList{"--library"}
                                              << Outcome::UsageError << none;
    QTest::newRow("library with egaocho") << QStringList{"--library", "p", "--egaocho"}
                                          << Outcome::UsageError << none;
}

void CommandLineTest::outcomes()
{
    QFETCH(QStringList, arguments);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, files);

    arguments.prepend(QStringLiteral("masumemo"));
    const CommandLine c = readCommandLine(arguments);
    QCOMPARE(c.outcome, outcome);
    QCOMPARE(c.error.isEmpty(), outcome != Outcome::UsageError);
    if (outcome == Outcome::Windows || outcome == Outcome::Headless) {
        QCOMPARE(c.files, files);
    }
}

void CommandLineTest::exportOptionsAreRead()
{
    const CommandLine c = readCommandLine({"masumemo", "--export", "PNG", "--output", "out.png",
                                           "--scale", "2", "--font-size", "10.5", "in.txt"});
    QCOMPARE(c.outcome, Outcome::Headless);
    QCOMPARE(c.exportFormat, QStringLiteral("png"));
    QCOMPARE(c.output, QStringLiteral("out.png"));
    QCOMPARE(c.scale, 2);
    QCOMPARE(c.fontSize, 10.5);

    const CommandLine plain = readCommandLine({"masumemo", "--export", "html", "-o", "x", "a"});
    QCOMPARE(plain.outcome, Outcome::UsageError);  // no short forms: -o is not --output

    QCOMPARE(readCommandLine({"masumemo", "--library=/a/b"}).library, QStringLiteral("/a/b"));
}

void CommandLineTest::checkLimitsAreRead()
{
    const CommandLine c = readCommandLine({"masumemo", "--check", "--max-bytes", "2048",
                                           "--max-lines=30", "in.txt"});
    QCOMPARE(c.outcome, Outcome::Headless);
    QVERIFY(c.check);
    QCOMPARE(c.maxBytes, 2048);
    QCOMPARE(c.maxLines, 30);
    const CommandLine plain = readCommandLine({"masumemo", "--check", "in.txt"});
    QCOMPARE(plain.maxBytes, 4096);
    QCOMPARE(plain.maxLines, 64);
    QVERIFY(plain.passesUnicode);
    QVERIFY(!readCommandLine({"masumemo", "--check", "--no-unicode", "in.txt"}).passesUnicode);
    QCOMPARE(readCommandLine({"masumemo", "--no-unicode", "in.txt"}).outcome,
             Outcome::UsageError);  // only with --check
}

void CommandLineTest::helpListsEveryOption()
{
    const QString help = masumemo::launcher::helpText();
    for (const char* option : {"--help", "--version", "--egaocho", "--export", "--output",
                               "--scale", "--font-size", "--font", "--check", "--max-bytes",
                               "--max-lines", "--no-unicode", "--library"}) {
        QVERIFY2(help.contains(QLatin1String(option)), option);
    }
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
