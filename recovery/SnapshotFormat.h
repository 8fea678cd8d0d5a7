#pragma once
// What a recovery snapshot holds and how it is written to its file, free of Qt: every page of
// the document, the file it belongs to and how that file is written, the canvas font, and the
// time. The reader never trusts the bytes: a file cut short, damaged, written by a newer
// version or too large is reported as such, never read into a picture.
//
// The file is a version line, then fields, each "key byte-count LF bytes LF", then
// "end CHECKSUM LF" over everything before it. Texts are UTF-16LE, so any canvas comes back
// unit for unit; numbers are decimal. Fields a reader does not know are skipped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "grid/Fit.h"

namespace masumemo::recovery {

inline constexpr int kSnapshotVersion = 1;
/// Larger files are not read: a document of many pages stays far below it.
inline constexpr long long kMaxSnapshotBytes = 512LL << 20;

struct SnapshotPage
{
    std::u16string name;  ///< the page's name where the file format names pages
    std::u16string text;  ///< gyou lines of 2 x keta units joined by CR LF
    int keta = 0;
    int gyou = 0;
    int caret = 0;

    friend bool operator==(const SnapshotPage&, const SnapshotPage&) = default;
};

struct Snapshot
{
    long long timeMs = 0;  ///< when it was taken, ms since the epoch (UTC)
    std::u16string path;   ///< the file the picture belongs to; empty for a picture never saved
    grid::CanvasFileForm form;
    enum class LineEnds
    {
        CrLf,
        Lf,
        Cr,
    };
    LineEnds lineEnds = LineEnds::CrLf;
    /// How the file holds its pages: one picture, or pages split by "[SPLIT]" or "[AA][name]".
    enum class Format
    {
        Text,
        Mlt,
        Ast,
    };
    Format format = Format::Text;
    std::u16string fontFamily;
    int fontPixels = 0;
    int current = 0;  ///< the page shown
    std::vector<SnapshotPage> pages;

    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

std::string snapshotBytes(const Snapshot& snapshot);

struct SnapshotRead
{
    enum class Status
    {
        Ok,
        CutOff,       ///< the file ends before the snapshot does
        Unreadable,   ///< not a snapshot, damaged, or holding a picture no canvas can be
        NewerVersion, ///< written by a newer version of the program
        TooLarge,     ///< past the limit (kMaxSnapshotBytes)
    };
    Status status = Status::Unreadable;
    Snapshot snapshot;  ///< only when Ok
    int version = 0;    ///< the version the file names (0 when it names none)
};

/// Reads bytes as a snapshot; past maxBytes it is not looked at.
SnapshotRead readSnapshot(std::string_view bytes, long long maxBytes = kMaxSnapshotBytes);

}  // namespace masumemo::recovery
