#include "FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <mutex>

namespace masumemo::platform {
namespace {

FileProblem problemOfMode(mode_t mode)
{
    if (S_ISREG(mode)) {
        return FileProblem::None;
    }
    return S_ISDIR(mode) ? FileProblem::IsFolder : FileProblem::NotRegularFile;
}

/// Closes the descriptor when reading ends, however it ends.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

/// Past a file size limit the system sends SIGXFSZ, whose default ends the program with the
/// user's picture. Ignored, the write fails with EFBIG and the save says so.
void ignoreFileSizeSignal()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

/// The problem of a failed QSaveFile step: the system's error number when the step left one,
/// otherwise Qt's category.
FileProblem problemOfSave(int error, const QSaveFile& file)
{
    if (const FileProblem problem = problemOfErrno(error); problem != FileProblem::None) {
        return problem;
    }
    if (file.error() == QFileDevice::PermissionsError) {
        return FileProblem::PermissionDenied;
    }
    if (!QFileInfo(file.fileName()).absoluteDir().exists()) {
        return FileProblem::NotFound;
    }
    return FileProblem::Other;
}

}  // namespace

FileProblem problemOfErrno(int error)
{
    switch (error) {
        case 0:
            return FileProblem::None;
        case ENOENT:
        case ENOTDIR:
            return FileProblem::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return FileProblem::PermissionDenied;
        case ENOSPC:
        case EDQUOT:
            return FileProblem::NoSpace;
        case EISDIR:
            return FileProblem::IsFolder;
        case ENXIO:
        case ENODEV:
            return FileProblem::NotRegularFile;
        case EFBIG:
        case EOVERFLOW:
            return FileProblem::TooLarge;
        default:
            return FileProblem::Other;
    }
}

QString problemText(FileProblem problem)
{
    switch (problem) {
        case FileProblem::None:
            return {};
        case FileProblem::NotFound:
            return QStringLiteral("ファイルまたはフォルダーが見つかりません。");
        case FileProblem::PermissionDenied:
            return QStringLiteral("アクセスが許可されていません。");
        case FileProblem::NoSpace:
            return QStringLiteral("ディスクの空き容量が足りません。");
        case FileProblem::IsFolder:
            return QStringLiteral("ファイルではなくフォルダーです。");
        case FileProblem::NotRegularFile:
            return QStringLiteral("通常のファイルではありません（パイプやデバイスなど）。");
        case FileProblem::TooLarge:
            return QStringLiteral("ファイルが大きすぎます。");
        case FileProblem::Other:
            break;
    }
    return QStringLiteral("ファイルの読み書き中にエラーが発生しました。");
}

FileProblem regularFileProblem(const QString& path)
{
    if (path.isEmpty()) {
        return FileProblem::NotFound;
    }
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return problemOfErrno(errno);
    }
    return problemOfMode(status.st_mode);
}

FileBytes readRegularFile(const QString& path, qint64 maxBytes)
{
    FileBytes read;
    // Looked at before opening: opening a pipe for reading waits for a writer, and opening a
    // device can have effects of its own.
    read.problem = regularFileProblem(path);
    if (read.problem != FileProblem::None) {
        return read;
    }
    // Non-blocking, and checked again once open, in case the name was given to a pipe between
    // the look and the open.
    const Descriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status
    {
    };
    if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0) {
        read.problem = problemOfErrno(errno);
        return read;
    }
    read.problem = problemOfMode(status.st_mode);
    if (read.problem == FileProblem::None && status.st_size > maxBytes) {
        read.problem = FileProblem::TooLarge;
    }
    if (read.problem != FileProblem::None) {
        return read;
    }
    // The size is only a hint: a file that grows while it is read (or a system file reporting
    // 0) is read up to one byte past the limit, which tells it is too large.
    QByteArray bytes(static_cast<qsizetype>(std::min<qint64>(status.st_size, maxBytes) + 1),
                     Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxBytes) {
                read.problem = FileProblem::TooLarge;
                return read;
            }
            bytes.resize(static_cast<qsizetype>(std::min<qint64>(2 * total, maxBytes + 1)));
        }
        const ssize_t got =
            ::read(fd.get(), bytes.data() + total, static_cast<size_t>(bytes.size() - total));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            read.problem = problemOfErrno(errno);
            return read;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    if (total > maxBytes) {
        read.problem = FileProblem::TooLarge;
        return read;
    }
    bytes.resize(static_cast<qsizetype>(total));
    read.bytes = std::move(bytes);
    return read;
}

FileProblem writeWholeFile(const QString& path, std::string_view bytes, WriteMode mode)
{
    ignoreFileSizeSignal();
    // A pipe or device is not replaced by a file, nor a folder by anything.
    if (const FileProblem problem = regularFileProblem(path);
        problem == FileProblem::IsFolder || problem == FileProblem::NotRegularFile) {
        return problem;
    }
    QSaveFile file(path);
    file.setDirectWriteFallback(mode == WriteMode::ReplaceOrOverwrite);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return problemOfSave(errno, file);
    }
    const auto size = static_cast<qint64>(bytes.size());
    errno = 0;
    if (size > 0 && file.write(bytes.data(), size) != size) {
        const int error = errno;
        file.cancelWriting();
        return problemOfSave(error, file);
    }
    errno = 0;
    if (!file.commit()) {
        return problemOfSave(errno, file);
    }
    return FileProblem::None;
}

FileProblem appendToFile(const QString& path, std::string_view bytes, qint64 expectedSize,
                         bool* changed)
{
    ignoreFileSizeSignal();
    *changed = false;
    if (const FileProblem problem = regularFileProblem(path);
        problem == FileProblem::IsFolder || problem == FileProblem::NotRegularFile) {
        return problem;
    }
    // Non-blocking, so a pipe put in the file's place meanwhile cannot hold the window.
    const Descriptor fd(::open(QFile::encodeName(path).constData(),
                               O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
    if (fd.get() < 0) {
        return problemOfErrno(errno);
    }
    struct stat info = {};
    if (::fstat(fd.get(), &info) != 0) {
        return problemOfErrno(errno);
    }
    if (const FileProblem problem = problemOfMode(info.st_mode); problem != FileProblem::None) {
        return problem;
    }
    if (info.st_size != expectedSize) {
        *changed = true;
        return FileProblem::None;
    }
    std::size_t written = 0;
    int error = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    if (error == 0 && ::fsync(fd.get()) != 0) {
        error = errno;
    }
    if (error != 0) {
        // Cut off what got in, unless another writer has appended since.
        if (::fstat(fd.get(), &info) == 0 &&
            info.st_size == expectedSize + static_cast<qint64>(written)) {
            [[maybe_unused]] const int cut = ::ftruncate(fd.get(), expectedSize);
        }
        return problemOfErrno(error);
    }
    return FileProblem::None;
}

}  // namespace masumemo::platform
