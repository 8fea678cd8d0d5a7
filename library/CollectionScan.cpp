#include "CollectionScan.h"

#include <algorithm>
#include <set>

namespace masumemo::library {
namespace fs = std::filesystem;

namespace {

struct Walk
{
    ScanResult result;
    std::set<fs::path> walking;  ///< real paths of the folders on the way down
    const std::atomic<bool>* cancel = nullptr;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }

    void notice(const fs::path& path, ScanProblem problem)
    {
        result.notices.push_back({path, problem});
    }

    void folder(const fs::path& dir)
    {
        std::error_code ec;
        const fs::path real = fs::canonical(dir, ec);
        if (ec) {
            notice(dir, ScanProblem::Unreadable);
            return;
        }
        if (!walking.insert(real).second) {
            notice(dir, ScanProblem::Loop);
            return;
        }
        std::vector<fs::directory_entry> entries;
        fs::directory_iterator it(dir, ec);
        if (ec) {
            notice(dir, ScanProblem::Unreadable);
            walking.erase(real);
            return;
        }
        for (const fs::directory_iterator end; it != end && !cancelled(); it.increment(ec)) {
            entries.push_back(*it);
            if (ec) {
                notice(dir, ScanProblem::Unreadable);
                break;
            }
        }
        std::sort(entries.begin(), entries.end(),
                  [](const auto& a, const auto& b) { return a.path() < b.path(); });
        for (const fs::directory_entry& entry : entries) {
            if (cancelled()) {
                break;
            }
            // status() follows links; a dangling one has none.
            const fs::file_status status = entry.status(ec);
            if (ec || !fs::exists(status)) {
                notice(entry.path(), ScanProblem::Missing);
            } else if (fs::is_directory(status)) {
                folder(entry.path());
            } else if (fs::is_regular_file(status)) {
                if (const auto format = pagefile::formatOfName(entry.path().filename().string())) {
                    result.files.push_back({entry.path(), *format});
                }
            }
        }
        walking.erase(real);
    }
};

}  // namespace

ScanResult scanCollection(const fs::path& root, const std::atomic<bool>* cancel)
{
    Walk walk;
    walk.cancel = cancel;
    std::error_code ec;
    const fs::file_status status = fs::status(root, ec);
    if (ec || !fs::exists(status)) {
        walk.notice(root, ScanProblem::Missing);
    } else if (fs::is_directory(status)) {
        walk.folder(root);
    } else if (const auto format = pagefile::formatOfName(root.filename().string())) {
        walk.result.files.push_back({root, *format});
    } else {
        walk.notice(root, ScanProblem::NotPartsFile);
    }
    return std::move(walk.result);
}

}  // namespace masumemo::library
