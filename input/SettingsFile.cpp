#include "SettingsFile.h"

#include <QDir>

#include "Favourites.h"
#include "grid/Cp932.h"
#include "platform/AppPaths.h"
#include "platform/ChangeLock.h"
#include "platform/FileAccess.h"

#include <algorithm>

namespace masumemo::input {

QString settingsPath()
{
    return platform::AppPaths::settingsFile(QStringLiteral("masuedit.ini"));
}

std::vector<std::u16string> parseSettings(std::string_view bytes, bool* complete)
{
    bool whole = true;
    // CR and LF never occur as the second byte of a two-byte character, so splitting the
    // decoded text is the same as splitting the bytes.
    const std::u16string text = grid::decodeCp932(bytes);
    std::vector<std::u16string> lines;
    size_t pos = 0;
    while (pos < text.size() && lines.size() < static_cast<size_t>(Favourites::kSlots)) {
        const size_t cr = text.find(u'\r', pos);
        const size_t end = cr == std::u16string::npos ? text.size() : cr;
        std::u16string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (pos < text.size() && text[pos] == u'\n') {
            ++pos;
        }
        if (line.empty()) {
            // Only more empty lines may follow, or the rest of the file is not read.
            whole = text.find_first_not_of(u"\r\n", pos) == std::u16string::npos;
            pos = text.size();
            break;
        }
        // Larger than any canvas it could be written into; its tooltip alone would take minutes.
        if (grid::WidthOf(line) > kMaxFavouriteUnits) {
            whole = false;
            continue;
        }
        lines.push_back(std::move(line));
    }
    if (complete) {
        *complete = whole && text.find_first_not_of(u"\r\n", pos) == std::u16string::npos;
    }
    return lines;
}

std::string formatSettings(const Favourites& favourites)
{
    std::string bytes;
    for (const std::u16string& text : favourites.registered()) {
        bytes += grid::encodeCp932(text);
        bytes += "\r\n";
    }
    return bytes;
}

namespace {

/// The favourites the file holds, and how far they could be read.
SettingsRead readList(std::vector<std::u16string>& list, QString* reason)
{
    const platform::FileBytes file = platform::readRegularFile(settingsPath(), kMaxSettingsBytes);
    switch (file.problem) {
        case platform::FileProblem::None:
            break;
        case platform::FileProblem::NotFound:
            return SettingsRead::Missing;
        default:
            if (reason) {
                *reason = platform::problemText(file.problem);
            }
            return SettingsRead::Unreadable;
    }
    bool complete = true;
    list = parseSettings(std::string_view(file.bytes.constData(), file.bytes.size()), &complete);
    return complete ? SettingsRead::Read : SettingsRead::Partial;
}

}  // namespace

SettingsRead readSettings(Favourites& favourites, QString* reason)
{
    std::vector<std::u16string> list;
    const SettingsRead read = readList(list, reason);
    if (read == SettingsRead::Read || read == SettingsRead::Partial) {
        favourites.assign(list);
    }
    return read;
}

QString settingsReadNotice(SettingsRead read, const QString& reason)
{
    const QString path = QDir::toNativeSeparators(settingsPath());
    if (read == SettingsRead::Unreadable) {
        return QStringLiteral(
                   "お気に入り文字のファイルを読めませんでした。\n%1\n%2\n\n"
                   "お気に入り文字なしで始めます。このファイルは書き換えません。")
            .arg(path, reason);
    }
    if (read == SettingsRead::Partial) {
        return QStringLiteral(
                   "お気に入り文字のファイルを一部しか読めませんでした"
                   "（空の行より後、11 行目より後、または長すぎる行は読みません）。\n%1\n\n"
                   "読めた分だけを使います。このファイルは書き換えません。")
            .arg(path);
    }
    return {};
}

std::vector<std::u16string> mergeFavourites(const std::vector<std::u16string>& base,
                                            const std::vector<std::u16string>& mine,
                                            const std::vector<std::u16string>& theirs)
{
    const auto holds = [](const std::vector<std::u16string>& list, const std::u16string& text) {
        return std::find(list.begin(), list.end(), text) != list.end();
    };
    std::vector<std::u16string> merged = theirs;
    std::vector<std::u16string> added;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        if (holds(base, mine[i])) {
            continue;
        }
        // Overwritten in its slot: the old text is replaced where the file has it now.
        if (i < base.size() && !holds(mine, base[i])) {
            const auto old = std::find(merged.begin(), merged.end(), base[i]);
            if (old != merged.end() && !holds(merged, mine[i])) {
                *old = mine[i];
                continue;
            }
        }
        added.push_back(mine[i]);
    }
    for (const std::u16string& text : base) {
        if (!holds(mine, text)) {
            std::erase(merged, text);
        }
    }
    for (const std::u16string& text : added) {
        if (!holds(merged, text) && merged.size() < static_cast<std::size_t>(Favourites::kSlots)) {
            merged.push_back(text);
        }
    }
    return merged;
}

bool saveFavouriteChanges(const std::vector<std::u16string>& base, Favourites& favourites,
                          QString* error)
{
    const platform::ChangeLock lock(settingsPath());
    std::vector<std::u16string> theirs;
    QString reason;
    const SettingsRead read = readList(theirs, &reason);
    if (read == SettingsRead::Unreadable || read == SettingsRead::Partial) {
        if (error) {
            *error = read == SettingsRead::Partial
                         ? QStringLiteral("ファイルを全部は読めなくなったので、書き換えません。")
                         : reason;
        }
        return false;
    }
    Favourites merged;
    merged.assign(mergeFavourites(base, favourites.registered(), theirs));
    if (!writeSettings(merged, error)) {
        return false;
    }
    favourites = merged;
    return true;
}

bool writeSettings(const Favourites& favourites, QString* error)
{
    const platform::FileProblem problem =
        platform::writeWholeFile(settingsPath(), formatSettings(favourites));
    if (problem != platform::FileProblem::None && error) {
        *error = platform::problemText(problem);
    }
    return problem == platform::FileProblem::None;
}

}  // namespace masumemo::input
