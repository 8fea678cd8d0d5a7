#include "SnapshotRules.h"

#include <algorithm>
#include <map>

namespace masumemo::recovery {
namespace {

constexpr std::string_view kSnapshotSuffix = ".snapshot";
constexpr std::string_view kLockSuffix = ".lock";

bool isDigits(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

/// "<digits>-<digits>" at the start of name, up to the first '.'.
std::string_view instancePart(std::string_view name)
{
    const size_t dot = name.find('.');
    const std::string_view head = name.substr(0, dot);
    const size_t dash = head.find('-');
    if (dash == std::string_view::npos || !isDigits(head.substr(0, dash)) ||
        !isDigits(head.substr(dash + 1)) || dot == std::string_view::npos) {
        return {};
    }
    return head;
}

bool isBlankUnit(char16_t c)
{
    return c == u' ' || c == u'\u3000';
}

}  // namespace

void WriteSchedule::changed(Clock::time_point now)
{
    if (!m_first) {
        m_first = now;
    }
    m_last = now;
}

void WriteSchedule::written()
{
    m_first.reset();
}

std::optional<Clock::time_point> WriteSchedule::due() const
{
    if (!m_first) {
        return std::nullopt;
    }
    return std::min(m_last + m_timing.quiet, *m_first + m_timing.most);
}

std::string instanceName(long long pid, long long startMs)
{
    return std::to_string(pid) + '-' + std::to_string(startMs);
}

std::string snapshotFileName(std::string_view instance)
{
    return std::string(instance) + std::string(kSnapshotSuffix);
}

std::string lockFileName(std::string_view instance)
{
    return std::string(instance) + std::string(kLockSuffix);
}

FolderEntry readEntryName(std::string_view fileName)
{
    const std::string_view instance = instancePart(fileName);
    if (instance.empty()) {
        return {};
    }
    const std::string_view rest = fileName.substr(instance.size());
    FolderEntry entry;
    entry.instance = std::string(instance);
    entry.kind = rest == kSnapshotSuffix ? FolderEntry::Kind::Snapshot
                 : rest == kLockSuffix   ? FolderEntry::Kind::Lock
                                         : FolderEntry::Kind::Leftover;
    return entry;
}

FolderSorting sortFolder(const std::vector<std::string>& fileNames, std::string_view own,
                         const std::function<bool(const std::string& instance)>& ownerRunning)
{
    struct Files
    {
        bool snapshot = false;
        std::vector<std::string> others;
    };
    std::map<std::string, Files> byInstance;
    for (const std::string& name : fileNames) {
        FolderEntry entry = readEntryName(name);
        if (entry.kind == FolderEntry::Kind::Foreign || entry.instance == own) {
            continue;
        }
        Files& files = byInstance[entry.instance];
        if (entry.kind == FolderEntry::Kind::Snapshot) {
            files.snapshot = true;
        } else {
            files.others.push_back(name);
        }
    }
    FolderSorting sorting;
    for (auto& [instance, files] : byInstance) {
        if (ownerRunning(instance)) {
            continue;
        }
        if (files.snapshot) {
            sorting.offered.push_back(instance);
        } else {
            sorting.removable.insert(sorting.removable.end(), files.others.begin(),
                                     files.others.end());
        }
    }
    return sorting;
}

std::vector<std::u16string> previewLines(std::u16string_view text, int count, int maxUnits)
{
    std::vector<std::u16string> lines;
    size_t at = 0;
    while (at <= text.size() && static_cast<int>(lines.size()) < count) {
        size_t end = text.find_first_of(u"\r\n", at);
        if (end == std::u16string_view::npos) {
            end = text.size();
        }
        std::u16string_view line = text.substr(at, end - at);
        while (!line.empty() && isBlankUnit(line.back())) {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            std::u16string shown(line.substr(0, static_cast<size_t>(std::max(maxUnits, 0))));
            // A cut between the halves of a surrogate pair would show a broken character.
            if (shown.size() < line.size() && !shown.empty() && shown.back() >= 0xD800 &&
                shown.back() <= 0xDBFF) {
                shown.pop_back();
            }
            lines.push_back(std::move(shown));
        }
        if (end == text.size()) {
            break;
        }
        at = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }
    return lines;
}

}  // namespace masumemo::recovery
