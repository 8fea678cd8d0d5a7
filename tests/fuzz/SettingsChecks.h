#pragma once
// What must hold for any bytes read as masuedit.ini, a dictionary file or kaomoji.ini, shared
// by the fuzzers and the replay of the inputs they found. Each check answers an empty string,
// or what went wrong.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

#include "dictionary/DictionaryFiles.h"
#include "grid/Cp932.h"
#include "input/Favourites.h"
#include "input/SettingsFile.h"
#include "platform/AppPaths.h"

namespace masumemo::fuzzcheck {

inline std::string checkSettings(std::string_view bytes)
{
    const std::vector<std::u16string> lines = input::parseSettings(bytes);
    if (lines.size() > static_cast<size_t>(input::Favourites::kSlots)) {
        return "more favourites than slots";
    }
    std::string written;
    for (const std::u16string& line : lines) {
        if (line.empty() || line.find(u'\r') != std::u16string::npos) {
            return "an empty favourite, or one holding CR";
        }
        written += grid::encodeCp932(line);
        written += "\r\n";
    }
    if (input::parseSettings(written) != lines) {
        return "favourites written and read again differ";
    }
    return {};
}

inline bool endsWithSpace(const QString& s)
{
    return s.endsWith(QChar(u' ')) || s.endsWith(QChar(u'\u3000'));
}

inline std::string checkDictionaryFile(std::string_view bytes)
{
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    dictionary::DictFile keeping;
    dictionary::DictFile skipping;
    const auto keepError = dictionary::appendEntries(keeping, data, false);
    const auto skipError = dictionary::appendEntries(skipping, data, true);
    for (const auto* record : {&keeping, &skipping}) {
        if (record->HasEntries == record->Entries.isEmpty()) {
            return "HasEntries disagrees with the entries";
        }
        if (record->Entries.size() > dictionary::kMaxIndexCount) {
            return "more entries than the index reaches";
        }
        for (const QString& entry : record->Entries) {
            if (entry.contains(QChar(u'\r')) || entry.contains(QChar(u'\n')) ||
                endsWithSpace(entry)) {
                return "an entry holds a line end or a trailing space";
            }
        }
    }
    if (skipError == dictionary::DictError::None) {
        QStringList nonEmpty = keeping.Entries;
        nonEmpty.removeAll(QString());
        if (keepError == dictionary::DictError::None && nonEmpty != skipping.Entries) {
            return "skipping space-only lines dropped more than those lines";
        }
    }
    return {};
}

/// Loads kaomoji.ini holding bytes from dir (which stands in for the program's directory).
inline std::string checkListFile(std::string_view bytes, const QString& dir)
{
    platform::AppPaths::setProgramDirectoryForTesting(dir);
    const QString listPath = platform::AppPaths::settingsFile(QStringLiteral("kaomoji.ini"));
    {
        QFile file(listPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return {};  // nothing to test without the file
        }
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    const dictionary::LoadResult first = dictionary::LoadDictionaryList();
    if (first.list.displayNames().size() != first.list.count()) {
        return "a record without its row";
    }
    if (first.errors > first.messages.size()) {
        return "an error without its message";
    }
    QStringList paths;
    for (const dictionary::DictFile& f : first.list.DictFiles()) {
        if (f.Path.isEmpty()) {
            return "an empty path in the list";
        }
        paths.append(f.Path);
    }
    if (first.errors > 0) {
        return {};
    }
    // The rewritten list holds exactly the files kept, so loading it again drops nothing.
    const dictionary::LoadResult second = dictionary::LoadDictionaryList();
    QStringList again;
    for (const dictionary::DictFile& f : second.list.DictFiles()) {
        again.append(f.Path);
    }
    if (again != paths) {
        return "the rewritten list loads other files";
    }
    if (!second.messages.isEmpty()) {
        return "loading the rewritten list complained";
    }
    return {};
}

}  // namespace masumemo::fuzzcheck
