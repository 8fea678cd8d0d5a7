// The underlay through the editor window's own menu entries and the "下絵" window: it lies
// under the canvas where it is put, and the canvas text, its history and the clipboard never
// see it; its settings come back with the next window; bad files change nothing.

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QSemaphore>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include <atomic>

#include "ScriptedDialogs.h"
#include "editor/CanvasWidget.h"
#include "editor/frmMain.h"
#include "platform/AppPaths.h"
#include "platform/ProgramSettings.h"
#include "underlay/Tracing.h"
#include "underlay/UnderlayImage.h"
#include "underlay/UnderlayWindow.h"

using namespace masumemo;
using editor::frmMain;
using underlay::Tracing;
using underlay::UnderlayPlacement;

namespace {

const QColor kBlue(0, 0, 255);

QByteArray pngChunk(const char* type, const QByteArray& data)
{
    QByteArray chunk = QByteArray(type, 4) + data;
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : chunk) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << quint32(data.size());
    out += chunk;
    QDataStream tail(&out, QIODevice::Append);
    tail << (crc ^ 0xFFFFFFFFu);
    return out;
}

/// A well-formed PNG declaring a picture of w x h, without its pixels.
QByteArray hugePngHeader(quint32 w, quint32 h)
{
    QByteArray ihdr;
    QDataStream s(&ihdr, QIODevice::WriteOnly);
    s << w << h << quint8(8) << quint8(2) << quint8(0) << quint8(0) << quint8(0);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) + pngChunk("IDAT", {}) +
           pngChunk("IEND", {});
}

bool colourNear(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

}  // namespace

