#include "DictionaryFiles.h"

#include "TextEncoding.h"

#include <QByteArray>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"
#include "platform/AppPaths.h"
#include "platform/ChangeLock.h"
#include "platform/FileAccess.h"

namespace masumemo::dictionary {
namespace {

const QString kListFileName = QStringLiteral("kaomoji.ini");

QString decode(const QByteArray& bytes)
{
    const std::u16string text =
        grid::decodeCp932(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    return QString::fromStdU16String(text);
}

DictError errorOf(platform::FileProblem problem)
{
    switch (problem) {
        case platform::FileProblem::None:
            return DictError::None;
        case platform::FileProblem::NotFound:
            return DictError::NotFound;
        case platform::FileProblem::PermissionDenied:
            return DictError::PermissionDenied;
        default:
            return DictError::AccessError;
    }
}

/// The whole file, or the error that stopped the read (and, when asked, the file's problem).
DictError readAll(const QString& path, QByteArray& bytes, platform::FileProblem* problem = nullptr)
{
    platform::FileBytes file = platform::readRegularFile(path, kMaxDictionaryFileBytes);
    if (problem) {
        *problem = file.problem;
    }
    bytes = std::move(file.bytes);
    return errorOf(file.problem);
}

/// Problems that say more than an error number: the file is no text file to read at all.
bool isRefusal(platform::FileProblem problem)
{
    return problem == platform::FileProblem::TooLarge ||
           problem == platform::FileProblem::NotRegularFile ||
           problem == platform::FileProblem::IsFolder;
}

bool isListedFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

/// The paths a list file's bytes name, empty lines left out.
QStringList listedPaths(const QByteArray& bytes)
{
    QStringList paths = splitFileLines(decode(bytes));
    paths.removeAll(QString());
    return paths;
}

QStringList pathsOf(const DictionaryList& list)
{
    QStringList paths;
    for (const DictFile& file : list.DictFiles()) {
        paths << file.Path;
    }
    return paths;
}

DictError writeListFile(const QStringList& paths)
{
    QByteArray bytes;
    for (const QString& path : paths) {
        bytes.append(grid::encodeCp932(path.toStdU16String()));
        bytes.append("\r\n");
    }
    if (paths.isEmpty()) {
        bytes.append("\r\n");
    }
    // A list file that is writable in a folder that is not can still be kept up to date.
    return errorOf(platform::writeWholeFile(platform::AppPaths::settingsFile(kListFileName),
                                            std::string_view(bytes.constData(), bytes.size()),
                                            platform::WriteMode::ReplaceOrOverwrite));
}

/// Changes the paths of kaomoji.ini as one step against other copies of the program: under a
/// lock the file is read again and change applied to the paths it holds now (to fallback when
/// there is no file). A file that cannot be read is not written: that would lose it.
DictError changeListFile(const std::function<void(QStringList&)>& change,
                         const QStringList& fallback)
{
    const QString listPath = platform::AppPaths::settingsFile(kListFileName);
    const platform::ChangeLock lock(listPath);
    QStringList paths = fallback;
    if (QFileInfo::exists(listPath)) {
        QByteArray bytes;
        if (const DictError error = readAll(listPath, bytes); error != DictError::None) {
            return error;
        }
        paths = listedPaths(bytes);
    }
    change(paths);
    return writeListFile(paths);
}

/// True when the path survives being written to kaomoji.ini and read back.
bool listFileCanHold(const QString& path)
{
    const std::u16string text = path.toStdU16String();
    return grid::decodeCp932(grid::encodeCp932(text)) == text;
}

}  // namespace

QString unknownErrorMessage(DictError error)
{
    return QStringLiteral("エラーNo.") + QString::number(static_cast<int>(error)) +
           QStringLiteral("　未知のエラーが発生しました");
}

QString DisplayName(const QString& path)
{
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString name = path.mid(cut + 1);
    if (name.size() < 4) {
        return name;
    }
    return name.left(name.size() - 4);
}

QStringList splitFileLines(const QString& text)
{
    // The same line ends as canvas files; the lines are cut from text itself.
    const QStringView whole(text);
    const std::u16string_view view(whole.utf16(), static_cast<size_t>(whole.size()));
    QStringList lines;
    for (const std::u16string_view line : grid::splitFileLines(view)) {
        lines.append(text.mid(line.data() - view.data(), static_cast<qsizetype>(line.size())));
    }
    return lines;
}

QString joinWords(QStringView rest)
{
    // The words are never longer than what they are cut from: one allocation a line.
    QString words;
    words.reserve(rest.size());
    qsizetype start = -1;
    auto flush = [&](qsizetype end) {
        if (start >= 0) {
            if (!words.isEmpty()) {
                words.append(QLatin1Char(' '));
            }
            words.append(rest.mid(start, end - start));
            start = -1;
        }
    };
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QChar c = rest.at(i);
        if (c == QLatin1Char('\t') || c == QChar(grid::kHalfSpace) || c == QChar(grid::kFullSpace)) {
            flush(i);
        } else if (start < 0) {
            start = i;
        }
    }
    flush(rest.size());
    return words;
}

DictError appendEntries(DictFile& record, const QByteArray& bytes, bool SkipSpaceLines)
{
    // Lines are looked at where they stand in the decoded text; only what is kept is copied.
    const std::u16string text = decodeDictionaryText(
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    const std::vector<std::u16string_view> lines = grid::splitFileLines(text);
    // Words stay one per entry even for a record filled before they were kept.
    while (record.Words.size() < record.Entries.size()) {
        record.Words.append(QString());
    }
    const auto room = std::min<qsizetype>(record.Entries.size() + std::ssize(lines), kMaxIndexCount);
    record.Entries.reserve(room);
    record.Words.reserve(room);
    for (const std::u16string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        const size_t tab = line.find(u'\t');
        const std::u16string_view entry = grid::withoutTrailingSpaces(line.substr(0, tab));
        if ((SkipSpaceLines || tab != std::u16string_view::npos) && entry.empty()) {
            continue;
        }
        if (record.Entries.size() >= kMaxIndexCount) {
            return DictError::Overflow;
        }
        record.Entries.append(QStringView(entry.data(), std::ssize(entry)).toString());
        record.Words.append(tab == std::u16string_view::npos
                                ? QString()
                                : joinWords(QStringView(line.data(), std::ssize(line)).mid(
                                      static_cast<qsizetype>(tab) + 1)));
        record.HasEntries = true;
    }
    return DictError::None;
}

DictError ReadDictionaryFile(DictFile& record, bool SkipSpaceLines, platform::FileProblem* problem)
{
    QByteArray bytes;
    if (const DictError error = readAll(record.Path, bytes, problem); error != DictError::None) {
        return error;
    }
    return appendEntries(record, bytes, SkipSpaceLines);
}

QString refusalMessage(const QString& path, platform::FileProblem problem)
{
    return QStringLiteral("ファイル「") + path + QStringLiteral("」は読み込めません。") +
           QStringLiteral("\r\n") + platform::problemText(problem);
}

QString shownEntry(const QString& entry)
{
    if (entry.size() <= kShownEntryLength) {
        return entry;
    }
    qsizetype cut = kShownEntryLength;
    // A character beyond the BMP is not cut in two.
    if (entry.at(cut - 1).isHighSurrogate()) {
        --cut;
    }
    return entry.left(cut) + QChar(0x2026);
}

QStringList DictionaryList::displayNames() const
{
    QStringList names;
    names.reserve(m_files.size());
    for (const DictFile& file : m_files) {
        names.append(DisplayName(file.Path));
    }
    return names;
}

DictError DictionaryList::appendRecord(const QString& path)
{
    if (m_files.size() >= kMaxIndexCount) {
        return DictError::Overflow;
    }
    m_files.append(DictFile{path, {}, false, {}});
    return DictError::None;
}

DictError DictionaryList::readRecord(int row, bool SkipSpaceLines, platform::FileProblem* problem)
{
    return ReadDictionaryFile(m_files[row], SkipSpaceLines, problem);
}

DictionaryList::AddResult DictionaryList::addFile(const QString& path)
{
    AddResult result;
    // A path with characters the list file cannot hold would come back as another path and
    // be dropped as missing at the next start; refuse it now, saying why.
    if (!listFileCanHold(path)) {
        result.pathNotListable = true;
        return result;
    }
    if (m_files.size() >= kMaxIndexCount) {
        return result;
    }
    // Read before it is listed: a pipe, a device, a folder or a file too large to read is
    // refused outright, with the reason.
    const QStringList listed = pathsOf(*this);
    DictFile record{path, {}, false, {}};
    const DictError error = ReadDictionaryFile(record, false, &result.refused);
    if (isRefusal(result.refused)) {
        return result;
    }
    result.refused = platform::FileProblem::None;
    m_files.append(std::move(record));
    result.added = true;
    if (error != DictError::None) {
        return result;
    }
    result.read = true;
    result.listWritten = changeListFile([&path](QStringList& paths) { paths.append(path); },
                                        listed) == DictError::None;
    return result;
}

bool DictionaryList::removeFile(int row, bool* listWritten)
{
    if (row < 0 || row >= count()) {
        return false;
    }
    const QString path = m_files.takeAt(row).Path;
    // The one listing of that row: a path listed twice keeps its other row.
    const qsizetype listing = std::count_if(m_files.cbegin(), m_files.cbegin() + row,
                                            [&path](const DictFile& f) { return f.Path == path; });
    const bool written = changeListFile(
                             [&path, listing](QStringList& paths) {
                                 qsizetype seen = 0;
                                 for (qsizetype i = 0; i < paths.size(); ++i) {
                                     if (paths[i] == path && seen++ == listing) {
                                         paths.removeAt(i);
                                         return;
                                     }
                                 }
                             },
                             pathsOf(*this) << path) == DictError::None;
    if (listWritten) {
        *listWritten = written;
    }
    return true;
}

QString unlistablePathMessage(const QString& path)
{
    return QStringLiteral("ファイル「") + path +
           QStringLiteral("」はパスにShift_JISで表せない文字が含まれているため、"
                          "リストに追加できません。");
}

bool fileFitsCp932(const QString& path)
{
    QByteArray bytes;
    if (readAll(path, bytes) != DictError::None) {
        return true;
    }
    return fitsCp932(
        decodeDictionaryText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))));
}

