// The export commands from the editor's menus: their captions, the scale chosen in the save
// dialog, failures that say why and write nothing, and the image put on the clipboard.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include "ScriptedDialogs.h"
#include "editor/frmMain.h"
#include "platform/AppPaths.h"
#include "platform/Fonts.h"

using namespace masumemo;
using platform::Dialogs;

class ExportCommandsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menuEntries_data();
    void menuEntries();
    void saveImageAtTheChosenScale();
    void saveHtmlPage();
    void failedOrCancelledSaveWritesNothing_data();
    void failedOrCancelledSaveWritesNothing();
    void copyImagePutsAPngOnTheClipboard();
    void imagesPastTheLimitAreRefusedBeforeDrawing();

private:
    void trigger(const char* name) { m_window->menuItem(QLatin1String(name))->trigger(); }
    QString path(const char* name) const { return m_dir->filePath(QLatin1String(name)); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testing::ScriptedDialogs> m_dialogs;
    std::unique_ptr<editor::frmMain> m_window;
};

void ExportCommandsTest::initTestCase()
{
    platform::installFontSubstitutions();
}

void ExportCommandsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
    m_dialogs = std::make_unique<testing::ScriptedDialogs>();
    m_window = std::make_unique<editor::frmMain>();
    m_window->setCanvasText(u"ab&<\u3000\r\nあい\u3000\u3000");
}

void ExportCommandsTest::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    platform::AppPaths::setProgramDirectoryForTesting(QString());
    m_dir.reset();
}

void ExportCommandsTest::menuEntries_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");

    QTest::newRow("save image") << "mnuFile" << "mnuFileSaveImage" << "画像として保存(&I)...";
    QTest::newRow("save html") << "mnuFile" << "mnuFileSaveHtml" << "HTMLとして保存(&H)...";
    QTest::newRow("copy image") << "mnuEdit" << "mnuEditCopyImage" << "画像としてｺﾋﾟｰ(&I)";
}

void ExportCommandsTest::menuEntries()
{
    QFETCH(QString, menu);
    QFETCH(QString, name);
    QFETCH(QString, caption);

    QAction* item = m_window->menuItem(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QVERIFY(m_window->findChild<QMenu*>(menu)->actions().contains(item));
}

void ExportCommandsTest::saveImageAtTheChosenScale()
{
    m_dialogs->choose(path("one.png"), 0);
    trigger("mnuFileSaveImage");
    m_dialogs->choose(path("two.png"), 1);
    trigger("mnuFileSaveImage");

    QCOMPARE(m_dialogs->messages().size(), size_t{0});
    const QImage one(path("one.png"));
    const QImage two(path("two.png"));
    QVERIFY(!one.isNull());
    QCOMPARE(two.size(), one.size() * 2);
    QVERIFY(m_dialogs->fileAsks().at(0).request.filter.contains(QLatin1String("*.png")));
}

void ExportCommandsTest::saveHtmlPage()
{
    m_dialogs->choose(path("page.html"));
    trigger("mnuFileSaveHtml");

    QFile page(path("page.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    QVERIFY(text.contains(QStringLiteral("<pre>\nab&amp;&lt;\nあい\n</pre>")));
    // A new canvas has no name: the page takes the one it is saved under.
    QVERIFY(text.contains(QLatin1String("<title>page.html</title>")));
}

void ExportCommandsTest::failedOrCancelledSaveWritesNothing_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("says");

    QTest::newRow("image into a missing folder") << "mnuFileSaveImage" << "missing/x.png" << true;
    QTest::newRow("page over a folder") << "mnuFileSaveHtml" << "folder" << true;
    QTest::newRow("cancelled") << "mnuFileSaveImage" << "" << false;
}

void ExportCommandsTest::failedOrCancelledSaveWritesNothing()
{
    QFETCH(QString, action);
    QFETCH(QString, target);
    QFETCH(bool, says);

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    m_dialogs->choose(target.isEmpty() ? QString() : m_dir->filePath(target));
    m_window->menuItem(action)->trigger();

    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(QDir(m_dir->filePath("folder")).isEmpty(), true);
    QCOMPARE(m_dialogs->messages().size(), size_t{says ? 1u : 0u});
    if (says) {
        const auto& message = m_dialogs->messages().front();
        QVERIFY(message.text.startsWith(QStringLiteral("ファイルを保存できませんでした。\n")));
        // The reason follows the name.
        QVERIFY(message.text.section(QLatin1String("\n\n"), 1).size() > 0);
        QCOMPARE(message.icon, Dialogs::Icon::Critical);
    }
}

void ExportCommandsTest::copyImagePutsAPngOnTheClipboard()
{
    m_dialogs->choose(path("saved.png"), 0);
    trigger("mnuFileSaveImage");
    trigger("mnuEditCopyImage");

    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data && data->hasFormat(QStringLiteral("image/png")));
    const QImage copied = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    QCOMPARE(copied, QImage(path("saved.png")).convertToFormat(copied.format()));
    // Only the PNG: any other type would be converted on request from a full-colour copy.
    QCOMPARE(data->formats(), QStringList{QStringLiteral("image/png")});
}

void ExportCommandsTest::imagesPastTheLimitAreRefusedBeforeDrawing()
{
    // 2000 lines of 100 full-width cells in the largest size: about 2900 x 60000 pixels.
    std::u16string text;
    for (int i = 0; i < 2000; ++i) {
        text += std::u16string(100, u'■') + u"\r\n";
    }
    m_window->setCanvasText(text);
    m_window->txtMain()->setFont(QFont(platform::kGothic, 22));
    QApplication::clipboard()->setText(QStringLiteral("before"));

    trigger("mnuEditCopyImage");
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    m_dialogs->choose(path("big.png"), 1);
    trigger("mnuFileSaveImage");
    QVERIFY(!QFile::exists(path("big.png")));
    QCOMPARE(m_dialogs->messages().size(), size_t(2));
    for (const auto& message : m_dialogs->messages()) {
        QVERIFY2(message.text.startsWith(QStringLiteral("画像が大きすぎます（")),
                 qPrintable(message.text));
        QVERIFY(message.text.contains(QStringLiteral("256 MB")));
    }
    // The page is text: no limit of pixels applies to it.
    m_dialogs->choose(path("big.html"));
    trigger("mnuFileSaveHtml");
    QVERIFY(QFile::exists(path("big.html")));
}

QTEST_MAIN(ExportCommandsTest)
#include "test_export_commands.moc"
