#include "frmLibrary.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <limits>

#include "grid/LineModel.h"
#include "library/PartsCanvas.h"
#include "platform/Dialogs.h"
#include "platform/FileAccess.h"
#include "platform/ProgramSettings.h"
#include "platform/ToolWindow.h"

namespace masumemo::library {
namespace {

using platform::Dialogs;

constexpr int kFileRole = Qt::UserRole + 1;
constexpr int kRootRole = Qt::UserRole + 2;
constexpr int kDefaultSearchDelay = 250;
/// A preview shows this much of a part; a part of megabyte lines would stall the view.
constexpr int kPreviewLines = 2000;
constexpr int kPreviewLineChars = 2000;

const QString kAddTitle = QStringLiteral("素材に追加");
const QString kPartsFilter = QStringLiteral("MLT・ASTファイル(*.mlt *.ast)|*.mlt *.ast");

QString fromU16(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

void tell(QWidget* parent, const QString& text, Dialogs::Icon icon)
{
    Dialogs::instance().message(parent, text, Dialogs::Buttons::Ok, icon);
}

QPushButton* button(QWidget* parent, const char* name, const char* caption)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QString cleanPath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

frmLibrary::frmLibrary(std::unique_ptr<PartsCanvas> canvas, QWidget* parent)
    : QWidget(parent, Qt::Window), m_canvas(std::move(canvas))
{
    setObjectName(QStringLiteral("frmLibrary"));
    platform::makeToolWindow(*this);
    setWindowTitle(QStringLiteral("AA素材"));
    m_parts = new PartListModel(m_index, this);
    m_files = new QStandardItemModel(this);
    m_watcher = new QFileSystemWatcher(this);
    m_searchTimer = new QTimer(this);
    m_searchTimer->setSingleShot(true);
    m_searchTimer->setInterval(kDefaultSearchDelay);
    buildControls();

    connect(&m_index, &LibraryIndex::filesListed, this, &frmLibrary::showFileList);
    connect(&m_index, &LibraryIndex::fileIndexed, this, &frmLibrary::onFileIndexed);
    connect(&m_index, &LibraryIndex::progress, this, &frmLibrary::showStatus);
    connect(&m_index, &LibraryIndex::indexingFinished, this, [this] {
        // The search under way began before every file was indexed: it starts over on all.
        if (!m_txtSearch->text().isEmpty()) {
            startSearch();
        }
        showStatus();
    });
    connect(&m_index, &LibraryIndex::searchHits, m_parts, &PartListModel::addHits);
    connect(&m_index, &LibraryIndex::searchFinished, this, &frmLibrary::showStatus);
    connect(m_searchTimer, &QTimer::timeout, this, &frmLibrary::startSearch);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
        // A file replaced by renaming drops out of the watch list; watch the new one.
        if (QFileInfo::exists(path)) {
            m_watcher->addPath(path);
        }
        m_index.refreshIfChanged(m_index.fileOf(path));
    });