DictError WriteDictionaryList(const DictionaryList& list)
{
    return writeListFile(pathsOf(list));
}

namespace {

/// text, then the paths one a line: at most kListedMissingFiles of them, then how many more.
QString withPaths(QString text, const QStringList& paths)
{
    for (const QString& path : paths.mid(0, kListedMissingFiles)) {
        text += QStringLiteral("\r\n") + path;
    }
    if (paths.size() > kListedMissingFiles) {
        text += QStringLiteral("\r\n") +
                QStringLiteral("ほか %1 個").arg(paths.size() - kListedMissingFiles);
    }
    return text;
}

}  // namespace

QString notFilesMessage(const QStringList& paths)
{
    if (paths.size() == 1) {
        return refusalMessage(paths.front(), platform::regularFileProblem(paths.front())) +
               QStringLiteral("\r\n") + QStringLiteral("ファイルリスト内の参照を削除します。");
    }
    return withPaths(QStringLiteral("次の %1 個はファイルではありません（フォルダー、パイプやデバイスなど）。"
                                    "ファイルリスト内の参照を削除します。")
                         .arg(paths.size()),
                     paths);
}

QString missingFilesMessage(const QStringList& paths)
{
    if (paths.size() == 1) {
        return QStringLiteral("ファイル「") + paths.front() + QStringLiteral("」が見つかりません。") +
               QStringLiteral("\r\n") + QStringLiteral("ファイルリスト内の参照を削除します。");
    }
    return withPaths(
        QStringLiteral("次の %1 個のファイルが見つかりません。ファイルリスト内の参照を削除します。")
            .arg(paths.size()),
        paths);
}

