#include "LibraryIndex.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

#include "library/CollectionScan.h"
#include "platform/FileAccess.h"

namespace masumemo::library {
namespace {

QString fromPath(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

QString noticeText(const ScanNotice& notice)
{
    const QString path = fromPath(notice.path);
    switch (notice.problem) {
        case ScanProblem::Missing:
            return QStringLiteral("見つかりません: %1").arg(path);
        case ScanProblem::Unreadable:
            return QStringLiteral("フォルダを読めません: %1").arg(path);
        case ScanProblem::Loop:
            return QStringLiteral("リンクが輪になっているので飛ばしました: %1").arg(path);
        case ScanProblem::NotPartsFile:
            return QStringLiteral("MLT・AST・TXTのファイルではありません: %1").arg(path);
    }
    return path;
}

static_assert(kMaxIndexedFileBytes <= qint64(kMaxPartsFileBytes));

qint64 modifiedTime(const QFileInfo& info)
{
    return info.lastModified().toMSecsSinceEpoch();
}

/// ASCII letters in lower case, so a search ignores their case.
std::u16string folded(std::u16string_view s)
{
    std::u16string out(s);
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c + 32);
        }
    }
    return out;
}

std::optional<QByteArray> readAll(const QString& path)
{
    platform::FileBytes read = platform::readRegularFile(path, kMaxIndexedFileBytes);
    if (read.problem != platform::FileProblem::None) {
        return std::nullopt;
    }
    return std::move(read.bytes);
}

std::string_view view(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

/// The span's bytes when the file still holds them.
std::optional<std::string_view> spanOf(std::string_view bytes, PartSpan span)
{
    if (std::uint64_t(span.start) + span.length > bytes.size()) {
        return std::nullopt;
    }
    return bytes.substr(span.start, span.length);
}

}  // namespace

void indexEntry(LibraryFile& entry)
{
    const QFileInfo info(entry.path);
    entry.size = info.size();
    entry.modified = modifiedTime(info);
    entry.index.reset();
    entry.notice.clear();
    const platform::FileBytes read = platform::readRegularFile(entry.path, kMaxIndexedFileBytes);
    if (read.problem != platform::FileProblem::None) {
        entry.notice = platform::problemText(read.problem);
        return;
    }
    IndexProblem problem = IndexProblem::None;
    auto index = std::make_shared<FileIndex>(indexFile(view(read.bytes), entry.format, &problem));
    if (problem == IndexProblem::Binary) {
        entry.notice = QStringLiteral("テキストファイルではありません（NUL文字を含んでいます）。");
        return;
    }
    entry.index = std::move(index);
}

LibraryIndex::LibraryIndex(QObject* parent) : QObject(parent) {}

LibraryIndex::~LibraryIndex()
{
    stopSearch();
    stopIndexing();
}

void LibraryIndex::stopIndexing()
{
    if (m_indexThread) {
        m_indexCancel->store(true);
        m_indexThread->wait();
        delete m_indexThread;
        m_indexThread = nullptr;
    }
    m_indexing = false;
}

void LibraryIndex::stopSearch()
{
    if (m_searchThread) {
        m_searchCancel->store(true);
        m_searchThread->wait();
        delete m_searchThread;
        m_searchThread = nullptr;
    }
}

void LibraryIndex::setRoots(const QStringList& roots)
{
    stopSearch();
    stopIndexing();
    const int generation = ++m_generation;
    ++m_searchGeneration;
    m_roots = roots;
    m_files.clear();
    m_notices.clear();
    m_indexedCount = 0;
    m_indexing = true;
    emit filesListed();

    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_indexCancel = cancel;
    m_indexThread = QThread::create([this, cancel, generation, roots] {
        QVector<LibraryFile> files;
        QStringList notices;
        for (const QString& root : roots) {
            const ScanResult found = scanCollection(root.toStdString(), cancel.get());
            for (const FoundFile& f : found.files) {
                files.push_back({fromPath(f.path), root, f.format, nullptr});
            }
            for (const ScanNotice& n : found.notices) {
                notices << noticeText(n);
            }
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, files, notices] {
                if (generation == m_generation) {
                    m_files = files;
                    m_notices = notices;
                    emit filesListed();
                    emit progress(0, fileCount());
                }
            },
            Qt::QueuedConnection);
        for (int i = 0; i < files.size() && !cancel->load(); ++i) {
            LibraryFile entry = files[i];
            indexEntry(entry);
            QMetaObject::invokeMethod(
                this, [this, generation, i, entry] { takeFile(generation, i, entry); },
                Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation != m_generation) {
                    return;
                }
                stopIndexing();
                emit indexingFinished();
                // Files indexed after the search began were not searched.
                if (!m_query.isEmpty()) {
                    search(m_query);
                }
            },
            Qt::QueuedConnection);
    });
    m_indexThread->start(QThread::LowPriority);
}