    takeFolders(platform::openProgramSettings()->value(QLatin1String(kFoldersKey)).toStringList());
    restart();
}

frmLibrary::~frmLibrary() = default;

void frmLibrary::buildControls()
{
    m_txtSearch = new QLineEdit(this);
    m_txtSearch->setObjectName(QStringLiteral("txtSearch"));
    m_txtSearch->setPlaceholderText(QStringLiteral("検索（名前と本文）"));
    m_txtSearch->setClearButtonEnabled(true);
    connect(m_txtSearch, &QLineEdit::textChanged, this, [this] {
        if (m_searchTimer->interval() == 0) {
            startSearch();
        } else {
            m_searchTimer->start();
        }
    });

    m_tvwFiles = new QTreeView(this);
    m_tvwFiles->setObjectName(QStringLiteral("tvwFiles"));
    m_tvwFiles->setModel(m_files);
    m_tvwFiles->setHeaderHidden(true);
    m_tvwFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tvwFiles->setUniformRowHeights(true);
    connect(m_tvwFiles->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmLibrary::onFileChosen);

    m_lstParts = new QListView(this);
    m_lstParts->setObjectName(QStringLiteral("lstParts"));
    m_lstParts->setModel(m_parts);
    m_lstParts->setUniformItemSizes(true);
    m_lstParts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstParts->installEventFilter(this);
    connect(m_lstParts->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmLibrary::onPartChosen);
    connect(m_lstParts, &QListView::doubleClicked, this, &frmLibrary::insertPart);
    // Rows vanish on a reset; the preview follows.
    connect(m_parts, &QAbstractItemModel::modelReset, this, &frmLibrary::onPartChosen);

    m_txtPreview = new QPlainTextEdit(this);
    m_txtPreview->setObjectName(QStringLiteral("txtPreview"));
    m_txtPreview->setReadOnly(true);
    m_txtPreview->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtPreview->setFont(m_canvas->canvasFont());

    QPushButton* folderAdd = button(this, "cmdFolderAdd", "ﾌｫﾙﾀﾞ追加(&F)...");
    QPushButton* folderRemove = button(this, "cmdFolderRemove", "ﾌｫﾙﾀﾞを外す(&R)");
    QPushButton* insert = button(this, "cmdInsert", "挿入(&I)");
    QPushButton* copy = button(this, "cmdCopy", "ｺﾋﾟｰ(&C)");
    QPushButton* open = button(this, "cmdOpen", "新規に開く(&N)");
    QPushButton* add = button(this, "cmdAdd", "素材に追加(&A)...");
    connect(folderAdd, &QPushButton::clicked, this, &frmLibrary::addFolder);
    connect(folderRemove, &QPushButton::clicked, this, &frmLibrary::removeFolder);
    connect(insert, &QPushButton::clicked, this, &frmLibrary::insertPart);
    connect(copy, &QPushButton::clicked, this, &frmLibrary::copyPart);
    connect(open, &QPushButton::clicked, this, &frmLibrary::openPartAsNew);
    connect(add, &QPushButton::clicked, this, &frmLibrary::addToParts);

    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));

    auto* filesSide = new QWidget(this);
    auto* filesLayout = new QVBoxLayout(filesSide);
    filesLayout->setContentsMargins(0, 0, 0, 0);
    filesLayout->addWidget(m_tvwFiles);
    auto* folderButtons = new QHBoxLayout;
    folderButtons->addWidget(folderAdd);
    folderButtons->addWidget(folderRemove);
    filesLayout->addLayout(folderButtons);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(filesSide);
    splitter->addWidget(m_lstParts);
    splitter->addWidget(m_txtPreview);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 1);
    splitter->setStretchFactor(2, 4);

    auto* commands = new QHBoxLayout;
    for (QPushButton* b : {insert, copy, open, add}) {
        commands->addWidget(b);
    }
    commands->addWidget(m_lblStatus, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_txtSearch);
    layout->addWidget(splitter, 1);
    layout->addLayout(commands);
    resize(960, 540);
}

void frmLibrary::setSearchDelay(int ms)
{
    m_searchTimer->setInterval(ms);
}

void frmLibrary::restart()
{
    m_index.setRoots(m_folders + m_sessionRoots);
}

void frmLibrary::takeFolders(const QStringList& stored)
{
    m_folders.clear();
    for (const QString& folder : stored) {
        if (!folder.isEmpty() && !m_folders.contains(cleanPath(folder))) {
            m_folders << cleanPath(folder);
        }
    }
}

void frmLibrary::changeFolders(const QString& added, const QString& removed)
{
    // Applied to the folders as the settings file holds them now, so a folder another copy of
    // the program added or removed meanwhile stays so.
    takeFolders(platform::changeProgramList(QLatin1String(kFoldersKey), [&](QStringList& list) {
        list.removeIf([&](const QString& folder) {
            return !removed.isEmpty() && cleanPath(folder) == removed;
        });
        if (!added.isEmpty() && !list.contains(added)) {
            list << added;
        }
    }));
}

void frmLibrary::openOn(const QString& path)
{
    const QString clean = cleanPath(path);
    if (!m_folders.contains(clean) && !m_sessionRoots.contains(clean)) {
        m_sessionRoots << clean;
        restart();
    }
    m_pendingPath = clean;
    m_pendingPart = -1;
    choosePending();
}

// --- The file list ---------------------------------------------------------------------------

void frmLibrary::unwatch()
{
    if (!m_watcher->files().isEmpty()) {
        m_watcher->removePaths(m_watcher->files());
    }
}

