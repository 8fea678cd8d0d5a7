#pragma once
// The collection as the window sees it: the parts files under the chosen folders, each with its
// index (where every part starts and its name), built on background threads so the window
// never waits for it, not even for work it no longer wants. Parts are read from disk only when
// they are shown, searched or used; a file that changed on disk since it was indexed is indexed
// again in the background, and its parts are read once that is done.

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "pagefile/PartsFile.h"
#include "platform/NewestWins.h"

namespace masumemo::library {

/// Files are read whole to be indexed or added to; real files of parts are far smaller.
inline constexpr qint64 kMaxIndexedFileBytes = qint64(1) << 29;

/// One parts file of the collection.
struct LibraryFile
{
    QString path;
    QString root;  ///< the folder (or file) it was found under
    pagefile::PartsFormat format = pagefile::PartsFormat::Txt;
    /// Null until indexed; replaced whole when the file is indexed again.
    std::shared_ptr<const pagefile::FileIndex> index;
    qint64 size = -1;      ///< as indexed; -1 for a missing file
    qint64 modified = -1;  ///< as indexed, ms since the epoch
    QString notice;        ///< why the file gives no parts (empty when it was read)
    bool indexed = false;  ///< read (or found missing) at least once
    /// When the read was asked for: what a read asked for later found wins.
    quint64 readOrder = 0;

    int partCount() const { return index ? static_cast<int>(index->count()) : 0; }
};

/// A part found by a search.
struct PartRef
{
    int file = -1;
    int part = -1;
    friend bool operator==(const PartRef&, const PartRef&) = default;
};

class LibraryIndex : public QObject
{
    Q_OBJECT
public:
    explicit LibraryIndex(QObject* parent = nullptr);
    /// Cancels the background work and waits for its threads, which end within a few hundred
    /// parts.
    ~LibraryIndex() override;

    /// Starts over on these roots (folders or files): the file list is rebuilt and every file
    /// indexed in the background. Work on the previous roots is cancelled, not waited for.
    void setRoots(const QStringList& roots);
    const QStringList& roots() const { return m_roots; }

    int fileCount() const { return static_cast<int>(m_files.size()); }
    const LibraryFile& file(int i) const { return m_files.at(i); }
    /// The file with this path, or -1.
    int fileOf(const QString& path) const;
    /// Folders and files that were skipped while listing (unreadable, links in a loop, missing).
    const QStringList& notices() const { return m_notices; }
    /// True while the background indexing runs.
    bool indexing() const { return m_indexing; }
    /// Files indexed so far in this run.
    int indexedCount() const { return m_indexedCount; }

    /// Starts indexing file i again in the background when its size or time on disk differ
    /// from what was indexed; fileIndexed follows. True when it did.
    bool refreshIfChanged(int i);
    /// Starts indexing file i again in the background; fileIndexed follows.
    void reindex(int i);
    /// True while file i waits to be indexed again.
    bool reindexing(int i) const { return m_reindexing.contains(i); }

    /// The text of a part (CR LF between lines), read from disk. Nothing when the file cannot be
    /// read, no longer holds that part, or changed since it was indexed (then it is indexed
    /// again, and fileIndexed follows).
    std::optional<std::u16string> partText(PartRef ref);
    /// The beginning of a part as PreviewLines gives it, reading no more of the file than that.
    /// Nothing as for partText.
    std::optional<std::vector<std::u16string>> partPreview(PartRef ref, std::size_t maxLines,
                                                           std::size_t maxChars);

    /// Searches names and texts of every indexed part for query (kana in either script, letters
    /// in either case: grid::foldForSearch, as Egaocho searches) in
    /// the background; results arrive in searchHits, then searchFinished. An empty query, or a
    /// new one, cancels the search under way: none of its hits arrive after that.
    void search(const QString& query);
    const QString& query() const { return m_query; }
    /// The most hits one search gives.
    static constexpr int kMaxHits = 100000;
    /// True when the last search finished stopped at kMaxHits.
    bool searchCapped() const { return m_searchCapped; }

    /// Blocks until the background indexing and search have ended and their results have been
    /// taken in. For tests and benchmarks.
    void waitForIdle();

signals:
    /// The file list was replaced (all files unindexed).
    void filesListed();
    void fileIndexed(int file);
    void progress(int indexed, int total);
    void indexingFinished();
    void searchHits(const QVector<masumemo::library::PartRef>& hits);
    void searchFinished();

private:
    /// Takes in what the background read of a file found, unless the entry already holds a
    /// newer state of the file.
    bool takeFile(int file, const LibraryFile& indexed);
    void startReindexing();
    /// Reads the bytes of a part in pieces into sink until it returns false; false when the
    /// part cannot be read (see partText).
    bool readPart(PartRef ref, const std::function<bool(std::string_view)>& sink);

    QStringList m_roots;
    QVector<LibraryFile> m_files;
    QStringList m_notices;
    bool m_indexing = false;
    int m_indexedCount = 0;
    QSet<int> m_reindexing;
    quint64 m_readsAsked = 0;

    QString m_query;
    bool m_searchCapped = false;

    platform::NewestWins m_indexWork;
    platform::NewestWins m_reindexWork;
    platform::NewestWins m_searchWork;
};

/// Reads and indexes one file into entry (size, time, index or notice). A set cancel flag ends
/// it early: then false, and entry is to be dropped. Used by the background work.
bool indexEntry(LibraryFile& entry, const std::atomic<bool>* cancel = nullptr);

}  // namespace masumemo::library
