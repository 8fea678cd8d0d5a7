#pragma once
// The emoticon dictionary's files: the list file kaomoji.ini, the dictionary files it names and
// the default dictionary Defolt.txt, and the in-memory list the emoticon window keeps.
//
// No widgets and no message boxes here: the loader returns the messages the window shows, in
// order, so every rule can be tested headless. Dictionary files are code page 932 or UTF-8 (see
// TextEncoding.h), kaomoji.ini is code page 932; reading accepts CR LF, a lone CR and a lone LF
// as line ends, and an invalid code page 932 sequence reads as "?".

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/FileAccess.h"

class QByteArray;

namespace masumemo::dictionary {

/// Numbers shown in the unknown-error message.
enum class DictError : int
{
    None = 0,
    Overflow = 6,   ///< more files or entries than a signed 16-bit index reaches
    NotFound = 53,  ///< the file vanished between the existence test and the read
    PermissionDenied = 70,
    AccessError = 75,  ///< any other failure to read or write
};

/// List and entry indices are signed 16-bit: at most this many files in the list and entries
/// in one file.
inline constexpr int kMaxIndexCount = 32767;

/// Larger dictionary files and list files are refused unread: room for a full list of entries
/// far longer than any emoticon.
inline constexpr qint64 kMaxDictionaryFileBytes = 32LL << 20;

/// Entries longer than this are shown cut short in the entry list (the whole entry is still
/// what is copied): a list item of millions of characters would hold the window for seconds.
inline constexpr qsizetype kShownEntryLength = 200;

/// One dictionary file of the list.
struct DictFile
{
    QString Path;         ///< as stored in kaomoji.ini
    QStringList Entries;  ///< one emoticon per line, in file order
    bool HasEntries = false;
    /// One per entry: what followed the emoticon's TAB, its readings and categories joined by
    /// single spaces, for searching only (empty for a line without a TAB).
    QStringList Words;

    friend bool operator==(const DictFile&, const DictFile&) = default;
};

/// "エラーNo." + n + "　未知のエラーが発生しました".
QString unknownErrorMessage(DictError error);

/// The name shown for a dictionary file: the part after the last "/" or "\", without its last
/// four characters (the extension, for the usual ".txt"). A name shorter than four characters
/// is shown whole; one of exactly four gives an empty name.
QString DisplayName(const QString& path);

/// Splits decoded text into lines at CR LF, a lone CR or a lone LF. A final line end does not
/// start another line.
QStringList splitFileLines(const QString& text);

/// Appends the entries of a dictionary file's bytes to record.Entries: empty lines skipped,
/// trailing half-width and full-width spaces trimmed, and, with SkipSpaceLines, lines that
/// were nothing but spaces skipped too (otherwise they give an empty entry). A TAB ends the
/// emoticon: what follows goes to record.Words, and a line with nothing before its TAB (a
/// column header) is no entry. Sets HasEntries
/// once an entry is stored. Past kMaxIndexCount entries it stops and answers Overflow, keeping
/// what was stored.
DictError appendEntries(DictFile& record, const QByteArray& bytes, bool SkipSpaceLines);

/// The words of a dictionary line after its emoticon's TAB: fields split at TABs and spaces
/// (half-width and full-width), joined by single spaces.
QString joinWords(QStringView rest);

/// Reads the file named by record.Path into record.Entries (see appendEntries). A file that
/// cannot be read (also a pipe, a device, a folder or a file past kMaxDictionaryFileBytes,
/// never opened) leaves the record as it was and answers why; problem, when given, receives
/// the file's own problem.
DictError ReadDictionaryFile(DictFile& record, bool SkipSpaceLines,
                             platform::FileProblem* problem = nullptr);

/// "ファイル「" + path + "」は読み込めません。" + CR LF + the reason: a file that is no file
/// to read at all (too large, a pipe or device, a folder).
QString refusalMessage(const QString& path, platform::FileProblem problem);

/// An entry as the entry list shows it: whole up to kShownEntryLength characters, otherwise
/// its start followed by "…".
QString shownEntry(const QString& entry);

/// The list of dictionary files the emoticon window shows; row r of its file chooser is record
/// r. Every record has its row: displayNames() always has one name per record.
class DictionaryList
{
public:
    DictionaryList() = default;
    explicit DictionaryList(QList<DictFile> files) : m_files(std::move(files)) {}