void frmLibrary::showFileList()
{
    unwatch();
    m_files->clear();
    m_fileItems.clear();
    QHash<QString, QStandardItem*> roots;
    for (const QString& root : m_index.roots()) {
        auto* item = new QStandardItem(QDir::toNativeSeparators(root));
        item->setData(-1, kFileRole);
        item->setData(root, kRootRole);
        m_files->appendRow(item);
        roots.insert(root, item);
    }
    for (int i = 0; i < m_index.fileCount(); ++i) {
        const LibraryFile& file = m_index.file(i);
        QStandardItem* root = roots.value(file.root);
        auto* item = new QStandardItem;
        item->setData(i, kFileRole);
        item->setData(file.root, kRootRole);
        if (root) {
            root->appendRow(item);
        }
        m_fileItems.push_back(item);
        showFileState(i);
    }
    m_tvwFiles->expandToDepth(0);
    if (m_txtSearch->text().isEmpty()) {
        m_parts->showFile(-1);
    } else {
        startSearch();
    }
    showStatus();
    choosePending();
}

QStandardItem* frmLibrary::fileItem(int file) const
{
    return file >= 0 && file < m_fileItems.size() ? m_fileItems[file] : nullptr;
}

void frmLibrary::showFileState(int file)
{
    QStandardItem* item = fileItem(file);
    if (!item) {
        return;
    }
    const LibraryFile& entry = m_index.file(file);
    QString caption = QDir::toNativeSeparators(QDir(entry.root).relativeFilePath(entry.path));
    if (caption.isEmpty() || caption == QLatin1String(".")) {
        caption = QFileInfo(entry.path).fileName();
    }
    if (entry.index) {
        caption += QStringLiteral(" (%1)").arg(entry.partCount());
    } else if (!entry.notice.isEmpty()) {
        caption += QStringLiteral(" ×");
    }
    item->setText(caption);
    item->setToolTip(entry.notice.isEmpty() ? QDir::toNativeSeparators(entry.path)
                                            : entry.notice);
}

void frmLibrary::showStatus()
{
    QString text;
    QStringList skipped = m_index.notices();
    if (m_index.indexing()) {
        // Called for every file indexed: no walk over the whole list here.
        text = QStringLiteral("索引を作っています… %1 / %2 ファイル")
                   .arg(m_index.indexedCount())
                   .arg(m_index.fileCount());
    } else {
        long long parts = 0;
        for (int i = 0; i < m_index.fileCount(); ++i) {
            const LibraryFile& file = m_index.file(i);
            parts += file.partCount();
            if (!file.notice.isEmpty()) {
                skipped << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file.path),
                                                         file.notice);
            }
        }
        text = QStringLiteral("%1 ファイル・%2 個").arg(m_index.fileCount()).arg(parts);
    }
    if (m_parts->showsHits()) {
        text += m_index.searchCapped()
                    ? QStringLiteral("　検索: %1 件以上").arg(LibraryIndex::kMaxHits)
                    : QStringLiteral("　検索: %1 件").arg(m_parts->rowCount());
    }
    if (!skipped.isEmpty()) {
        text += QStringLiteral("　読めないもの %1 件").arg(skipped.size());
    }
    m_lblStatus->setText(text);
    m_lblStatus->setToolTip(skipped.join(QLatin1Char('\n')));
}

void frmLibrary::onFileIndexed(int file)
{
    showFileState(file);
    if (!m_index.indexing()) {
        showStatus();  // a file read again: its count changed
    }
    const PartRef shown = currentPart();
    m_parts->fileChanged(file);
    if (shown.file == file && !m_parts->showsHits()) {
        choosePart(shown.part < m_parts->rowCount() ? shown.part : -1);
    }
    choosePending();
}

void frmLibrary::chooseFile(int file)
{
    if (QStandardItem* item = fileItem(file)) {
        m_tvwFiles->setCurrentIndex(item->index());
    }
}

int frmLibrary::chosenFile() const
{
    const QVariant file = m_tvwFiles->currentIndex().data(kFileRole);
    return file.isValid() ? file.toInt() : -1;
}

void frmLibrary::onFileChosen()
{
    const int file = chosenFile();
    unwatch();
    if (file >= 0 && file < m_index.fileCount()) {
        m_watcher->addPath(m_index.file(file).path);
        m_index.refreshIfChanged(file);
    }
    if (m_txtSearch->text().isEmpty()) {
        m_parts->showFile(file);
    }
}

