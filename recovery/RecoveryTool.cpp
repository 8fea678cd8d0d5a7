#include "RecoveryTool.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFont>
#include <QWidget>

#include <utility>

#include "document/Document.h"
#include "host/ToolHost.h"
#include "platform/Dialogs.h"
#include "recovery/frmRecovery.h"

namespace masumemo::recovery {
namespace {

using platform::Dialogs;

/// What the list says of a snapshot it cannot restore.
QString problemText(SnapshotRead::Status status)
{
    switch (status) {
        case SnapshotRead::Status::CutOff:
            return QStringLiteral("途中で切れています");
        case SnapshotRead::Status::NewerVersion:
            return QStringLiteral("新しい版のMasumemoで書かれています");
        case SnapshotRead::Status::TooLarge:
            return QStringLiteral("大きすぎます");
        case SnapshotRead::Status::Unreadable:
        case SnapshotRead::Status::Ok:
            break;
    }
    return QStringLiteral("壊れていて読めません");
}

QString timeText(long long ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toLocalTime().toString(
        QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

frmRecovery::Row rowOf(const FoundSnapshot& found)
{
    frmRecovery::Row row;
    row.instance = found.instance;
    if (found.read.status != SnapshotRead::Status::Ok) {
        row.name = QStringLiteral("（読めない復元データ）");
        row.time = timeText(found.fileTimeMs);
        row.preview = problemText(found.read.status);
        return row;
    }
    const Snapshot& snap = found.read.snapshot;
    row.restorable = true;
    row.path = QString::fromStdU16String(snap.path);
    row.name = row.path.isEmpty() ? QStringLiteral("住所不定") : QFileInfo(row.path).fileName();
    row.time = timeText(snap.timeMs);
    QStringList lines;
    for (const std::u16string& line :
         previewLines(snap.pages[static_cast<size_t>(snap.current)].text)) {
        lines << QString::fromStdU16String(line);
    }
    row.preview = lines.join(QLatin1Char('\n'));
    return row;
}

// How the document's names of line ends and formats stand in a snapshot; the first pair is
// what anything unknown becomes.
constexpr std::pair<document::LineEnds, Snapshot::LineEnds> kLineEnds[] = {
    {document::LineEnds::CrLf, Snapshot::LineEnds::CrLf},
    {document::LineEnds::Lf, Snapshot::LineEnds::Lf},
    {document::LineEnds::Cr, Snapshot::LineEnds::Cr},
};
constexpr std::pair<document::FileForm::Format, Snapshot::Format> kFormats[] = {
    {document::FileForm::Format::Text, Snapshot::Format::Text},
    {document::FileForm::Format::Mlt, Snapshot::Format::Mlt},
    {document::FileForm::Format::Ast, Snapshot::Format::Ast},
};

template <typename Document, typename Stored, size_t N>
Stored stored(const std::pair<Document, Stored> (&table)[N], Document value)
{
    for (const auto& [d, s] : table) {
        if (d == value) {
            return s;
        }
    }
    return table[0].second;
}

template <typename Document, typename Stored, size_t N>
Document restored(const std::pair<Document, Stored> (&table)[N], Stored value)
{
    for (const auto& [d, s] : table) {
        if (s == value) {
            return d;
        }
    }
    return table[0].first;
}

void tell(QWidget* parent, const QString& text)
{
    Dialogs::instance().message(parent, text, Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
}

}  // namespace

RecoveryTool::RecoveryTool(host::ToolHost& host, QObject* parent)
    : RecoveryTool(host, programSetup(), parent)
{
    static bool offered = false;
    if (m_store && !offered) {
        offered = true;
        // Once the window that opens this tool is up, and whatever the command line opened is in it.
        QTimer::singleShot(0, this, [this] { offer(); });
    }
}

RecoveryTool::RecoveryTool(host::ToolHost& host, const RecoverySetup& setup, QObject* parent)
    : QObject(parent), m_host(host), m_schedule(setup.timing)
{
    if (setup.folder.isEmpty()) {
        return;
    }
    m_store = std::make_unique<SnapshotStore>(setup.folder);
    if (!m_store->ok()) {
        m_store.reset();
        return;
    }
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryTool::snapshotNow);
    document::Document& doc = m_host.document();
    connect(&doc, &document::Document::changed, this, &RecoveryTool::changed);
    connect(&doc, &document::Document::modifiedChanged, this, &RecoveryTool::modifiedChanged);
}

RecoveryTool::~RecoveryTool()
{
    if (m_store) {
        m_store->remove();
        m_store->waitForIdle();
    }
}

void RecoveryTool::changed()
{
    m_schedule.changed(m_now());
    armTimer();
}

void RecoveryTool::modifiedChanged(bool modified)
{
    if (modified) {
        changed();
        return;
    }
    // Saved, or given up at the save question: nothing is left to keep.
    m_schedule.cleared();
    m_timer.stop();
    m_store->remove();
}

void RecoveryTool::armTimer()
{
    const std::optional<Clock::time_point> due = m_schedule.due();
    if (!due) {
        m_timer.stop();
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - m_now());
    m_timer.start(std::max<std::chrono::milliseconds>(wait, std::chrono::milliseconds(0)));
}

void RecoveryTool::snapshotNow()
{
    m_timer.stop();
    if (!m_store || !m_schedule.pending()) {
        return;
    }
    m_schedule.written();
    if (!m_host.document().modified()) {
        return;
    }
    // Copying the shown pages' text is all the window's thread does; pages never shown are
    // read from the file, and everything encoded and written, on the store's thread.
    m_store->write([taken = std::make_shared<Taken>(takeSnapshot())] { return taken->bytes(); });
}

RecoveryTool::Taken RecoveryTool::takeSnapshot() const
{
    const document::Document& doc = m_host.document();
    Taken taken;
    Snapshot& snap = taken.snapshot;
    snap.timeMs = QDateTime::currentMSecsSinceEpoch();
    snap.path = doc.path().toStdU16String();
    snap.form = doc.form();
    snap.lineEnds = stored(kLineEnds, doc.form().lineEnds);
    snap.format = stored(kFormats, doc.form().format);
    const QFont font = m_host.canvas().font();
    snap.fontFamily = font.family().toStdU16String();
    snap.fontPixels = font.pixelSize();
    snap.current = doc.currentIndex();
    for (int i = 0; i < doc.pageCount(); ++i) {
        const document::Page& page = doc.pageAt(i);
        snap.pages.push_back({page.name, {}, page.keta, page.gyou, page.caret});
        taken.texts.push_back(doc.pageTextReader(i));
    }
    return taken;
}

std::string RecoveryTool::Taken::bytes()
{
    for (size_t i = 0; i < texts.size(); ++i) {
        snapshot.pages[i].text = texts[i]();
    }
    return snapshotBytes(snapshot);
}

frmRecovery* RecoveryTool::offer()
{
    if (!m_store) {
        return nullptr;
    }
    std::vector<frmRecovery::Row> rows;
    for (const FoundSnapshot& found : m_store->ownerless()) {
        rows.push_back(rowOf(found));
    }
    if (rows.empty()) {
        return nullptr;
    }
    auto* window = new frmRecovery(
        m_host.window(), rows, [this](const QString& instance) { return restore(instance); },
        [this](const QString& instance) { return discard(instance); });
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::WindowModal);
    window->show();
    return window;
}

bool RecoveryTool::restore(const QString& instance)
{
    QWidget* parent = m_host.window();
    const std::unique_ptr<SnapshotStore::Claim> claim = m_store->claim(instance);
    if (!claim) {
        tell(parent, QStringLiteral("この絵は、ほかのMasumemoが使っています。"));
        return false;
    }
    const SnapshotRead read = claim->read();
    if (read.status != SnapshotRead::Status::Ok) {
        tell(parent, QStringLiteral("復元データを読めませんでした。\n%1").arg(problemText(read.status)));
        return false;
    }
    const Snapshot& snap = read.snapshot;
    const bool opened = m_host.canvas().openDocument([&snap](document::Document& doc) {
        std::vector<document::Page> pages;
        for (const SnapshotPage& p : snap.pages) {
            document::Page page;
            page.text = p.text;
            page.keta = p.keta;
            page.gyou = p.gyou;
            page.caret = p.caret;
            page.name = p.name;
            pages.push_back(std::move(page));
        }
        document::FileForm form;
        static_cast<grid::CanvasFileForm&>(form) = snap.form;
        form.lineEnds = restored(kLineEnds, snap.lineEnds);
        form.format = restored(kFormats, snap.format);
        doc.adopt(std::move(pages), snap.current, QString::fromStdU16String(snap.path), form);
    });
    if (!opened) {
        return false;
    }
    // The picture is in this instance now: its own snapshot holds it before the old one goes,
    // so a crash in between loses nothing.
    m_schedule.written();
    m_timer.stop();
    if (!m_store->writeNow(takeSnapshot().bytes())) {
        return true;  // the old snapshot stays, offered again should this instance end badly
    }
    claim->removeAll();
    return true;
}

bool RecoveryTool::discard(const QString& instance)
{
    QWidget* parent = m_host.window();
    if (Dialogs::instance().message(
            parent, QStringLiteral("選んだ復元データを破棄しますか？\n破棄した絵は元に戻せません。"),
            Dialogs::Buttons::YesNo, Dialogs::Icon::Question) != Dialogs::Answer::Yes) {
        return false;
    }
    const std::unique_ptr<SnapshotStore::Claim> claim = m_store->claim(instance);
    if (!claim) {
        tell(parent, QStringLiteral("この絵は、ほかのMasumemoが使っています。"));
        return false;
    }
    claim->removeAll();
    return true;
}

}  // namespace masumemo::recovery
