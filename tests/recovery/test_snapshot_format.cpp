// Snapshots come back exactly as they were written, and a file that is not a whole snapshot of
// this version is reported for what it is, never read into a picture.

#include <gtest/gtest.h>

#include "grid/LineModel.h"
#include "recovery/SnapshotFormat.h"

using namespace masumemo;
using namespace masumemo::recovery;
using Status = SnapshotRead::Status;

namespace {

Snapshot sample()
{
    Snapshot s;
    s.timeMs = 1733660000123;
    s.path = u"/home/u/絵/a\nb [*].txt";  // a newline in a path is legal on Linux
    s.form.encoding = grid::TextEncoding::Utf8;
    s.form.byteOrderMark = true;
    s.form.spelling = {false, false, false};
    s.lineEnds = Snapshot::LineEnds::Lf;
    s.format = Snapshot::Format::Ast;
    s.fontFamily = u"ＭＳ Ｐゴシック";
    s.fontPixels = 16;
    s.current = 1;
    // Two pages: a picture with a character beyond Shift_JIS and a blank one of another size.
    s.pages.push_back({u"表紙", u"(´･ω･`)\U0001F600\r\n\u3000\u3000\u3000\u3000\u3000", 5, 2, 9});
    s.pages.push_back({u"", grid::blankCanvas(3, 4), 3, 4, 0});
    return s;
}

std::string replaced(std::string bytes, std::string_view what, std::string_view with)
{
    const size_t at = bytes.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    return bytes.replace(at, what.size(), with);
}

}  // namespace

TEST(SnapshotFormat, EveryFieldComesBackUnitForUnit)
{
    const Snapshot written = sample();
    const SnapshotRead read = readSnapshot(snapshotBytes(written));
    ASSERT_EQ(read.status, Status::Ok);
    EXPECT_EQ(read.version, kSnapshotVersion);
    EXPECT_EQ(read.snapshot, written);
}

TEST(SnapshotFormat, APictureNeverSavedHasNoPath)
{
    Snapshot s = sample();
    s.path.clear();
    const SnapshotRead read = readSnapshot(snapshotBytes(s));
    ASSERT_EQ(read.status, Status::Ok);
    EXPECT_TRUE(read.snapshot.path.empty());
}

TEST(SnapshotFormat, ACutAnywhereIsReportedAsCutOff)
{
    const std::string bytes = snapshotBytes(sample());
    // Every length short of the whole: a write interrupted at any byte.
    for (size_t n = 1; n < bytes.size(); ++n) {
        const SnapshotRead read = readSnapshot(std::string_view(bytes).substr(0, n));
        ASSERT_EQ(read.status, Status::CutOff) << "cut after " << n << " of " << bytes.size();
        EXPECT_TRUE(read.snapshot.pages.empty());
    }
}

TEST(SnapshotFormat, BadFilesAreReportedForWhatTheyAre)
{
    const std::string good = snapshotBytes(sample());
    std::string flipped = good;
    flipped[good.find("text ") + 12] ^= 0x01;  // one bit of the text
    std::string longer = good + "x";
    struct Row
    {
        const char* name;
        std::string bytes;
        Status status;
    };
    const Row rows[] = {
        {"empty file", "", Status::Unreadable},
        {"another kind of file", "just a note\n", Status::Unreadable},
        {"a damaged byte", flipped, Status::Unreadable},
        {"bytes after the end", longer, Status::Unreadable},
        {"a newer version", replaced(good, "masumemo-snapshot 1\n", "masumemo-snapshot 2\n"),
         Status::NewerVersion},
        {"a version that is no number", replaced(good, "masumemo-snapshot 1\n", "masumemo-snapshot x\n"),
         Status::Unreadable},
        {"a field whose length runs past the file", replaced(good, "time 13\n", "time 999999\n"),
         Status::CutOff},
        {"a length that is no number", replaced(good, "time 13\n", "time -1\n"), Status::Unreadable},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readSnapshot(row.bytes).status, row.status);
    }
}

TEST(SnapshotFormat, PicturesNoCanvasCanHoldAreRefusedThoughTheFileIsWhole)
{
    // Written by the writer itself, so only the picture is wrong: the reader never hands a
    // canvas of the wrong shape to the editor.
    struct Row
    {
        const char* name;
        SnapshotPage page;
    };
    const Row rows[] = {
        {"a line too short", {u"", u"\u3000\u3000\r\n\u3000", 2, 2, 0}},
        {"more lines than gyou", {u"", grid::blankCanvas(2, 3), 2, 2, 0}},
        {"a caret past the end", {u"", grid::blankCanvas(2, 2), 2, 2, 99}},
        {"a negative size", {u"", u"", -1, 0, 0}},
        {"past the largest canvas", {u"", u"", 100000, 100000, 0}},
        {"text on a canvas of no lines", {u"", u"x", 1, 0, 0}},
        {"a CR whose LF is another character", {u"", u"\u3000\rx\u3000", 1, 2, 0}},
        {"an LF without its CR", {u"", u"a\n", 1, 1, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Snapshot s = sample();
        s.pages[0] = row.page;
        EXPECT_EQ(readSnapshot(snapshotBytes(s)).status, Status::Unreadable);
    }
    Snapshot noPages = sample();
    noPages.pages.clear();
    noPages.current = 0;
    EXPECT_EQ(readSnapshot(snapshotBytes(noPages)).status, Status::Unreadable);
    Snapshot badCurrent = sample();
    badCurrent.current = 2;
    EXPECT_EQ(readSnapshot(snapshotBytes(badCurrent)).status, Status::Unreadable);
}

TEST(SnapshotFormat, TooLargeIsSaidBeforeAnythingIsRead)
{
    const std::string bytes = snapshotBytes(sample());
    EXPECT_EQ(readSnapshot(bytes, static_cast<long long>(bytes.size()) - 1).status, Status::TooLarge);
    EXPECT_EQ(readSnapshot(bytes, static_cast<long long>(bytes.size())).status, Status::Ok);
}