LoadResult LoadDictionaryList()
{
    LoadResult result;
    DictionaryList& list = result.list;
    auto report = [&result](DictError error) {
        result.messages.append(unknownErrorMessage(error));
        ++result.errors;
    };

    const QString listPath = platform::AppPaths::settingsFile(kListFileName);
    const QString defaultPath = platform::AppPaths::defaultDictionary();
    if (QFileInfo::exists(listPath)) {
        QByteArray bytes;
        if (const DictError error = readAll(listPath, bytes); error != DictError::None) {
            // Rewriting a list that could not be read would lose it.
            report(error);
            return result;
        }
        bool complete = true;
        QStringList missing;
        QStringList notFiles;
        for (const QString& path : listedPaths(bytes)) {
            if (!isListedFile(path)) {
                // A folder, a pipe or a device is there all right: it is just no file to read.
                const platform::FileProblem problem = platform::regularFileProblem(path);
                (problem == platform::FileProblem::IsFolder ||
                         problem == platform::FileProblem::NotRegularFile
                     ? notFiles
                     : missing)
                    << path;
                continue;
            }
            if (const DictError error = list.appendRecord(path); error != DictError::None) {
                report(error);
                complete = false;
                break;
            }
        }
        // One message however many: a damaged list of hundreds must not mean hundreds of boxes.
        if (!missing.isEmpty()) {
            result.messages.append(missingFilesMessage(missing));
        }
        if (!notFiles.isEmpty()) {
            result.messages.append(notFilesMessage(notFiles));
        }
        missing += notFiles;
        // A list cut short at the limit keeps the paths past it in the file. Only the missing
        // paths go: another copy of the program may have listed more since.
        if (complete) {
            const auto dropMissing = [&missing](QStringList& paths) {
                paths.removeIf([&missing](const QString& p) { return missing.contains(p); });
            };
            if (const DictError error = changeListFile(dropMissing, pathsOf(list));
                error != DictError::None) {
                report(error);
            }
        }
    } else if (isListedFile(defaultPath)) {
        list.appendRecord(defaultPath);
        if (const DictError error = list.readRecord(0, true); error != DictError::None) {
            report(error);
        }
        const auto listDefault = [&defaultPath](QStringList& paths) {
            if (!paths.contains(defaultPath)) {
                paths.prepend(defaultPath);
            }
        };
        if (const DictError error = changeListFile(listDefault, {}); error != DictError::None) {
            report(error);
        }
        return result;
    } else {
        result.messages.append(
            QStringLiteral("ファイルをリストアップ用の保存ファイルが見つかりません。"));
        return result;
    }

    for (int row = 0; row < list.count(); ++row) {
        platform::FileProblem problem = platform::FileProblem::None;
        if (const DictError error = list.readRecord(row, true, &problem);
            error != DictError::None) {
            if (isRefusal(problem)) {
                result.messages.append(refusalMessage(list.at(row).Path, problem));
                ++result.errors;
            } else {
                report(error);
            }
        }
    }
    return result;
}

}  // namespace masumemo::dictionary
