#include "SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "Favourites.h"
#include "grid/Cp932.h"
#include "platform/AppPaths.h"

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
    const QString path = settingsPath();
    if (!QFileInfo::exists(path)) {
        return SettingsRead::Missing;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return SettingsRead::Unreadable;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return SettingsRead::Unreadable;
    }
    favourites.assign(parseSettings(std::string_view(bytes.constData(), bytes.size())));
    return SettingsRead::Read;
}

bool writeSettings(const Favourites& favourites, QString* error)
{
    QSaveFile file(settingsPath());
    const std::string bytes = formatSettings(favourites);
    // Unbuffered, so a short write (a full disk, a file size limit) shows in write()'s count:
    // a buffered flush at commit() can write part of the data and still report success.
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                         file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                             static_cast<qint64>(bytes.size()) &&
                         file.commit();
    if (!written && error) {
        *error = file.errorString();
    }
    return written;
}

}  // namespace masumemo::input
