#pragma once
// The collection as the window sees it: the parts files under the chosen folders, each with its
// index (where every part starts and its name), built on a background thread so the window
// never waits for it. Parts are read from disk only when they are shown, searched or used, and
// a file that changed on disk since it was indexed is indexed again before its parts are read.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "library/PartsFile.h"

class QThread;

namespace masumemo::library {

/// Files are read whole to be indexed or added to; real files of parts are far smaller.
inline constexpr qint64 kMaxIndexedFileBytes = qint64(1) << 29;

/// One parts file of the collection.
struct LibraryFile
{
    QString path;
    QString root;  ///< the folder (or file) it was found under
    PartsFormat format = PartsFormat::Txt;
    /// Null until indexed; replaced whole when the file is indexed again.
    std::shared_ptr<const FileIndex> index;
    qint64 size = -1;      ///< as indexed
    qint64 modified = -1;  ///< as indexed, ms since the epoch
    QString notice;        ///< why the file gives no parts (empty when it was read)

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
    /// Stops the background work and waits for it.
    ~LibraryIndex() override;

    /// Starts over on these roots (folders or files): the file list is rebuilt and every file
    /// indexed in the background. Work on the previous roots stops.
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

    /// Indexes file i again when its size or time on disk differ from what was indexed. True
    /// when it did (fileIndexed has been emitted).
    bool refreshIfChanged(int i);
    /// Indexes file i again now, on this thread.
    void reindex(int i);

    /// The text of a part (CR LF between lines), read from disk; the file is indexed again first
    /// when it changed. Nothing when the file cannot be read or no longer holds that part.
    std::optional<std::u16string> partText(PartRef ref);

    /// Searches names and texts of every indexed part for query (ASCII letters in any case) in
    /// the background; results arrive in searchHits, then searchFinished. An empty query, or a
    /// new one, stops the search under way.
    void search(const QString& query);
    const QString& query() const { return m_query; }
    /// The most hits one search gives.
    static constexpr int kMaxHits = 100000;

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
    struct Job;
    void stopIndexing();
    void stopSearch();
    void takeFile(int generation, int file, const LibraryFile& indexed);

    QStringList m_roots;
    QVector<LibraryFile> m_files;
    QStringList m_notices;
    bool m_indexing = false;
    int m_indexedCount = 0;
    int m_generation = 0;
    std::shared_ptr<std::atomic<bool>> m_indexCancel;
    QThread* m_indexThread = nullptr;

    QString m_query;
    int m_searchGeneration = 0;
    std::shared_ptr<std::atomic<bool>> m_searchCancel;
    QThread* m_searchThread = nullptr;
};

/// Reads and indexes one file into entry (size, time, index or notice). Used by the background
/// work and by a refresh on the window's thread.
void indexEntry(LibraryFile& entry);

}  // namespace masumemo::library
