#pragma once
// Keeps the editor's unsaved picture safe in the background and offers pictures left behind
// back. While the document has unsaved changes a snapshot of it is written (the schedule says
// when), on a thread of its own; it is removed when the document is no longer modified (saved,
// or its changes given up at the save question) and when the window ends normally. A program
// that is killed leaves it, and the next editor to open offers it in the window "復元".

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

#include "recovery/SnapshotStore.h"

namespace masumemo::host {
class ToolHost;
}

namespace masumemo::recovery {

class frmRecovery;

class RecoveryTool : public QObject
{
    Q_OBJECT
public:
    /// With the program's setup: off unless the launcher switched it on; the first editor of
    /// the process offers what was left behind once it is shown.
    RecoveryTool(host::ToolHost& host, QObject* parent = nullptr);
    /// With a setup of its own and no offer of its own (tests, benchmarks).
    RecoveryTool(host::ToolHost& host, const RecoverySetup& setup, QObject* parent = nullptr);
    /// A normal end: the snapshot goes with the window.
    ~RecoveryTool() override;

    /// Null when recovery is off or its folder could not be used.
    SnapshotStore* store() const { return m_store.get(); }
    /// The clock the schedule reads.
    void setClock(std::function<Clock::time_point()> now) { m_now = std::move(now); }
    /// Takes the snapshot that is due, at once (the writing still happens on the store's thread).
    void snapshotNow();
    /// When a snapshot is due next; nothing when no change waits.
    std::optional<Clock::time_point> due() const { return m_schedule.due(); }

    /// The window "復元" when snapshots of instances that no longer run exist (shown, modal to
    /// the editor, deleted when closed); null when there are none.
    frmRecovery* offer();
    /// Opens instance's snapshot in the editor (after the save question) as it was, modified;
    /// its file goes once this instance's own snapshot holds the picture. False when it could
    /// not be restored (said why) or the question was cancelled.
    bool restore(const QString& instance);
    /// Asks, then removes instance's snapshot. False when the answer was No or its owner runs.
    bool discard(const QString& instance);

private:
    void changed();
    void modifiedChanged(bool modified);
    void armTimer();
    /// A snapshot as the window's thread takes it: the pages' texts still to be read.
    struct Taken
    {
        Snapshot snapshot;
        std::vector<std::function<std::u16string()>> texts;
        /// Reads the texts and encodes the snapshot (on any thread).
        std::string bytes();
    };
    Taken takeSnapshot() const;

    host::ToolHost& m_host;
    std::unique_ptr<SnapshotStore> m_store;
    WriteSchedule m_schedule;
    QTimer m_timer;
    std::function<Clock::time_point()> m_now = [] { return Clock::now(); };
};

}  // namespace masumemo::recovery
