#pragma once
// Finding the parts files of a collection: the MLT, AST and TXT files under a folder, or one
// file given on its own. Pure functions on the standard library, no Qt.
//
// Folders are followed through symbolic links, each real folder once, so a link back to a
// folder above it is noticed instead of walked for ever; folders and links that cannot be read
// are noticed and skipped.

#include <atomic>
#include <filesystem>
#include <vector>

#include "pagefile/PartsFile.h"

namespace masumemo::library {

struct FoundFile
{
    std::filesystem::path path;
    pagefile::PartsFormat format = pagefile::PartsFormat::Txt;
};

enum class ScanProblem {
    Missing,      ///< the root or a link target does not exist
    Unreadable,   ///< a folder that cannot be listed
    Loop,         ///< a link to a folder already being walked
    NotPartsFile  ///< a root that is a file of another kind
};

struct ScanNotice
{
    std::filesystem::path path;
    ScanProblem problem = ScanProblem::Missing;
};

struct ScanResult
{
    std::vector<FoundFile> files;  ///< in path order, folder by folder
    std::vector<ScanNotice> notices;
};

/// The parts files under root (or root itself when it is a parts file). cancel, when given and
/// set, ends the walk early with what was found so far.
ScanResult scanCollection(const std::filesystem::path& root,
                          const std::atomic<bool>* cancel = nullptr);

}  // namespace masumemo::library
