#include "SettingsFile.h"

#include "Favourites.h"
#include "grid/Cp932.h"
#include "platform/AppPaths.h"
#include "platform/FileAccess.h"

namespace masumemo::input {

QString settingsPath()
{
    return platform::AppPaths::settingsFile(QStringLiteral("masuedit.ini"));
}

std::vector<std::u16string> parseSettings(std::string_view bytes)
{
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
            break;
        }
        // Larger than any canvas it could be written into; its tooltip alone would take minutes.
        if (grid::WidthOf(line) > kMaxFavouriteUnits) {
            continue;
        }
        lines.push_back(std::move(line));
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

SettingsRead readSettings(Favourites& favourites)
{
    const platform::FileBytes file = platform::readRegularFile(settingsPath(), kMaxSettingsBytes);
    switch (file.problem) {
        case platform::FileProblem::None:
            break;
        case platform::FileProblem::NotFound:
            return SettingsRead::Missing;
        default:
            return SettingsRead::Unreadable;
    }
    favourites.assign(parseSettings(std::string_view(file.bytes.constData(), file.bytes.size())));
    return SettingsRead::Read;
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
