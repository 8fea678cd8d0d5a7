#pragma once
// The rules of recovery snapshots, free of Qt and of the clock: when a snapshot is due, how the
// files of the recovery folder are named, which of them another instance may offer or delete,
// and what the list of snapshots shows of a picture. The callers pass the time in.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace masumemo::recovery {

using Clock = std::chrono::steady_clock;

/// How soon after a change a snapshot is written: once the changes have rested for quiet, and
/// at least every most while they go on without a rest.
struct SnapshotTiming
{
    std::chrono::milliseconds quiet{2000};
    std::chrono::milliseconds most{30000};
};

/// When the next snapshot is due. Every change moves the quiet deadline on, but never past
/// `most` after the first change the last snapshot does not hold.
class WriteSchedule
{
public:
    explicit WriteSchedule(SnapshotTiming timing = {}) : m_timing(timing) {}

    /// A change at now that no snapshot holds yet.
    void changed(Clock::time_point now);
    /// A snapshot taken now holds every change so far.
    void written();
    /// Nothing is left unsaved (a save, changes given up): nothing is due.
    void cleared() { written(); }
    /// When the next snapshot should be taken; nothing when no change waits for one.
    std::optional<Clock::time_point> due() const;
    bool pending() const { return m_first.has_value(); }
    const SnapshotTiming& timing() const { return m_timing; }

private:
    SnapshotTiming m_timing;
    std::optional<Clock::time_point> m_first;
    Clock::time_point m_last{};
};

// --- The files of the recovery folder ----------------------------------------------------------
// Each editor instance has a name of its own, "<process id>-<start time in ms>", and keeps two
// files: NAME.lock (held while it runs, naming its process) and NAME.snapshot. Anything else
// starting with "NAME." is a leftover of an interrupted write.

/// The name of an instance started at startMs (ms since the epoch) by process pid.
std::string instanceName(long long pid, long long startMs);
std::string snapshotFileName(std::string_view instance);
std::string lockFileName(std::string_view instance);

/// What a file of the recovery folder is.
struct FolderEntry
{
    enum class Kind
    {
        Snapshot,
        Lock,
        Leftover,  ///< a temporary file of a write, or a lock's own helper file
        Foreign,   ///< not named as the program names its files: never touched
    };
    Kind kind = Kind::Foreign;
    std::string instance;  ///< empty for Foreign
};

FolderEntry readEntryName(std::string_view fileName);

/// What an instance may do with the recovery folder.
struct FolderSorting
{
    /// Instances whose snapshot is offered back: their owner no longer runs.
    std::vector<std::string> offered;
    /// Files left by instances that no longer run and that hold no snapshot (their locks and
    /// leftovers): removed without asking.
    std::vector<std::string> removable;
};

/// Sorts the files of the folder for instance own. ownerRunning says whether an instance still
/// runs (its lock is held); it is asked only about other instances. A snapshot of a running
/// instance, and every file of this instance, is neither offered nor removed; foreign files are
/// left alone. offered is in the order of the names (oldest start first for one process).
FolderSorting sortFolder(const std::vector<std::string>& fileNames, std::string_view own,
                         const std::function<bool(const std::string& instance)>& ownerRunning);

/// The first lines of a picture for the list: up to count lines that are not blank (spaces of
/// either width), each without its trailing blanks and cut to maxUnits UTF-16 units. Lines are
/// separated by CR LF, LF or CR.
std::vector<std::u16string> previewLines(std::u16string_view text, int count = 3,
                                         int maxUnits = 40);

}  // namespace masumemo::recovery
