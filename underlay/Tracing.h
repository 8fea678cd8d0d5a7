#pragma once
// Tracing: an underlay picture under the canvas to draw over. A tool of the editor: it owns the
// layer, reads the picture off the GUI thread, keeps its settings in the program's own file and
// adds its entries to the View menu. It only ever paints: the canvas text, its history, files, the clipboard
// and exported pictures never see it.

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

#include "UnderlayLayer.h"
#include "platform/NewestWins.h"

class QAction;
class QWidget;

namespace masumemo::host {
class ToolHost;
}

namespace masumemo::underlay {

class UnderlayWindow;
struct DecodedUnderlay;

class Tracing : public QObject
{
    Q_OBJECT
public:
    /// Restores the last picture (quietly nothing when its file is gone) under the host's
    /// canvas and adds "下絵を開く(&O)...", "下絵を表示(&T)", "下絵を閉じる(&C)" and
    /// "下絵の調整(&D)..." at the end of the View menu. The host's window is the parent of the
    /// dialogs and of the adjusting window.
    Tracing(host::ToolHost& host, QObject* parent);
    ~Tracing() override;

    /// Reads `path` off the GUI thread; on success it replaces the picture with the opening
    /// placement, on failure it says why and changes nothing. loadFinished tells which.
    void open(const QString& path);
    /// Asks for a file and opens it.
    void chooseAndOpen();
    void setShown(bool shown);
    void close();
    void setPlacement(const UnderlayPlacement& p);
    void setAligning(bool on);
    void showAdjustWindow();

    bool hasPicture() const { return m_layer.hasPicture(); }
    bool isShown() const { return m_layer.isShown(); }
    bool isAligning() const { return m_layer.isAligning(); }
    bool isReading() const { return m_reading; }
    const UnderlayPlacement& placement() const { return m_layer.placement(); }
    const QString& path() const { return m_path; }
    const UnderlayLayer& layer() const { return m_layer; }
    UnderlayWindow* adjustWindow() const;

    /// Tests decode through decode instead (called off the GUI thread); empty: the real one.
    static void setDecodeForTesting(std::function<DecodedUnderlay(const QString&, int)> decode);

signals:
    /// The picture, its placement, or whether it is shown changed.
    void changed();
    void loadFinished(bool ok);

private:
    enum class Purpose { Open, Restore, Rescale };
    void read(const QString& path, int scale, Purpose purpose);
    void readDone(const DecodedUnderlay& result, const QString& path, int scale, Purpose purpose);
    /// Decodes again when the kept picture is not at the size the scale wants.
    void rescaleIfNeeded();
    void afterChange();
    void save() const;
    void restore();
    void addMenuEntries(host::ToolHost& host);

    /// Null once the canvas has gone.
    host::CanvasLayers* m_canvas;
    QWidget* m_window;
    UnderlayLayer m_layer;
    QString m_path;
    QPointer<UnderlayWindow> m_adjust;
    QAction* m_show = nullptr;
    QAction* m_close = nullptr;
    QAction* m_adjustAction = nullptr;
    bool m_reading = false;
    /// Only the latest read is wanted: a finished read that is not the latest is dropped. A
    /// decode cannot stop half-way and reads only its own copies, so closing the editor lets
    /// it finish unseen instead of waiting for it.
    platform::NewestWins m_reads{nullptr, platform::NewestWins::AtEnd::LetRun};
    /// The last read that failed, by path and scale: not tried again until either changes.
    QString m_failedPath;
    int m_failedScale = 0;
    /// The picture whose failed re-read the user has been told of: told once.
    QString m_toldPath;
};

}  // namespace masumemo::underlay
