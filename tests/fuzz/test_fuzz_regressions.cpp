// Every input kept under regressions/ (seeds, and inputs a fuzzer once failed on) goes through
// the same checks as in the fuzzers, so a fault found once stays found without clang.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include "tests/fuzz/CanvasFileCheck.h"
#include "tests/fuzz/CommandLineCheck.h"
#include "tests/fuzz/HeadlessRunCheck.h"
#include "tests/fuzz/DotMovesCheck.h"
#include "tests/fuzz/PagesCheck.h"
#include "tests/fuzz/PartsFileCheck.h"
#include "tests/fuzz/PostingCheck.h"
#include "tests/fuzz/ReferencesCheck.h"
#include "tests/fuzz/SettingsChecks.h"

// The headless commands replayed here bring up the font library, which keeps caches of its own
// for the life of the process; the leak check would report them at exit. They are not ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

using namespace masumemo;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Runs check on every file of regressions/<folder>; answers how many there were.
int replay(const char* folder, const std::function<std::string(std::string_view)>& check)
{
    const QDir dir(QStringLiteral(MASUMEMO_FUZZ_REGRESSIONS "/") + QLatin1String(folder));
    int count = 0;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        SCOPED_TRACE(std::string(folder) + "/" + name.toStdString());
        const QByteArray bytes = readFile(dir.filePath(name));
        EXPECT_EQ(check(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))),
                  "");
        ++count;
    }
    return count;
}

TEST(FuzzRegressions, CanvasFiles)
{
    EXPECT_GT(replay("canvas_file", fuzzcheck::checkCanvasFile), 0);
}

TEST(FuzzRegressions, SettingsAndDictionaryFiles)
{
    EXPECT_GT(replay("settings", fuzzcheck::checkSettings), 0);
    EXPECT_GT(replay("settings", fuzzcheck::checkDictionaryFile), 0);
    EXPECT_GT(replay("canvas_file", fuzzcheck::checkDictionaryFile), 0);
}

TEST(FuzzRegressions, Pages)
{
    EXPECT_GT(replay("pages", fuzzcheck::checkPages), 0);
    EXPECT_GT(replay("parts_file", fuzzcheck::checkPages), 0);
}

TEST(FuzzRegressions, PartsFiles)
{
    EXPECT_GT(replay("parts_file", fuzzcheck::checkPartsBytes), 0);
    EXPECT_GT(replay("parts_file", fuzzcheck::checkPartsWriting), 0);
    // Canvas files are parts files too (TXT), and their seeds hold the odd line ends.
    EXPECT_GT(replay("canvas_file", fuzzcheck::checkPartsBytes), 0);
}

TEST(FuzzRegressions, PostingCheckAndMends)
{
    EXPECT_GT(replay("posting_check", fuzzcheck::checkPosting), 0);
}

TEST(FuzzRegressions, ComposerAndDotMoves)
{
    EXPECT_GT(replay("composer", fuzzcheck::checkComposerAndMoves), 0);
}

TEST(FuzzRegressions, CommandLines)
{
    EXPECT_GT(replay("command_line", fuzzcheck::checkCommandLineAndRun), 0);
}

TEST(FuzzRegressions, References)
{
    EXPECT_GT(replay("references", fuzzcheck::checkReferences), 0);
    // Any file's text, as the canvas and parts files hold it.
    EXPECT_GT(replay("canvas_file", fuzzcheck::checkAnyFileText), 0);
    EXPECT_GT(replay("parts_file", fuzzcheck::checkAnyFileText), 0);
}

TEST(FuzzRegressions, ListFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString before = QDir::currentPath();
    // As in the fuzzer: short relative names name real files in the working directory.
    for (const char* name : {"a", "b.txt"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("(^_^)\r\n \x81\x40\r\n\r\n\x82\xa0 \n");
    }
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_GT(replay("list_file", [&](std::string_view bytes) {
                  return fuzzcheck::checkListFile(bytes, dir.path());
              }),
              0);
    platform::AppPaths::setProgramDirectoryForTesting(QString());
    QDir::setCurrent(before);
}

}  // namespace