void LibraryIndex::takeFile(int generation, int file, const LibraryFile& indexed)
{
    if (generation != m_generation || file >= m_files.size()) {
        return;
    }
    LibraryFile& entry = m_files[file];
    // A refresh on this thread may already have read a newer state of the file.
    if (entry.size < 0 || entry.modified <= indexed.modified) {
        entry = indexed;
    }
    ++m_indexedCount;
    emit fileIndexed(file);
    emit progress(m_indexedCount, fileCount());
}

int LibraryIndex::fileOf(const QString& path) const
{
    for (int i = 0; i < m_files.size(); ++i) {
        if (m_files[i].path == path) {
            return i;
        }
    }
    return -1;
}

bool LibraryIndex::refreshIfChanged(int i)
{
    if (i < 0 || i >= m_files.size()) {
        return false;
    }
    const LibraryFile& entry = m_files[i];
    const QFileInfo info(entry.path);
    if (info.size() == entry.size && modifiedTime(info) == entry.modified &&
        info.exists() == (entry.size >= 0)) {
        return false;
    }
    reindex(i);
    return true;
}

void LibraryIndex::reindex(int i)
{
    if (i < 0 || i >= m_files.size()) {
        return;
    }
    indexEntry(m_files[i]);
    emit fileIndexed(i);
}

std::optional<std::u16string> LibraryIndex::partText(PartRef ref)
{
    refreshIfChanged(ref.file);
    if (ref.file < 0 || ref.file >= m_files.size()) {
        return std::nullopt;
    }
    const LibraryFile& entry = m_files[ref.file];
    if (!entry.index || ref.part < 0 || ref.part >= entry.partCount()) {
        return std::nullopt;
    }
    const PartSpan span = entry.index->parts[static_cast<std::size_t>(ref.part)];
    QFile file(entry.path);
    // Something else put in the file's place (a pipe would block) is not read.
    if (platform::regularFileProblem(entry.path) != platform::FileProblem::None ||
        !file.open(QIODevice::ReadOnly) || !file.seek(span.start)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.read(span.length);
    if (bytes.size() != static_cast<qsizetype>(span.length)) {
        return std::nullopt;
    }
    return library::partText(view(bytes), entry.index->detected.encoding);
}

void LibraryIndex::search(const QString& query)
{
    stopSearch();
    const int generation = ++m_searchGeneration;
    m_query = query;
    if (query.isEmpty()) {
        return;
    }
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_searchCancel = cancel;
    const QVector<LibraryFile> files = m_files;
    const std::u16string needle = folded(query.toStdU16String());
    m_searchThread = QThread::create([this, cancel, generation, files, needle] {
        int total = 0;
        for (int f = 0; f < files.size() && !cancel->load() && total < kMaxHits; ++f) {
            const LibraryFile& entry = files[f];
            if (!entry.index) {
                continue;
            }
            const std::optional<QByteArray> bytes = readAll(entry.path);
            if (!bytes) {
                continue;
            }
            const FileIndex& index = *entry.index;
            QVector<PartRef> hits;
            for (std::size_t p = 0; p < index.count() && total < kMaxHits; ++p) {
                const std::optional<std::string_view> span = spanOf(view(*bytes), index.parts[p]);
                if (!span) {
                    break;  // the file shrank since it was indexed
                }
                if (folded(index.name(p)).find(needle) != std::u16string::npos ||
                    folded(library::partText(*span, index.detected.encoding)).find(needle) !=
                        std::u16string::npos) {
                    hits.push_back({f, static_cast<int>(p)});
                    ++total;
                }
            }
            if (!hits.isEmpty()) {
                QMetaObject::invokeMethod(
                    this,
                    [this, generation, hits] {
                        if (generation == m_searchGeneration) {
                            emit searchHits(hits);
                        }
                    },
                    Qt::QueuedConnection);
            }
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation == m_searchGeneration) {
                    stopSearch();
                    emit searchFinished();
                }
            },
            Qt::QueuedConnection);
    });
    m_searchThread->start(QThread::LowPriority);
}

void LibraryIndex::waitForIdle()
{
    // Each thread's last message stops it; take messages in until both have ended.
    while (m_indexThread || m_searchThread) {
        if (m_indexThread) {
            m_indexThread->wait();
        }
        if (m_searchThread) {
            m_searchThread->wait();
        }
        QCoreApplication::sendPostedEvents(this);
    }
    QCoreApplication::sendPostedEvents(this);
}

}  // namespace masumemo::library