void frmLibrary::choosePending()
{
    if (m_pendingPath.isEmpty()) {
        return;
    }
    for (int r = 0; r < m_files->rowCount(); ++r) {
        if (m_files->item(r)->data(kRootRole).toString() == m_pendingPath &&
            QFileInfo(m_pendingPath).isDir()) {
            m_tvwFiles->setCurrentIndex(m_files->item(r)->index());
            m_pendingPath.clear();
            return;
        }
    }
    const int file = m_index.fileOf(m_pendingPath);
    if (file < 0 || (!m_index.file(file).index && m_index.indexing()) || m_index.reindexing(file)) {
        return;
    }
    const int part = m_pendingPart;
    m_pendingPath.clear();
    chooseFile(file);
    if (part >= 0) {
        choosePart(std::min(part, m_parts->rowCount() - 1));
    }
}

// --- Parts -----------------------------------------------------------------------------------

PartRef frmLibrary::currentPart() const
{
    return m_parts->partAt(m_lstParts->currentIndex().row());
}

void frmLibrary::choosePart(int row)
{
    m_lstParts->setCurrentIndex(m_parts->index(row, 0));
}

void frmLibrary::onPartChosen()
{
    const PartRef ref = currentPart();
    const bool chosen = ref.file >= 0;
    for (const char* name : {"cmdInsert", "cmdCopy", "cmdOpen"}) {
        findChild<QPushButton*>(QLatin1String(name))->setEnabled(chosen);
    }
    m_txtPreview->setFont(m_canvas->canvasFont());
    if (!chosen) {
        m_txtPreview->clear();
        return;
    }
    const auto lines = m_index.partPreview(ref, kPreviewLines, kPreviewLineChars);
    QStringList shown;
    for (const std::u16string& line : lines.value_or(std::vector<std::u16string>{})) {
        shown << fromU16(line);
    }
    m_txtPreview->setPlainText(shown.join(QLatin1Char('\n')));
}

void frmLibrary::startSearch()
{
    m_searchTimer->stop();
    const QString query = m_txtSearch->text();
    if (query.isEmpty()) {
        m_index.search(QString());
        m_parts->showFile(chosenFile());
    } else {
        m_parts->showHits();
        m_index.search(query);
    }
    showStatus();
}

std::optional<std::u16string> frmLibrary::chosenText()
{
    const PartRef ref = currentPart();
    if (ref.file < 0) {
        return std::nullopt;
    }
    std::optional<std::u16string> text = m_index.partText(ref);
    if (!text) {
        tell(this, QStringLiteral("この素材を読めませんでした。ファイルが変わったか、なくなっています。"),
             Dialogs::Icon::Warning);
    }
    return text;
}

void frmLibrary::insertPart()
{
    if (const auto text = chosenText()) {
        m_canvas->layOver(*text);
    }
}

void frmLibrary::copyPart()
{
    if (const auto text = chosenText()) {
        QGuiApplication::clipboard()->setText(fromU16(grid::lineEndsAs(*text, u"\n")));
    }
}

void frmLibrary::openPartAsNew()
{
    // A part of an MLT or AST file opens that file as its pages, this part's shown.
    const PartRef ref = currentPart();
    if (ref.file >= 0 && m_index.file(ref.file).format != pagefile::PartsFormat::Txt) {
        m_canvas->openFile(m_index.file(ref.file).path, ref.part);
        return;
    }
    if (const auto text = chosenText()) {
        // As a file holds it, every line ended: a last empty line is a line of the canvas.
        m_canvas->openAsNew(text->empty() ? *text : *text + u"\r\n");
    }
}

