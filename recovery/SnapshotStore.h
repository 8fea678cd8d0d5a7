#pragma once
// The recovery folder on disk, for one editor instance: its lock, held while it runs and
// naming its process, its own snapshot written through the one checked writer on a thread of
// its own, and the snapshots of instances that no longer run. Qt Core only.

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "recovery/SnapshotFormat.h"
#include "recovery/SnapshotRules.h"

class QLockFile;
class QThreadPool;

namespace masumemo::recovery {

/// Where snapshots are kept: $XDG_STATE_HOME/masumemo/recovery, with ~/.local/state in place
/// of a variable that is unset, empty or not an absolute path (as the XDG rules say).
QString defaultRecoveryFolder();

/// How an editor instance of this program keeps snapshots. An empty folder keeps recovery off
/// (tests and benchmarks that build editor windows, headless commands).
struct RecoverySetup
{
    QString folder;
    SnapshotTiming timing;
};

/// The setup of the instances this process starts; off until the launcher sets it.
RecoverySetup& programSetup();

/// The folder from the environment; the quiet time from MASUMEMO_SNAPSHOT_QUIET_MS when that is
/// set (end-to-end tests, which must not wait two seconds a step).
RecoverySetup setupFromEnvironment();

/// A snapshot of another instance, as the list shows it.
struct FoundSnapshot
{
    QString instance;
    SnapshotRead read;      ///< its status; the snapshot itself when Ok
    long long fileTimeMs = 0;  ///< when the file was last written (the time of a bad one)
};

class SnapshotStore
{
public:
    /// Makes the folder (readable by the user alone) and takes this instance's lock. When
    /// either fails, ok() is false and nothing is ever written.
    explicit SnapshotStore(const QString& folder);
    /// Waits for the writes under way. The snapshot stays: removing it is the caller's choice.
    ~SnapshotStore();
    SnapshotStore(const SnapshotStore&) = delete;
    SnapshotStore& operator=(const SnapshotStore&) = delete;

    bool ok() const { return m_lock != nullptr; }
    const QString& folder() const { return m_folder; }
    const QString& instance() const { return m_instance; }
    QString snapshotPath() const;

    /// Writes the bytes bytes() gives as this instance's snapshot, atomically, on the store's
    /// thread: bytes() runs there too, so encoding costs the caller nothing. Writes and removes
    /// happen in the order asked.
    void write(std::function<std::string()> bytes);
    /// Writes at once, on the caller's thread (after the writes asked before). False when the
    /// write failed.
    bool writeNow(const std::string& bytes);
    /// Removes this instance's snapshot, after the writes asked before.
    void remove();
    /// Waits until every write and remove asked for has happened.
    void waitForIdle();
    /// False when the last write failed (a full disk); the next one may succeed.
    bool lastWriteOk() const;

    /// The snapshots of instances that no longer run, oldest instance first, each read and
    /// checked. Files left by such instances without a snapshot are removed on the way; the
    /// files of running instances are never touched.
    std::vector<FoundSnapshot> ownerless() const;

    /// An ownerless instance's snapshot, held for restoring or discarding: its lock is taken, so
    /// no other instance offers it meanwhile. Null when its owner runs or another instance
    /// holds it.
    class Claim;
    std::unique_ptr<Claim> claim(const QString& instance) const;

private:
    QString m_folder;
    QString m_instance;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QThreadPool> m_worker;
    std::shared_ptr<std::atomic<bool>> m_lastWriteOk;
};

class SnapshotStore::Claim
{
public:
    ~Claim();
    /// Reads the snapshot as it stands now.
    SnapshotRead read() const;
    /// Removes the snapshot and every other file of the instance, its lock last.
    void removeAll();

private:
    friend class SnapshotStore;
    Claim(QString folder, QString instance, std::unique_ptr<QLockFile> lock);
    QString m_folder;
    QString m_instance;
    std::unique_ptr<QLockFile> m_lock;
};

}  // namespace masumemo::recovery
