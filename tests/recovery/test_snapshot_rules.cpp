// When a snapshot is due, which files of the recovery folder another instance may offer or
// remove, and what the list shows of a picture.

#include <gtest/gtest.h>

#include <set>

#include "recovery/SnapshotRules.h"

using namespace masumemo::recovery;
using std::chrono::milliseconds;

namespace {

Clock::time_point at(int ms)
{
    return Clock::time_point(milliseconds(ms));
}

}  // namespace

TEST(WriteSchedule, DueAfterQuietButNeverLaterThanMostAfterFirstChange)
{
    struct Row
    {
        const char* name;
        std::vector<int> changes;  ///< times of changes, ms
        int due;                   ///< -1: nothing due
    };
    const Row rows[] = {
        {"nothing changed: nothing due", {}, -1},
        {"one change: due two seconds later", {1000}, 3000},
        {"a later change moves the deadline on", {1000, 2500}, 4500},
        {"typing without a rest: due 30 s after the first change", {0, 1500, 3000, 4500, 6000,
          7500, 9000, 10500, 12000, 13500, 15000, 16500, 18000, 19500, 21000, 22500, 24000,
          25500, 27000, 28500, 29900}, 30000},
        {"a change just before the cap still waits for the cap", {0, 29000}, 30000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteSchedule schedule;
        for (const int t : row.changes) {
            schedule.changed(at(t));
        }
        if (row.due < 0) {
            EXPECT_FALSE(schedule.due());
        } else {
            ASSERT_TRUE(schedule.due());
            EXPECT_EQ(*schedule.due(), at(row.due));
        }
    }
}

TEST(WriteSchedule, AWrittenSnapshotStartsTheCapAfresh)
{
    WriteSchedule schedule({milliseconds(2000), milliseconds(30000)});
    schedule.changed(at(0));
    schedule.changed(at(29000));
    schedule.written();
    EXPECT_FALSE(schedule.pending());
    EXPECT_FALSE(schedule.due());
    // The next change counts from itself, not from the first change before the snapshot.
    schedule.changed(at(40000));
    EXPECT_EQ(*schedule.due(), at(42000));
    schedule.cleared();
    EXPECT_FALSE(schedule.due());
}

TEST(WriteSchedule, AQuietTimeOfZeroIsDueAtTheChange)
{
    WriteSchedule schedule({milliseconds(0), milliseconds(30000)});
    schedule.changed(at(500));
    EXPECT_EQ(*schedule.due(), at(500));
}

TEST(FolderNames, EntriesAreReadBackAsTheyWereNamed)
{
    const std::string me = instanceName(4242, 1733660000123);
    EXPECT_EQ(me, "4242-1733660000123");
    struct Row
    {
        std::string name;
        FolderEntry::Kind kind;
        std::string instance;
    };
    const Row rows[] = {
        {snapshotFileName(me), FolderEntry::Kind::Snapshot, me},
        {lockFileName(me), FolderEntry::Kind::Lock, me},
        // The checked writer's temporary file beside the snapshot, and a lock's helper.
        {snapshotFileName(me) + ".aBc123", FolderEntry::Kind::Leftover, me},
        {lockFileName(me) + ".rmlock", FolderEntry::Kind::Leftover, me},
        {"notes.txt", FolderEntry::Kind::Foreign, ""},
        {"4242.snapshot", FolderEntry::Kind::Foreign, ""},
        {"4242-.snapshot", FolderEntry::Kind::Foreign, ""},
        {"-12.snapshot", FolderEntry::Kind::Foreign, ""},
        {"12-34", FolderEntry::Kind::Foreign, ""},
        {"12-3x.lock", FolderEntry::Kind::Foreign, ""},
        {"", FolderEntry::Kind::Foreign, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const FolderEntry entry = readEntryName(row.name);
        EXPECT_EQ(entry.kind, row.kind);
        EXPECT_EQ(entry.instance, row.instance);
    }
}

TEST(FolderSorting, OnlyInstancesThatNoLongerRunAreOfferedOrCleared)
{
    const std::vector<std::string> files = {
        "10-1.snapshot", "10-1.lock",                   // a killed instance: offered
        "20-2.snapshot", "20-2.lock",                   // running: left alone
        "30-3.lock", "30-3.snapshot.Xy12ab",            // killed while writing its first: cleared
        "40-4.lock",                                    // running, no snapshot yet: left alone
        "50-5.snapshot",                                // its lock already gone: offered
        "99-9.snapshot", "99-9.lock", "99-9.snapshot.tmp1",  // this instance: never touched
        "readme.txt",                                   // not ours: never touched
    };
    const std::set<std::string> running = {"20-2", "40-4"};
    std::set<std::string> asked;
    const FolderSorting sorting = sortFolder(files, "99-9", [&](const std::string& instance) {
        asked.insert(instance);
        return running.count(instance) > 0;
    });
    EXPECT_EQ(sorting.offered, (std::vector<std::string>{"10-1", "50-5"}));
    EXPECT_EQ(sorting.removable, (std::vector<std::string>{"30-3.lock", "30-3.snapshot.Xy12ab"}));
    EXPECT_EQ(asked.count("99-9"), 0u) << "an instance never asks whether it runs itself";
}

TEST(FolderSorting, TheLeftoversOfAnOfferedInstanceStayWithItsSnapshot)
{
    // Its lock and a temporary file go only when the snapshot itself is restored or discarded.
    const FolderSorting sorting = sortFolder({"10-1.snapshot", "10-1.snapshot.tmp", "10-1.lock"},
                                             "99-9", [](const std::string&) { return false; });
    EXPECT_EQ(sorting.offered, std::vector<std::string>{"10-1"});
    EXPECT_TRUE(sorting.removable.empty());
}

TEST(PreviewLines, TheFirstLinesThatShowSomething)
{
    struct Row
    {
        const char* name;
        std::u16string text;
        int count;
        int maxUnits;
        std::vector<std::u16string> lines;
    };
    const Row rows[] = {
        {"blank lines and trailing blanks are left out",
         u"\u3000\u3000\r\n  (´･ω･`)\u3000 \r\n\r\n  ∩∩\r\n（ ﾟ∀ﾟ）\r\nmore",
         3, 40, {u"  (´･ω･`)", u"  ∩∩", u"（ ﾟ∀ﾟ）"}},
        {"an empty picture shows nothing", u"", 3, 40, {}},
        {"a blank canvas shows nothing", u"\u3000\u3000\r\n\u3000\u3000", 3, 40, {}},
        {"LF and CR separate lines too", u"a\nb\rc", 3, 40, {u"a", u"b", u"c"}},
        {"long lines are cut", u"abcdef", 1, 4, {u"abcd"}},
        {"a cut never halves a surrogate pair", u"abc\U0001F600", 1, 4, {u"abc"}},
        {"the last line without a break counts", u"\r\nx", 3, 40, {u"x"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(previewLines(row.text, row.count, row.maxUnits), row.lines);
    }
}