class TestTracing : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
        m_blue = m_dir->filePath(QStringLiteral("blue.png"));
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(kBlue);
        QVERIFY(picture.save(m_blue));
        newWindow();
    }
    void cleanup()
    {
        m_window.reset();
        platform::AppPaths::setProgramDirectoryForTesting(QString());
        m_dir.reset();
    }

    void openAdjustHideAndCloseLeaveTheCanvasAlone()
    {
        frmMain& w = *m_window;
        editor::CanvasWidget& canvas = *w.txtMain();
        QTest::keyClicks(&canvas, "ab");
        QTest::keyRelease(&canvas, Qt::Key_B);
        const std::u16string text = w.canvas().text();
        const auto history = w.canvas().history().entries();
        const int caret = canvas.selectionStart();

        QVERIFY(!action("mnuUnderlayShow")->isEnabled());
        QVERIFY(open(m_blue));
        QCOMPARE(tracing().placement(), UnderlayPlacement{});
        QVERIFY(action("mnuUnderlayShow")->isChecked());
        QCOMPARE(tracing().layer().shownRect(), QRect(0, 0, 60, 40));

        // Solid blue at half opacity over white, the letters drawn over it, white beyond it.
        const QRect cells = canvas.textRect(0, 0, 2);
        QImage shot = canvas.viewport()->grab().toImage();
        const QPoint origin = canvas.cursorRect(QTextCursor(canvas.document())).topLeft();
        QVERIFY(colourNear(shot.pixelColor(origin + QPoint(50, 30)), QColor(127, 127, 255)));
        QVERIFY(colourNear(shot.pixelColor(origin + QPoint(62, 30)), Qt::white));
        QVERIFY(colourNear(shot.pixelColor(origin + QPoint(50, 42)), Qt::white));
        int dark = 0;
        for (int y = 0; y < cells.height(); ++y) {
            for (int x = 0; x < cells.width(); ++x) {
                dark += shot.pixelColor(origin + QPoint(x, y)).lightness() < 90 ? 1 : 0;
            }
        }
        QVERIFY(dark > 5);

        action("mnuUnderlayAdjust")->trigger();
        underlay::UnderlayWindow* adjust = tracing().adjustWindow();
        QVERIFY(adjust != nullptr && adjust->isVisible());
        QCOMPARE(adjust->windowTitle(), QStringLiteral("下絵"));
        box(adjust, "spnOpacity")->setValue(80);
        box(adjust, "spnScale")->setValue(200);
        box(adjust, "spnX")->setValue(5);
        box(adjust, "spnY")->setValue(7);
        QCOMPARE(tracing().placement(), (UnderlayPlacement{80, 200, 5, 7}));
        QCOMPARE(tracing().layer().shownRect(), QRect(5, 7, 120, 80));
        shot = canvas.viewport()->grab().toImage();
        QVERIFY(colourNear(shot.pixelColor(origin + QPoint(120, 80)), QColor(51, 51, 255)));
        // Below its own size the picture is decoded again at the size it is shown.
        box(adjust, "spnScale")->setValue(50);
        QTRY_COMPARE(tracing().layer().kept().size(), QSize(30, 20));

        // Aligning: a drag and the arrow keys move the picture, not the caret or selection.
        auto* align = adjust->findChild<QCheckBox*>(QStringLiteral("chkAlign"));
        QCOMPARE(align->text(), QStringLiteral("位置合わせ"));
        align->setChecked(true);
        QCOMPARE(canvas.viewport()->cursor().shape(), Qt::SizeAllCursor);
        drag(canvas, origin + QPoint(10, 10), origin + QPoint(30, 50));
        QTest::keyClick(&canvas, Qt::Key_Right);
        QTest::keyClick(&canvas, Qt::Key_Up);
        QCOMPARE(tracing().placement(), (UnderlayPlacement{80, 50, 26, 46}));
        QCOMPARE(box(adjust, "spnX")->value(), 26);
        QCOMPARE(canvas.selectionStart(), caret);
        QCOMPARE(canvas.selectionLength(), 0);
        adjust->close();
        QVERIFY(!tracing().isAligning());
        QCOMPARE(canvas.viewport()->cursor().shape(), Qt::IBeamCursor);
        action("mnuUnderlayAdjust")->trigger();  // left open when the editor window goes

        action("mnuUnderlayShow")->trigger();
        QVERIFY(!tracing().isShown());
        shot = canvas.viewport()->grab().toImage();
        QVERIFY(colourNear(shot.pixelColor(origin + QPoint(40, 60)), Qt::white));

        // The clipboard gets the text only.
        w.findChild<QAction*>(QStringLiteral("mnuEditAll"))->trigger();
        w.findChild<QAction*>(QStringLiteral("mnuEditCopy"))->trigger();
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasImage());

        action("mnuUnderlayClose")->trigger();
        QVERIFY(!tracing().hasPicture());
        QVERIFY(!action("mnuUnderlayAdjust")->isEnabled());
        QVERIFY(!platform::openProgramSettings()->childGroups().contains(QStringLiteral("Underlay")));
        QVERIFY(w.canvas().text() == text);
        QVERIFY(w.canvas().history().entries() == history);
        QVERIFY(m_dialogs.messages().empty());
    }

    void settingsComeBackWithTheNextWindow()
    {
        QVERIFY(open(m_blue));
        tracing().setPlacement({30, 150, -4, 9});
        action("mnuUnderlayShow")->trigger();
        newWindow();
        QTRY_VERIFY(tracing().hasPicture());
        QCOMPARE(tracing().placement(), (UnderlayPlacement{30, 150, -4, 9}));
        QVERIFY(!tracing().isShown());
        QVERIFY(!action("mnuUnderlayShow")->isChecked());
        QCOMPARE(tracing().path(), m_blue);

        // Gone at the next start: nothing shown, nothing asked.
        m_window.reset();
        QVERIFY(QFile::remove(m_blue));
        newWindow();
        QCoreApplication::processEvents();
        QVERIFY(!tracing().hasPicture() && !tracing().isReading());
        QVERIFY(!action("mnuUnderlayClose")->isEnabled());
        QVERIFY(m_dialogs.messages().empty());
    }

    void aLargePhotoIsReadAwayFromTheWindowAndKeptAtItsShownSize()
    {
        const QString photo = m_dir->filePath(QStringLiteral("photo.jpg"));
        QImage big(8000, 6000, QImage::Format_Grayscale8);
        big.fill(128);
        QVERIFY(big.save(photo, "JPEG", 50));
        big = QImage();
        {
            const auto settings = platform::openProgramSettings();
            settings->setValue(QStringLiteral("Underlay/Path"), photo);
            settings->setValue(QStringLiteral("Underlay/Scale"), 10);
        }
        m_window = std::make_unique<frmMain>();
        QVERIFY(tracing().isReading() && !tracing().hasPicture());  // not read on the window's thread
        QTRY_VERIFY_WITH_TIMEOUT(tracing().hasPicture(), 20000);
        QCOMPARE(tracing().layer().kept().size(), QSize(800, 600));
        QCOMPARE(tracing().layer().shownRect(), QRect(0, 0, 800, 600));
    }

    void everyCommonFormatOpens_data()
    {
        QTest::addColumn<QByteArray>("format");
        for (const char* format : {"png", "jpg", "bmp", "webp", "gif"}) {
            QTest::newRow(format) << QByteArray(format);
        }
    }
    void everyCommonFormatOpens()
    {
        QFETCH(QByteArray, format);
        const QString path = m_dir->filePath(QStringLiteral("picture.") + QLatin1String(format));
        QSize size(31, 17);
        if (format == "gif") {
            // Qt writes no GIF: one white pixel, by hand.
            QFile gif(path);
            QVERIFY(gif.open(QIODevice::WriteOnly));
            gif.write(QByteArray("GIF89a\x01\0\x01\0\x80\0\0\xff\xff\xff\0\0\0!\xf9\x04\x01\0\0"
                                 "\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;", 43));
            size = QSize(1, 1);
        } else {
            QImage picture(size, QImage::Format_RGB32);
            picture.fill(kBlue);
            QVERIFY2(picture.save(path), format);  // webp: the image format plugins
        }
        QVERIFY(open(path));
        QCOMPARE(tracing().layer().kept().size(), size);
    }

    void badFilesAreRefusedAndChangeNothing_data()
    {
        // Made here, before init(): in memory only.
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QByteArray png;
        QByteArray jpeg;
        {
            QImage picture(200, 200, QImage::Format_RGB32);
            for (int y = 0; y < 200; ++y) {
                for (int x = 0; x < 200; ++x) {
                    picture.setPixel(x, y, qRgb(x, y, x ^ y));
                }
            }
            QBuffer b(&png);
            b.open(QIODevice::WriteOnly);
            picture.save(&b, "PNG");
            QBuffer j(&jpeg);
            j.open(QIODevice::WriteOnly);
            picture.save(&j, "JPEG");
        }
        const QString damaged = QStringLiteral("画像が途中で切れているか、壊れています。");
        QTest::newRow("text") << QByteArray("just some text\n") << QStringLiteral("画像ファイルではないか、読めない形式です。");
        QTest::newRow("png cut") << png.left(png.size() / 2) << damaged;
        QTest::newRow("jpeg cut") << jpeg.left(jpeg.size() * 2 / 3) << damaged;
        // An embedded thumbnail's end leaves FF D9 as the last bytes of a file cut after it.
        const QByteArray thumbnail("\xFF\xE1\x00\x08\xFF\xD8\x01\x02\xFF\xD9", 10);
        QTest::newRow("jpeg cut after its thumbnail")
            << jpeg.left(2) + thumbnail << damaged;
        QByteArray bmp;
        {
            QImage picture(200, 200, QImage::Format_RGB32);
            picture.fill(kBlue);
            QBuffer b(&bmp);
            b.open(QIODevice::WriteOnly);
            picture.save(&b, "BMP");
        }
        QTest::newRow("bmp cut") << bmp.left(bmp.size() / 2) << damaged;
        QTest::newRow("30000 x 30000") << hugePngHeader(30000, 30000)
                                       << QStringLiteral("画像が大きすぎて読み込めません（30000 × 30000 ピクセル）。");
    }
    void aPhotoWithAVideoAfterItOpens()
    {
        // A phone's "motion photo": the picture, then a video after its end mark.
        QImage picture(31, 17, QImage::Format_RGB32);
        picture.fill(kBlue);
        QByteArray bytes;
        QBuffer b(&bytes);
        b.open(QIODevice::WriteOnly);
        QVERIFY(picture.save(&b, "JPEG"));
        bytes += QByteArray("\0\0\0\x18" "ftypmp42", 12) + QByteArray(5000, '\x7f');
        const QString path = m_dir->filePath(QStringLiteral("motion.jpg"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        QVERIFY(open(path));
        QCOMPARE(tracing().layer().kept().size(), QSize(31, 17));
    }

    void badFilesAreRefusedAndChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QVERIFY(open(m_blue));
        tracing().setPlacement({70, 100, 3, 3});
        const QString bad = m_dir->filePath(QStringLiteral("bad.png"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        QVERIFY(!open(bad));
        QCOMPARE(m_dialogs.messages().size(), size_t(1));
        QCOMPARE(m_dialogs.messages()[0].text,
                 QStringLiteral("画像を開けませんでした。\n%1\n\n%2").arg(bad, reason));
        QCOMPARE(tracing().path(), m_blue);
        QCOMPARE(tracing().placement(), (UnderlayPlacement{70, 100, 3, 3}));
        QCOMPARE(tracing().layer().kept().size(), QSize(60, 40));
    }

    void aVanishedPictureIsNotReadAgainAndAgain()
    {
        QVERIFY(open(m_blue));
        QVERIFY(QFile::remove(m_blue));
        // Half the size (倍率 in the underlay's window) wants the picture decoded again: that
        // read fails.
        action("mnuUnderlayAdjust")->trigger();
        QSpinBox* scale = box(tracing().adjustWindow(), "spnScale");
        scale->setValue(50);
        QTRY_COMPARE(m_dialogs.messages().size(), size_t(1));
        QCOMPARE(m_dialogs.messages()[0].text,
                 QStringLiteral("下絵の画像を読み直せませんでした。今の大きさのまま表示します。\n%1"
                                "\n\nファイルが見つかりません。")
                     .arg(m_blue));
        // Told once and not tried again: nothing reads, the picture shown stays.
        QVERIFY(!tracing().isReading());
        QCoreApplication::processEvents();
        QVERIFY(!tracing().isReading());
        QCOMPARE(tracing().layer().kept().size(), QSize(60, 40));
        // Another scale is worth one more try, which says nothing new.
        scale->setValue(40);
        QVERIFY(tracing().isReading());
        QTRY_VERIFY(!tracing().isReading());
        QCoreApplication::processEvents();
        QVERIFY(!tracing().isReading());
        QCOMPARE(m_dialogs.messages().size(), size_t(1));
    }

    void aDragSavesWhereItEndsOnce()
    {
        QVERIFY(open(m_blue));
        tracing().setAligning(true);
        editor::CanvasWidget& canvas = *m_window->txtMain();
        QWidget* v = canvas.viewport();
        const QPoint from = canvas.cursorRect(QTextCursor(canvas.document())).topLeft() +
                            QPoint(10, 10);
        QFile conf(platform::AppPaths::settingsFile(platform::kProgramSettingsName));
        const auto saved = [&conf] {
            conf.open(QIODevice::ReadOnly);
            const QByteArray bytes = conf.readAll();
            conf.close();
            return bytes;
        };
        const QByteArray before = saved();
        QVERIFY(before.contains("X=0"));
        const auto send = [v](QEvent::Type type, QPoint at, Qt::MouseButton button,
                              Qt::MouseButtons held) {
            QMouseEvent e(type, at, v->mapToGlobal(at), button, held, Qt::NoModifier);
            QCoreApplication::sendEvent(v, &e);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 20; ++step) {
            send(QEvent::MouseMove, from + QPoint(step, 0), Qt::NoButton, Qt::LeftButton);
            QCOMPARE(tracing().placement().x, step);
            QCOMPARE(saved(), before);  // nothing written on the way
        }
        send(QEvent::MouseButtonRelease, from + QPoint(20, 0), Qt::LeftButton, Qt::NoButton);
        QVERIFY(saved().contains("X=20"));
    }

    void placementReadBackIsBroughtIntoRange()
    {
        QVERIFY(open(m_blue));
        {
            const auto settings = platform::openProgramSettings();
            settings->setValue(QStringLiteral("Underlay/Opacity"), QStringLiteral("lots"));
            settings->setValue(QStringLiteral("Underlay/Scale"), QStringLiteral("-2147483648"));
            settings->setValue(QStringLiteral("Underlay/X"), QStringLiteral("99999999999"));
            settings->setValue(QStringLiteral("Underlay/Shown"), QStringLiteral("maybe"));
        }
        newWindow();
        QTRY_VERIFY(tracing().hasPicture());
        QCOMPARE(tracing().placement(), (UnderlayPlacement{50, 10, 100000, 0}));
        QVERIFY(tracing().isShown());
    }

    void closingTheEditorDoesNotWaitForADecode()
    {
        // A decode that runs until the test lets it go (or ten seconds pass, should closing
        // wait for it after all).
        QSemaphore started;
        QSemaphore letGo;
        std::atomic<bool> decoded{false};
        Tracing::setDecodeForTesting([&](const QString& path, int scale) {
            started.release();
            letGo.tryAcquire(1, 10000);
            underlay::DecodedUnderlay out = underlay::decodeUnderlay(path, scale);
            decoded = true;
            return out;
        });
        m_dialogs.choose(m_blue);
        action("mnuUnderlayOpen")->trigger();
        QVERIFY(started.tryAcquire(1, 10000));
        m_window.reset();
        QVERIFY(!decoded);
        // The decode ends after its editor: what it sends back goes nowhere.
        letGo.release();
        platform::NewestWins::waitForWorkLeftRunning();
        QVERIFY(decoded);
        QCoreApplication::processEvents();
        Tracing::setDecodeForTesting({});
        // The next editor reads the picture as usual.
        newWindow();
        QVERIFY(open(m_blue));
    }

private:
    void newWindow()
    {
        m_window = std::make_unique<frmMain>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    Tracing& tracing() const { return *m_window->findChild<Tracing*>(QStringLiteral("Tracing")); }
    QAction* action(const char* name) const
    {
        return m_window->findChild<QAction*>(QLatin1String(name));
    }
    static QSpinBox* box(QWidget* w, const char* name)
    {
        return w->findChild<QSpinBox*>(QLatin1String(name));
    }
    /// Opens `path` through the View menu's entry and the (scripted) file dialog.
    bool open(const QString& path)
    {
        QSignalSpy finished(&tracing(), &Tracing::loadFinished);
        m_dialogs.clear();
        m_dialogs.choose(path);
        action("mnuUnderlayOpen")->trigger();
        return finished.wait(10000) && finished.constFirst().constFirst().toBool();
    }
    static void drag(editor::CanvasWidget& canvas, QPoint from, QPoint to)
    {
        QWidget* v = canvas.viewport();
        QMouseEvent press(QEvent::MouseButtonPress, from, v->mapToGlobal(from), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent move(QEvent::MouseMove, to, v->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, to, v->mapToGlobal(to), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        for (QMouseEvent* e : {&press, &move, &release}) {
            QCoreApplication::sendEvent(v, e);
        }
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<frmMain> m_window;
    testing::ScriptedDialogs m_dialogs;
    QString m_blue;
};

QTEST_MAIN(TestTracing)
#include "test_tracing.moc"