void frmLibrary::addToParts()
{
    pagefile::Part part{u"", pagefile::linesForPart(m_canvas->selectionOrCanvas())};
    if (part.lines.empty()) {
        tell(this, QStringLiteral("キャンバスが空なので、追加するものがありません。"),
             Dialogs::Icon::Information);
        return;
    }
    const PartRef shown = currentPart();
    QString offered;
    if (shown.file >= 0 && m_index.file(shown.file).format != pagefile::PartsFormat::Txt) {
        offered = m_index.file(shown.file).path;
    }
    const QString path =
        Dialogs::instance().openFileName(this, {kAddTitle, kPartsFilter, offered});
    if (path.isEmpty()) {
        return;
    }
    const auto format = pagefile::formatOfName(QFileInfo(path).fileName().toStdString());
    if (!format || *format == pagefile::PartsFormat::Txt) {
        tell(this, QStringLiteral("素材は MLT か AST のファイルに追加します。"),
             Dialogs::Icon::Warning);
        return;
    }
    if (*format == pagefile::PartsFormat::Ast) {
        const std::optional<QString> name =
            Dialogs::instance().askText(this, QStringLiteral("素材の名前："), QString());
        if (!name) {
            return;
        }
        part.name = name->toStdU16String();
    }
    if (!appendPart(path, *format, part)) {
        return;
    }
    const QString clean = cleanPath(path);
    m_pendingPath = clean;
    m_pendingPart = std::numeric_limits<int>::max();
    if (const int file = m_index.fileOf(clean); file >= 0) {
        m_txtSearch->clear();
        m_index.reindex(file);
        return;
    }
    // A new file in a folder already listed is found there; one elsewhere joins the
    // collection on its own, so the new part can be seen at once.
    const bool listed =
        std::any_of(m_index.roots().cbegin(), m_index.roots().cend(),
                    [&](const QString& root) { return clean.startsWith(root + QLatin1Char('/')); });
    if (!listed) {
        changeFolders(clean, {});
    }
    restart();
}

bool frmLibrary::appendPart(const QString& path, pagefile::PartsFormat format,
                            const pagefile::Part& part)
{
    // Appended, never rewritten, so another program adding to the file loses nothing; when the
    // file changed between reading it and appending, it is read again.
    // At least this many tries, and more for a while: a writer in a burst of appends (a script
    // filling the file) leaves gaps, which a busy machine may need many tries to meet.
    constexpr int kTries = 20;
    QElapsedTimer trying;
    trying.start();
    for (int attempt = 0; attempt < kTries || trying.elapsed() < 2000; ++attempt) {
        if (attempt > 0) {
            QThread::yieldCurrentThread();
        }
        platform::FileBytes existing;
        if (platform::regularFileProblem(path) != platform::FileProblem::NotFound) {
            existing = platform::readRegularFile(path, kMaxIndexedFileBytes);
            if (existing.problem != platform::FileProblem::None) {
                tell(this,
                     QStringLiteral("ファイルを読めませんでした。\n%1\n\n%2")
                         .arg(path, platform::problemText(existing.problem)),
                     Dialogs::Icon::Critical);
                return false;
            }
        }
        const std::optional<std::string> bytes = pagefile::bytesToAppend(
            std::string_view(existing.bytes.constData(),
                             static_cast<std::size_t>(existing.bytes.size())),
            format, part);
        if (!bytes) {
            tell(this, QStringLiteral("このファイルには追加できません（NUL文字を含んでいます）。"),
                 Dialogs::Icon::Warning);
            return false;
        }
        bool changed = false;
        const platform::FileProblem problem =
            platform::appendToFile(path, *bytes, existing.bytes.size(), &changed);
        if (problem != platform::FileProblem::None) {
            tell(this,
                 QStringLiteral("ファイルに書き込めませんでした。\n%1\n\n%2")
                     .arg(path, platform::problemText(problem)),
                 Dialogs::Icon::Critical);
            return false;
        }
        if (!changed) {
            return true;
        }
    }
    tell(this,
         QStringLiteral("ファイルが書き換えられ続けているので、追加できませんでした。\n%1")
             .arg(path),
         Dialogs::Icon::Warning);
    return false;
}

void frmLibrary::addFolder()
{
    const QString folder = Dialogs::instance().folderName(
        this, QStringLiteral("AA素材のフォルダ"), m_folders.isEmpty() ? QString() : m_folders.last());
    if (folder.isEmpty()) {
        return;
    }
    const QString clean = cleanPath(folder);
    if (!m_folders.contains(clean)) {
        changeFolders(clean, {});
        m_sessionRoots.removeAll(clean);
        restart();
    }
}

void frmLibrary::removeFolder()
{
    const QString root = m_tvwFiles->currentIndex().data(kRootRole).toString();
    if (root.isEmpty()) {
        return;
    }
    changeFolders({}, root);
    m_sessionRoots.removeAll(root);
    restart();
}

bool frmLibrary::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lstParts && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            insertPart();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace masumemo::library