    const QList<DictFile>& DictFiles() const { return m_files; }
    /// True when the list holds at least one file.
    bool HasFiles() const { return !m_files.isEmpty(); }
    int count() const { return static_cast<int>(m_files.size()); }
    const DictFile& at(int row) const { return m_files.at(row); }

    /// The rows of the file chooser: each record's DisplayName, in order.
    QStringList displayNames() const;

    /// Appends a record for path (without reading it). Past kMaxIndexCount files it adds
    /// nothing and answers Overflow.
    DictError appendRecord(const QString& path);
    /// Reads record row's file (see ReadDictionaryFile).
    DictError readRecord(int row, bool SkipSpaceLines, platform::FileProblem* problem = nullptr);

    /// What adding a file did. added: the record and its row exist (false only when the list
    /// is full or the path cannot be written to kaomoji.ini, and then nothing changed).
    /// read: its file was read without error (the window then selects the new row).
    /// listWritten: kaomoji.ini was rewritten with all paths. refused: why the file was not
    /// added (a pipe, a device, a folder, too large); None otherwise.
    struct AddResult
    {
        bool added = false;
        bool read = false;
        bool listWritten = false;
        platform::FileProblem refused = platform::FileProblem::None;
        /// The path has characters kaomoji.ini (code page 932) cannot hold; nothing changed.
        bool pathNotListable = false;
    };
    /// Adds a file chosen by the user: read keeping space-only lines as empty entries, appended
    /// as the last record, then appended to the list file as that holds it now (under a lock,
    /// read again, so a file another copy of the program listed meanwhile stays listed). A file
    /// that is no file to read at all is refused (see refused); one that otherwise cannot be read
    /// keeps its record and row, without entries, and the list file is not rewritten.
    AddResult addFile(const QString& path);

    /// Removes record row (the file itself is untouched) and removes its path from the list
    /// file as that holds it now, as addFile adds. Answers
    /// false, changing nothing, for a row outside the list; otherwise true even when the list
    /// file could not be written (listWritten says which).
    bool removeFile(int row, bool* listWritten = nullptr);

private:
    QList<DictFile> m_files;
};

/// "ファイル「" + path + "」はパスにShift_JISで表せない文字が含まれているため、リストに追加できません。"
QString unlistablePathMessage(const QString& path);

/// True when the file at path reads as text whose every character code page 932 holds, so
/// handing it to the editor loses nothing. A file that cannot be read answers true: the
/// editor reports that itself.
bool fileFitsCp932(const QString& path);

/// Writes kaomoji.ini: every path, one per line, in code page 932 with CR LF, or one empty
/// line when the list holds no file. Written like every file of the program (see
/// platform::writeWholeFile): every byte checked, and a failed write leaves the old list in place.
DictError WriteDictionaryList(const DictionaryList& list);

/// A message about missing files names at most this many of them.
inline constexpr qsizetype kListedMissingFiles = 30;

/// The one message for listed files that were not found: for one file, "ファイル「" + path +
/// "」が見つかりません。" CR LF "ファイルリスト内の参照を削除します。"; for several, their count
/// and their paths one a line, at most kListedMissingFiles of them and then how many more.
QString missingFilesMessage(const QStringList& paths);
/// The same for listed paths that are there but are no files (folders, pipes, devices): for one,
/// why it cannot be read (refusalMessage); for more, their paths as missingFilesMessage lists them.
QString notFilesMessage(const QStringList& paths);

/// What loading the list at window start gives: the list with every file read, and the
/// messages to show, in order (each with an OK button only, no icon).
struct LoadResult
{
    DictionaryList list;
    QStringList messages;
    /// Unknown errors met on the way (each has its message). Loading always goes on to the end.
    int errors = 0;
};

/// Loads kaomoji.ini (or, when it does not exist, Defolt.txt alone): drops listed paths that are
/// no longer files, with one message for all of them (missingFilesMessage), removes them from
/// the list file (as another copy of the program may have changed it: see addFile) and reads
/// every file
/// skipping space-only lines. An error is reported and loading goes on with the next file (a
/// file too large or no file to read with refusalMessage, others by number); a list file that
/// cannot be read is not rewritten, and one that cannot be rewritten is reported once. With
/// neither file the list is empty and the not-found message is given.
LoadResult LoadDictionaryList();

}  // namespace masumemo::dictionary
