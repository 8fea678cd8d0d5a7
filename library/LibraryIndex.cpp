#include "LibraryIndex.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "grid/SearchFold.h"
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

static_assert(kMaxIndexedFileBytes <= qint64(pagefile::kMaxPartsFileBytes));

qint64 modifiedTime(const QFileInfo& info)
{
    return info.lastModified().toMSecsSinceEpoch();
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
std::optional<std::string_view> spanOf(std::string_view bytes, pagefile::PartSpan span)
{
    if (std::uint64_t(span.start) + span.length > bytes.size()) {
        return std::nullopt;
    }
    return bytes.substr(span.start, span.length);
}

/// The size as an entry holds it: -1 for a missing file.
qint64 sizeOnDisk(const QFileInfo& info)
{
    return info.exists() ? info.size() : -1;
}

}  // namespace

bool indexEntry(LibraryFile& entry, const std::atomic<bool>* cancel)
{
    const QFileInfo info(entry.path);
    entry.size = sizeOnDisk(info);
    entry.modified = modifiedTime(info);
    entry.index.reset();
    entry.notice.clear();
    entry.indexed = true;
    const platform::FileBytes read = platform::readRegularFile(entry.path, kMaxIndexedFileBytes);
    if (read.problem != platform::FileProblem::None) {
        entry.notice = platform::problemText(read.problem);
        return true;
    }
    pagefile::IndexProblem problem = pagefile::IndexProblem::None;
    auto index = std::make_shared<pagefile::FileIndex>(
        pagefile::indexFile(view(read.bytes), entry.format, &problem, cancel));
    if (problem == pagefile::IndexProblem::Cancelled) {
        return false;
    }
    if (problem == pagefile::IndexProblem::Binary) {
        entry.notice = QStringLiteral("テキストファイルではありません（NUL文字を含んでいます）。");
        return true;
    }
    entry.index = std::move(index);
    return true;
}

LibraryIndex::LibraryIndex(QObject* parent) : QObject(parent) {}

LibraryIndex::~LibraryIndex()
{
    // All cancelled first, so the members' destructors wait for all of them at once.
    m_searchWork.cancel();
    m_reindexWork.cancel();
    m_indexWork.cancel();
}

void LibraryIndex::setRoots(const QStringList& roots)
{
    m_searchWork.cancel();
    m_reindexWork.cancel();
    m_reindexing.clear();
    m_roots = roots;
    m_files.clear();
    m_notices.clear();
    m_indexedCount = 0;
    m_indexing = true;
    emit filesListed();

    const quint64 readOrder = ++m_readsAsked;
    m_indexWork.start([this, roots, readOrder](const platform::NewestWins::Run& run) {
        QVector<LibraryFile> files;
        QStringList notices;
        for (const QString& root : roots) {
            const ScanResult found = scanCollection(root.toStdString(), run.cancelFlag());
            for (const FoundFile& f : found.files) {
                LibraryFile file{fromPath(f.path), root, f.format, nullptr};
                file.readOrder = readOrder;
                files.push_back(std::move(file));
            }
            for (const ScanNotice& n : found.notices) {
                notices << noticeText(n);
            }
        }
        run.deliver([this, files, notices] {
            m_files = files;
            m_notices = notices;
            emit filesListed();
            emit progress(0, fileCount());
        });
        for (int i = 0; i < files.size() && !run.cancelled(); ++i) {
            LibraryFile entry = files[i];
            if (!indexEntry(entry, run.cancelFlag())) {
                return;
            }
            run.deliver([this, i, entry] {
                if (takeFile(i, entry)) {
                    ++m_indexedCount;
                    emit fileIndexed(i);
                    emit progress(m_indexedCount, fileCount());
                }
            });
        }
        run.deliver([this] {
            m_indexing = false;
            emit indexingFinished();
        });
    });
}

