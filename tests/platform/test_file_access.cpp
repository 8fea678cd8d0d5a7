// Whole-file reading and writing: only regular files within the limit are read, nothing ever
// blocks, writes are checked to the last byte, and every reason reads in Japanese.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <set>

#include "FileSizeLimit.h"
#include "platform/FileAccess.h"

using namespace masumemo::platform;

namespace {

class FileAccess : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path(name);
    }
    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList entries() const
    {
        return QDir(m_dir.path())
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDir::Name);
    }

    QTemporaryDir m_dir;
};

QString socketAt(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || static_cast<size_t>(name.size()) >= sizeof(address.sun_path)) {
        return {};
    }
    std::copy(name.begin(), name.end(), address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound ? path : QString();
}

}  // namespace

TEST(FileProblems, SystemErrorsBecomeJapaneseReasons)
{
    struct Row
    {
        int error;
        FileProblem problem;
        const char* text;
    };
    const Row rows[] = {
        {ENOENT, FileProblem::NotFound, "ファイルまたはフォルダーが見つかりません。"},
        {ENOTDIR, FileProblem::NotFound, "ファイルまたはフォルダーが見つかりません。"},
        {EACCES, FileProblem::PermissionDenied, "アクセスが許可されていません。"},
        {EPERM, FileProblem::PermissionDenied, "アクセスが許可されていません。"},
        {EROFS, FileProblem::PermissionDenied, "アクセスが許可されていません。"},
        {ENOSPC, FileProblem::NoSpace, "ディスクの空き容量が足りません。"},
        {EDQUOT, FileProblem::NoSpace, "ディスクの空き容量が足りません。"},
        {EISDIR, FileProblem::IsFolder, "ファイルではなくフォルダーです。"},
        {ENXIO, FileProblem::NotRegularFile,
         "通常のファイルではありません（パイプやデバイスなど）。"},
        {EFBIG, FileProblem::TooLarge, "ファイルが大きすぎます。"},
        {EIO, FileProblem::Other, "ファイルの読み書き中にエラーが発生しました。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.error);
        EXPECT_EQ(problemOfErrno(row.error), row.problem);
        EXPECT_EQ(problemText(row.problem), QString::fromUtf8(row.text));
    }
    EXPECT_EQ(problemOfErrno(0), FileProblem::None);
    EXPECT_TRUE(problemText(FileProblem::None).isEmpty());
}

TEST_F(FileAccess, OnlyRegularFilesWithinTheLimitAreRead)
{
    const QString pipe = path("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString socket = socketAt(path("socket"));
    QDir(m_dir.path()).mkdir("folder");
    ASSERT_TRUE(QFile::link(write("target.txt", "linked"), path("link.txt")));
    struct Row
    {
        QString path;
        qint64 limit;
        FileProblem problem;
        QByteArray bytes;
    };
    const Row rows[] = {
        {write("a.txt", "abc\r\n"), 5, FileProblem::None, "abc\r\n"},
        {write("empty.txt", ""), 0, FileProblem::None, ""},
        {path("link.txt"), 100, FileProblem::None, "linked"},
        {path("a.txt"), 4, FileProblem::TooLarge, {}},
        {path("missing.txt"), 100, FileProblem::NotFound, {}},
        {path("a.txt/under"), 100, FileProblem::NotFound, {}},
        {QString(), 100, FileProblem::NotFound, {}},
        {path("folder"), 100, FileProblem::IsFolder, {}},
        // Opened, the pipe would wait for a writer and /dev/zero would never end.
        {pipe, 100, FileProblem::NotRegularFile, {}},
        {QStringLiteral("/dev/zero"), 100, FileProblem::NotRegularFile, {}},
        {QStringLiteral("/dev/null"), 100, FileProblem::NotRegularFile, {}},
        {socket, 100, FileProblem::NotRegularFile, {}},
        // A system file reports size 0 and is longer: the read stops past the limit.
        {QStringLiteral("/proc/self/status"), 10, FileProblem::TooLarge, {}},
    };
    for (const Row& row : rows) {
        if (row.path == socket && socket.isEmpty()) {
            continue;
        }
        SCOPED_TRACE(row.path.toStdString());
        const FileBytes got = readRegularFile(row.path, row.limit);
        EXPECT_EQ(got.problem, row.problem);
        EXPECT_EQ(got.bytes, row.bytes);
        EXPECT_EQ(regularFileProblem(row.path) == FileProblem::None,
                  row.problem == FileProblem::None || row.problem == FileProblem::TooLarge);
    }
}

TEST_F(FileAccess, WritingReplacesTheWholeFile)
{
    write("a.txt", "old contents");
    EXPECT_EQ(writeWholeFile(path("a.txt"), "new"), FileProblem::None);
    EXPECT_EQ(read("a.txt"), QByteArray("new"));
    EXPECT_EQ(writeWholeFile(path("empty.txt"), ""), FileProblem::None);
    EXPECT_EQ(read("empty.txt"), QByteArray());
    EXPECT_EQ(entries(), QStringList({"a.txt", "empty.txt"}));
}

TEST_F(FileAccess, FailedWritesKeepTheOldFileAndSayWhy)
{
    const QByteArray old = "old contents";
    write("a.txt", old);
    const std::string longer(1000, 'x');
    {
        // The write is cut short at 100 bytes; a buffered writer would report success here.
        masumemo::testing::FileSizeLimit limit(100);
        EXPECT_EQ(writeWholeFile(path("a.txt"), longer), FileProblem::TooLarge);
        EXPECT_EQ(writeWholeFile(path("a.txt"), longer, WriteMode::ReplaceOrOverwrite),
                  FileProblem::TooLarge);
    }
    EXPECT_EQ(read("a.txt"), old);

    const QString pipe = path("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QDir(m_dir.path()).mkdir("folder");
    EXPECT_EQ(writeWholeFile(pipe, "x"), FileProblem::NotRegularFile);
    EXPECT_EQ(writeWholeFile(path("folder"), "x"), FileProblem::IsFolder);
    EXPECT_EQ(writeWholeFile(path("gone/a.txt"), "x"), FileProblem::NotFound);
    EXPECT_EQ(writeWholeFile(path("a.txt/b.txt"), "x"), FileProblem::NotFound);
    // The pipe is still a pipe, and no temporary file is left behind.
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    EXPECT_EQ(entries(), QStringList({"a.txt", "folder", "pipe"}));
    EXPECT_EQ(read("a.txt"), old);
}

TEST_F(FileAccess, AppendingAddsToWhatIsThereOrNothingAtAll)
{
    bool changed = true;
    // A missing file is made; an existing one keeps its bytes and gets the new ones after them.
    EXPECT_EQ(appendToFile(path("a.txt"), "one\r\n", 0, &changed), FileProblem::None);
    EXPECT_FALSE(changed);
    EXPECT_EQ(appendToFile(path("a.txt"), "two\r\n", 5, &changed), FileProblem::None);
    EXPECT_EQ(read("a.txt"), QByteArray("one\r\ntwo\r\n"));

    // The file is not the size the bytes were worked out for: nothing written, read it again.
    EXPECT_EQ(appendToFile(path("a.txt"), "three\r\n", 5, &changed), FileProblem::None);
    EXPECT_TRUE(changed);
    EXPECT_EQ(read("a.txt"), QByteArray("one\r\ntwo\r\n"));

    {
        // Cut short by a full disk: what got in is taken back off.
        masumemo::testing::FileSizeLimit limit(12);
        EXPECT_EQ(appendToFile(path("a.txt"), "a longer line\r\n", 10, &changed),
                  FileProblem::TooLarge);
    }
    EXPECT_EQ(read("a.txt"), QByteArray("one\r\ntwo\r\n"));

    const QString pipe = path("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QDir(m_dir.path()).mkdir("folder");
    EXPECT_EQ(appendToFile(pipe, "x", 0, &changed), FileProblem::NotRegularFile);
    EXPECT_EQ(appendToFile(path("folder"), "x", 0, &changed), FileProblem::IsFolder);
    EXPECT_EQ(appendToFile(path("gone/a.txt"), "x", 0, &changed), FileProblem::NotFound);
}
