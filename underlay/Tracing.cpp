#include "Tracing.h"

#include <QAction>
#include <QFileInfo>
#include <QImageReader>

#include "UnderlayImage.h"
#include "UnderlayWindow.h"
#include "host/ToolHost.h"
#include "platform/Dialogs.h"
#include "platform/ProgramSettings.h"
#include "platform/WindowPlacement.h"

namespace masumemo::underlay {

namespace {

using platform::Dialogs;

const QString kGroup = QStringLiteral("Underlay/");

std::function<DecodedUnderlay(const QString&, int)>& decodeHook()
{
    static std::function<DecodedUnderlay(const QString&, int)> hook;
    return hook;
}

}  // namespace

Tracing::Tracing(host::ToolHost& host, QObject* parent)
    : QObject(parent), m_canvas(&host.layers()), m_window(host.window())
{
    setObjectName(QStringLiteral("Tracing"));
    // Every image read in the program stays under the same ceiling as the underlay's. Set
    // once, before any read: the readers on other threads look at it.
    static const bool limited = [] {
        QImageReader::setAllocationLimit(static_cast<int>(kDecodeLimitBytes / (1024 * 1024)));
        return true;
    }();
    Q_UNUSED(limited);
    m_layer.moved = [this] { afterChange(); };
    // A drag saves where it ends, not at every step on the way.
    m_layer.dropped = [this] { save(); };
    m_layer.closed = [this] { m_canvas = nullptr; };
    m_canvas->addLayer(&m_layer);
    restore();
    addMenuEntries(host);
}

Tracing::~Tracing()
{
    // The window speaks to this object as it goes; it must go first.
    delete m_adjust.data();
    if (m_canvas != nullptr) {
        m_canvas->removeLayer(&m_layer);
    }
}

void Tracing::setDecodeForTesting(std::function<DecodedUnderlay(const QString&, int)> decode)
{
    decodeHook() = std::move(decode);
}

UnderlayWindow* Tracing::adjustWindow() const
{
    return m_adjust;
}

void Tracing::addMenuEntries(host::ToolHost& host)
{
    const host::MenuPlace view{QStringLiteral("mnuView")};
    host.addAction(view, QStringLiteral("mnuUnderlayBar"), QString());
    const auto item = [&](const char* name, const QString& caption) {
        return host.addAction(view, QLatin1String(name), caption);
    };
    connect(item("mnuUnderlayOpen", QStringLiteral("下絵を開く(&O)...")), &QAction::triggered,
            this, &Tracing::chooseAndOpen);
    m_show = item("mnuUnderlayShow", QStringLiteral("下絵を表示(&T)"));
    m_show->setCheckable(true);
    connect(m_show, &QAction::triggered, this, &Tracing::setShown);
    m_close = item("mnuUnderlayClose", QStringLiteral("下絵を閉じる(&C)"));
    connect(m_close, &QAction::triggered, this, &Tracing::close);
    m_adjustAction = item("mnuUnderlayAdjust", QStringLiteral("下絵の調整(&D)..."));
    connect(m_adjustAction, &QAction::triggered, this, &Tracing::showAdjustWindow);
    afterChange();
}

void Tracing::chooseAndOpen()
{
    const QString path = Dialogs::instance().openFileName(
        m_window, {QStringLiteral("下絵を開く"), underlayFileFilter(), m_path});
    if (!path.isEmpty()) {
        open(path);
    }
}

void Tracing::open(const QString& path)
{
    read(path, UnderlayPlacement{}.scale, Purpose::Open);
}

void Tracing::setShown(bool shown)
{
    m_layer.setShown(shown);
    afterChange();
}

void Tracing::close()
{
    m_reads.cancel();  // a read under way no longer matters
    m_reading = false;
    m_layer.clearPicture();
    m_layer.setAligning(false);
    m_path.clear();
    afterChange();
}

void Tracing::setPlacement(const UnderlayPlacement& p)
{
    if (clamped(p) == m_layer.placement()) {
        return;
    }
    m_layer.setPlacement(p);
    rescaleIfNeeded();
    afterChange();
}

void Tracing::setAligning(bool on)
{
    m_layer.setAligning(on && hasPicture());
    if (m_canvas != nullptr) {
        m_canvas->updateLayers();  // the pointer shows the mode at once
    }
    emit changed();
}

void Tracing::showAdjustWindow()
{
    if (!m_adjust) {
        m_adjust = new UnderlayWindow(*this, m_window);
        m_adjust->adjustSize();
        platform::placeBesideOwner(*m_adjust, *m_window);
    }
    m_adjust->show();
    m_adjust->raise();
    m_adjust->activateWindow();
}

// --- Reading -----------------------------------------------------------------------------

void Tracing::read(const QString& path, int scale, Purpose purpose)
{
    m_reading = true;
    const std::function<DecodedUnderlay(const QString&, int)> decode =
        decodeHook() ? decodeHook() : decodeUnderlay;
    // The work reads only its copies; this object is reached only on the GUI thread, through
    // the delivery, which never arrives once it has gone.
    m_reads.start([this, path, scale, purpose, decode](const platform::NewestWins::Run& run) {
        DecodedUnderlay result = decode(path, scale);
        run.deliver([this, result = std::move(result), path, scale, purpose] {
            m_reading = false;
            readDone(result, path, scale, purpose);
        });
    });
}

void Tracing::readDone(const DecodedUnderlay& result, const QString& path, int scale,
                       Purpose purpose)
{
    if (!result.error.isEmpty()) {
        if (purpose == Purpose::Open) {
            Dialogs::instance().message(
                m_window, QStringLiteral("画像を開けませんでした。\n%1\n\n%2").arg(path, result.error),
                Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
            emit loadFinished(false);
        } else if (purpose == Purpose::Rescale) {
            // The picture shown stays, at its old sharpness; reading it again would fail again.
            m_failedPath = path;
            m_failedScale = scale;
            if (m_toldPath != path) {
                m_toldPath = path;
                Dialogs::instance().message(
                    m_window,
                    QStringLiteral("下絵の画像を読み直せませんでした。今の大きさのまま表示します。"
                                   "\n%1\n\n%2")
                        .arg(path, result.error),
                    Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
            }
        }
        rescaleIfNeeded();  // this read may have displaced one for the current scale
        return;
    }
    if (purpose == Purpose::Open) {
        m_layer.setPlacement(UnderlayPlacement{});
        m_layer.setShown(true);
        m_path = path;
    }
    m_layer.setPicture(result.image, result.natural);
    afterChange();
    rescaleIfNeeded();
    if (purpose == Purpose::Open) {
        emit loadFinished(true);
    }
}

void Tracing::rescaleIfNeeded()
{
    if (!hasPicture() || m_reading) {
        return;  // a read under way looks again when it is done
    }
    const int scale = m_layer.placement().scale;
    if (m_path == m_failedPath && scale == m_failedScale) {
        return;
    }
    const PixelSize want = keptSize(m_layer.natural(), scale);
    if (want.width != m_layer.kept().width() || want.height != m_layer.kept().height()) {
        read(m_path, scale, Purpose::Rescale);
    }
}

// --- State -------------------------------------------------------------------------------

void Tracing::afterChange()
{
    const bool picture = hasPicture();
    if (m_show != nullptr) {
        m_show->setEnabled(picture);
        m_show->setChecked(picture && m_layer.isShown());
        m_close->setEnabled(picture);
        m_adjustAction->setEnabled(picture);
    }
    if (!picture || !m_layer.isShown()) {
        m_layer.setAligning(false);
    }
    if (m_canvas != nullptr) {
        m_canvas->updateLayers();
    }
    if (!m_layer.isDragging()) {
        save();
    }
    emit changed();
}

void Tracing::save() const
{
    if (!hasPicture() && m_path.isEmpty()) {
        // Nothing open: nothing to restore. A restore still reading keeps its entries.
        if (!m_reading) {
            platform::openProgramSettings()->remove(QStringLiteral("Underlay"));
        }
        return;
    }
    const auto settings = platform::openProgramSettings();
    const UnderlayPlacement& p = m_layer.placement();
    settings->setValue(kGroup + QStringLiteral("Path"), m_path);
    settings->setValue(kGroup + QStringLiteral("Opacity"), p.opacity);
    settings->setValue(kGroup + QStringLiteral("Scale"), p.scale);
    settings->setValue(kGroup + QStringLiteral("X"), p.x);
    settings->setValue(kGroup + QStringLiteral("Y"), p.y);
    settings->setValue(kGroup + QStringLiteral("Shown"), m_layer.isShown());
}

void Tracing::restore()
{
    const auto settings = platform::openProgramSettings();
    const QString path = settings->value(kGroup + QStringLiteral("Path")).toString();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        return;  // gone: nothing shown, nothing asked, the entries wait for the next open
    }
    const UnderlayPlacement defaults;
    const auto number = [&settings](const char* key, int fallback, int low, int high) {
        return platform::readInt(*settings, kGroup + QLatin1String(key), fallback, low, high);
    };
    m_layer.setPlacement({number("Opacity", defaults.opacity, kMinOpacity, kMaxOpacity),
                          number("Scale", defaults.scale, kMinScale, kMaxScale),
                          number("X", 0, -kMaxOffset, kMaxOffset),
                          number("Y", 0, -kMaxOffset, kMaxOffset)});
    m_layer.setShown(platform::readBool(*settings, kGroup + QStringLiteral("Shown"), true));
    m_path = path;
    read(path, m_layer.placement().scale, Purpose::Restore);
}

}  // namespace masumemo::underlay