bool LibraryIndex::takeFile(int file, const LibraryFile& indexed)
{
    if (file >= m_files.size()) {
        return false;
    }
    LibraryFile& entry = m_files[file];
    // A read of the file asked for later may already have brought a newer state of it.
    if (indexed.readOrder >= entry.readOrder) {
        entry = indexed;
    }
    return true;
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
    // A file not indexed yet is on its way in the indexing under way.
    if (!entry.indexed ||
        (sizeOnDisk(info) == entry.size && modifiedTime(info) == entry.modified)) {
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
    m_reindexing.insert(i);
    startReindexing();
}

void LibraryIndex::startReindexing()
{
    // The newest request takes every file still waiting, so cancelling the one before loses
    // none of them.
    QVector<QPair<int, LibraryFile>> waiting;
    for (const int i : std::as_const(m_reindexing)) {
        waiting.push_back({i, m_files[i]});
        waiting.back().second.readOrder = ++m_readsAsked;
    }
    m_reindexWork.start([this, waiting](const platform::NewestWins::Run& run) {
        for (auto [i, entry] : waiting) {
            if (run.cancelled()) {
                return;
            }
            if (!indexEntry(entry, run.cancelFlag())) {
                return;
            }
            run.deliver([this, i, entry] {
                m_reindexing.remove(i);
                if (takeFile(i, entry)) {
                    emit fileIndexed(i);
                }
            });
        }
    });
}

bool LibraryIndex::readPart(PartRef ref, const std::function<bool(std::string_view)>& sink)
{
    if (ref.file < 0 || ref.file >= m_files.size() || m_reindexing.contains(ref.file) ||
        refreshIfChanged(ref.file)) {
        return false;
    }
    const LibraryFile& entry = m_files[ref.file];
    if (!entry.index || ref.part < 0 || ref.part >= entry.partCount()) {
        return false;
    }
    const pagefile::PartSpan span = entry.index->parts[static_cast<std::size_t>(ref.part)];
    QFile file(entry.path);
    // Something else put in the file's place (a pipe would block) is not read.
    if (platform::regularFileProblem(entry.path) != platform::FileProblem::None ||
        !file.open(QIODevice::ReadOnly) || !file.seek(span.start)) {
        return false;
    }
    constexpr qint64 kPiece = 1 << 16;
    qint64 left = span.length;
    while (left > 0) {
        const QByteArray bytes = file.read(std::min(left, kPiece));
        if (bytes.isEmpty()) {
            return false;  // the file shrank since it was indexed
        }
        left -= bytes.size();
        if (!sink(view(bytes))) {
            break;
        }
    }
    return true;
}

std::optional<std::u16string> LibraryIndex::partText(PartRef ref)
{
    std::string bytes;
    if (!readPart(ref, [&](std::string_view piece) {
            bytes += piece;
            return true;
        })) {
        return std::nullopt;
    }
    return pagefile::partText(bytes, m_files[ref.file].index->detected.encoding);
}

std::optional<std::vector<std::u16string>> LibraryIndex::partPreview(PartRef ref,
                                                                     std::size_t maxLines,
                                                                     std::size_t maxChars)
{
    if (ref.file < 0 || ref.file >= m_files.size() || !m_files[ref.file].index) {
        return std::nullopt;
    }
    pagefile::PreviewLines preview(m_files[ref.file].index->detected.encoding, maxLines, maxChars);
    if (!readPart(ref, [&](std::string_view piece) { return preview.feed(piece); })) {
        return std::nullopt;
    }
    return preview.lines();
}

void LibraryIndex::search(const QString& query)
{
    m_query = query;
    m_searchCapped = false;
    if (query.isEmpty()) {
        m_searchWork.cancel();
        return;
    }
    const QVector<LibraryFile> files = m_files;
    const std::u16string needle = grid::foldForSearch(query.toStdU16String());
    m_searchWork.start([this, files, needle](const platform::NewestWins::Run& run) {
        // How often a search looks whether it was cancelled, in parts.
        constexpr std::size_t kCancelCheckParts = 256;
        int total = 0;
        for (int f = 0; f < files.size() && !run.cancelled() && total < kMaxHits; ++f) {
            const LibraryFile& entry = files[f];
            if (!entry.index) {
                continue;
            }
            const std::optional<QByteArray> bytes = readAll(entry.path);
            if (!bytes) {
                continue;
            }
            const pagefile::FileIndex& index = *entry.index;
            QVector<PartRef> hits;
            for (std::size_t p = 0; p < index.count() && total < kMaxHits; ++p) {
                if (p % kCancelCheckParts == kCancelCheckParts - 1 && run.cancelled()) {
                    return;
                }
                const std::optional<std::string_view> span = spanOf(view(*bytes), index.parts[p]);
                if (!span) {
                    break;  // the file shrank since it was indexed
                }
                if (grid::containsFolded(index.name(p), needle) ||
                    grid::containsFolded(pagefile::partText(*span, index.detected.encoding),
                                         needle)) {
                    hits.push_back({f, static_cast<int>(p)});
                    ++total;
                }
            }
            if (!hits.isEmpty()) {
                run.deliver([this, hits] { emit searchHits(hits); });
            }
        }
        const bool capped = total >= kMaxHits;
        run.deliver([this, capped] {
            m_searchCapped = capped;
            emit searchFinished();
        });
    });
}

void LibraryIndex::waitForIdle()
{
    // What one piece of work delivers can start another (indexing ends, the search starts).
    while (!m_indexWork.idle() || !m_reindexWork.idle() || !m_searchWork.idle()) {
        m_indexWork.waitForIdle();
        m_reindexWork.waitForIdle();
        m_searchWork.waitForIdle();
    }
}

}  // namespace masumemo::library
