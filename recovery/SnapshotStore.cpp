#include "SnapshotStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThreadPool>

#include <algorithm>

#include "platform/FileAccess.h"

namespace masumemo::recovery {
namespace {

QString lockPath(const QString& folder, const QString& instance)
{
    return QDir(folder).filePath(QString::fromStdString(lockFileName(instance.toStdString())));
}

QString snapshotPathOf(const QString& folder, const QString& instance)
{
    return QDir(folder).filePath(QString::fromStdString(snapshotFileName(instance.toStdString())));
}

/// A lock on another instance's lock file that is taken only when that instance no longer
/// runs. Without a stale time a lock is judged by its process alone, never by its age: an
/// editor open for hours keeps its snapshots.
std::unique_ptr<QLockFile> takeIfOwnerGone(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    return lock->tryLock(0) ? std::move(lock) : nullptr;
}

/// Two instances of one process started in the same millisecond still get names of their own.
long long uniqueStartMs()
{
    static std::atomic<long long> last{0};
    long long now = QDateTime::currentMSecsSinceEpoch();
    long long seen = last.load();
    do {
        now = std::max(now, seen + 1);
    } while (!last.compare_exchange_weak(seen, now));
    return now;
}

SnapshotRead readSnapshotFile(const QString& path)
{
    const platform::FileBytes file = platform::readRegularFile(path, kMaxSnapshotBytes);
    if (file.problem == platform::FileProblem::TooLarge) {
        SnapshotRead read;
        read.status = SnapshotRead::Status::TooLarge;
        return read;
    }
    if (file.problem != platform::FileProblem::None) {
        return {};
    }
    return readSnapshot(std::string_view(file.bytes.constData(), static_cast<size_t>(file.bytes.size())));
}

void removeInstanceFiles(const QString& folder, const QString& instance, bool keepLock)
{
    const QDir dir(folder);
    const std::string own = instance.toStdString();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const FolderEntry entry = readEntryName(name.toStdString());
        if (entry.instance == own && !(keepLock && entry.kind == FolderEntry::Kind::Lock)) {
            QFile::remove(dir.filePath(name));
        }
    }
}

}  // namespace

QString defaultRecoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) {
        state = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return QDir(state).filePath(QStringLiteral("masumemo/recovery"));
}

RecoverySetup& programSetup()
{
    static RecoverySetup setup;
    return setup;
}

RecoverySetup setupFromEnvironment()
{
    RecoverySetup setup;
    setup.folder = defaultRecoveryFolder();
    bool ok = false;
    const int quiet = qEnvironmentVariableIntValue("MASUMEMO_SNAPSHOT_QUIET_MS", &ok);
    if (ok && quiet >= 0) {
        setup.timing.quiet = std::chrono::milliseconds(quiet);
        setup.timing.most = std::max(setup.timing.most, setup.timing.quiet);
    }
    return setup;
}

SnapshotStore::SnapshotStore(const QString& folder)
    : m_folder(folder),
      m_worker(std::make_unique<QThreadPool>()),
      m_lastWriteOk(std::make_shared<std::atomic<bool>>(true))
{
    m_worker->setMaxThreadCount(1);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        return;
    }
    // Pictures are private: the folder is the user's alone, whatever the umask made of it.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_instance = QString::fromStdString(
        instanceName(QCoreApplication::applicationPid(), uniqueStartMs()));
    auto lock = std::make_unique<QLockFile>(lockPath(folder, m_instance));
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
    }
}

SnapshotStore::~SnapshotStore()
{
    waitForIdle();
}

QString SnapshotStore::snapshotPath() const
{
    return snapshotPathOf(m_folder, m_instance);
}

void SnapshotStore::write(std::function<std::string()> bytes)
{
    if (!ok()) {
        return;
    }
    m_worker->start([path = snapshotPath(), bytes = std::move(bytes), result = m_lastWriteOk] {
        result->store(platform::writeWholeFile(path, bytes()) == platform::FileProblem::None);
    });
}

bool SnapshotStore::writeNow(const std::string& bytes)
{
    if (!ok()) {
        return false;
    }
    waitForIdle();
    const bool written = platform::writeWholeFile(snapshotPath(), bytes) == platform::FileProblem::None;
    m_lastWriteOk->store(written);
    return written;
}

void SnapshotStore::remove()
{
    if (!ok()) {
        return;
    }
    m_worker->start([folder = m_folder, instance = m_instance] {
        removeInstanceFiles(folder, instance, true);
    });
}

void SnapshotStore::waitForIdle()
{
    m_worker->waitForDone();
}

bool SnapshotStore::lastWriteOk() const
{
    return m_lastWriteOk->load();
}

std::vector<FoundSnapshot> SnapshotStore::ownerless() const
{
    std::vector<FoundSnapshot> found;
    if (m_folder.isEmpty()) {
        return found;
    }
    const QDir dir(m_folder);
    std::vector<std::string> names;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        names.push_back(name.toStdString());
    }
    const FolderSorting sorting =
        sortFolder(names, m_instance.toStdString(), [this](const std::string& instance) {
            const auto lock = takeIfOwnerGone(lockPath(m_folder, QString::fromStdString(instance)));
            return lock == nullptr;  // released, and its file removed, as it goes
        });
    for (const std::string& name : sorting.removable) {
        QFile::remove(dir.filePath(QString::fromStdString(name)));
    }
    for (const std::string& instance : sorting.offered) {
        FoundSnapshot snapshot;
        snapshot.instance = QString::fromStdString(instance);
        const QString path = snapshotPathOf(m_folder, snapshot.instance);
        snapshot.read = readSnapshotFile(path);
        snapshot.fileTimeMs = QFileInfo(path).lastModified().toMSecsSinceEpoch();
        found.push_back(std::move(snapshot));
    }
    return found;
}

std::unique_ptr<SnapshotStore::Claim> SnapshotStore::claim(const QString& instance) const
{
    if (instance == m_instance || readEntryName(instance.toStdString() + ".").instance.empty()) {
        return nullptr;
    }
    auto lock = takeIfOwnerGone(lockPath(m_folder, instance));
    if (!lock) {
        return nullptr;
    }
    return std::unique_ptr<Claim>(new Claim(m_folder, instance, std::move(lock)));
}

SnapshotStore::Claim::Claim(QString folder, QString instance, std::unique_ptr<QLockFile> lock)
    : m_folder(std::move(folder)), m_instance(std::move(instance)), m_lock(std::move(lock))
{
}

SnapshotStore::Claim::~Claim() = default;

SnapshotRead SnapshotStore::Claim::read() const
{
    return readSnapshotFile(snapshotPathOf(m_folder, m_instance));
}

void SnapshotStore::Claim::removeAll()
{
    removeInstanceFiles(m_folder, m_instance, true);
    m_lock->unlock();
}

}  // namespace masumemo::recovery
