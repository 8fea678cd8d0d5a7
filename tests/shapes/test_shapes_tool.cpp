// Mirroring and framing through a real canvas and its host: the whole canvas or the selected
// lines, one undo step each, and a word in the status bar where a frame cannot be laid.

#include <QtTest>

#include <memory>

#include "document/Document.h"
#include "FakeToolHost.h"
#include "editor/BlockEditing.h"
#include "grid/LineModel.h"
#include "platform/AppPaths.h"
#include "platform/Fonts.h"
#include "shapes/ShapesTool.h"

using namespace masumemo;

class TestShapesTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutions(); }
    void init()
    {
        m_fake = std::make_unique<testing::FakeToolHost>();
        m_tool = new shapes::ShapesTool(m_fake->host, m_fake->window());
    }
    void cleanup() { m_fake.reset(); }

    void mirrorsTheCanvasOrTheSelectedLinesAsOneStep()
    {
        const std::u16string text = u"(ab\u3000 \r\n「x\u3000 \r\n\u3000\u3000 ^";
        m_fake->show(text, 3, 3);
        const size_t steps = m_fake->steps();
        m_tool->mirrorLeftRight();
        QCOMPARE(m_fake->host.document().page().text,
                 std::u16string(u" \u3000da)\r\n \u3000x」\r\n^ \u3000\u3000"));
        QCOMPARE(m_fake->steps(), steps + 1);
        m_tool->mirrorLeftRight();
        QCOMPARE(m_fake->host.document().page().text, text);

        // Line 2 alone, selected in its middle: upside down it is itself ("x" has no pair).
        m_fake->host.canvas().select(8, 3);
        m_tool->mirrorUpsideDown();
        QCOMPARE(m_fake->host.document().page().text, text);
        // Lines 1 and 2 change places, "b" turned to "p"; the selection stays.
        m_fake->host.canvas().select(0, 9);
        m_tool->mirrorUpsideDown();
        QCOMPARE(m_fake->host.document().page().text,
                 std::u16string(u"「x\u3000 \r\n(ap\u3000 \r\n\u3000\u3000 ^"));
        QCOMPARE(m_fake->host.canvas().selection().start, 0);
        QCOMPARE(m_fake->host.canvas().selection().length, 9);
    }

    void mirrorsTheRectangleWhereAFloatingBlockWasMoved()
    {
        const std::u16string text = u"ab(xyzf/\r\nあい(xy/\r\n12345678";
        m_fake->show(text, 4, 3);
        editor::BlockEditing block(*m_fake->canvas, nullptr);
        block.setActive(true);
        block.select({2, 0}, {6, 0});
        block.moveBlock(grid::Arrow::Down);
        QVERIFY(block.isFloating());
        const size_t steps = m_fake->steps();

        // The block is laid down first, and only its cells are turned where it now stands.
        m_tool->mirrorLeftRight();
        QVERIFY(!block.isFloating());
        QCOMPARE(m_fake->text(), std::u16string(u"ab    f/\r\nあzyx)y/\r\n12345678"));
        QCOMPARE(m_fake->steps(), steps + 2);
        m_fake->canvas->controller().undo();
        QCOMPARE(m_fake->text(), std::u16string(u"ab    f/\r\nあ(xyzy/\r\n12345678"));

        // Upside down over two lines whose spans differ: the full-width "あ" is cut.
        m_fake->show(text, 4, 3);
        block.select({1, 0}, {5, 1});
        m_tool->mirrorUpsideDown();
        QCOMPARE(m_fake->text(), text);
        QCOMPARE(m_fake->said, QStringLiteral("矩形の端で切れた全角文字があるので上下反転できません"));
    }

    void framesTheSelectedLinesOrSaysWhyNot()
    {
        const std::u16string blank(8, u'\u3000');
        m_fake->show(blank + u"\r\n\u3000\u3000ab\u3000\u3000\u3000\u3000\u3000\r\n" + blank, 8, 3);
        const auto& styles = m_tool->styles();
        QVERIFY(styles.size() >= 4);
        m_fake->host.canvas().select(18, 0);  // the caret on line 2
        m_tool->frameWith(styles.front());
        const auto lines = grid::SplitText(m_fake->host.document().page().text);
        QCOMPARE(lines[0].substr(0, 1), std::u16string(u"┌"));
        QCOMPARE(lines[1].substr(0, 2), std::u16string(u"│\u3000"));
        QCOMPARE(lines[2].substr(0, 1), std::u16string(u"└"));
        QVERIFY(m_fake->said.isEmpty());

        // The first line has no line above it for the top.
        m_fake->host.canvas().select(0, 0);
        m_fake->host.document().resetPage(u"ab\u3000\u3000\r\n\u3000\u3000\u3000\u3000", 4, 2);
        m_fake->canvas->controller().showPage();
        m_tool->frameWith(styles.front());
        QCOMPARE(m_fake->said, QStringLiteral("枠がキャンバスに収まりません"));
        QCOMPARE(m_fake->host.document().page().text, std::u16string(u"ab\u3000\u3000\r\n\u3000\u3000\u3000\u3000"));
    }

    void aUsersTableIsReadBesideTheSettings()
    {
        QFile mine(platform::AppPaths::settingsFile(QStringLiteral("mirror-lr.txt")));
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.write(QStringLiteral("ab\n").toUtf8());
        mine.close();
        m_tool->readTables();
        QCOMPARE(m_tool->leftRight().mirror(U'a'), U'b');
        QCOMPARE(m_tool->leftRight().mirror(U'('), U')');  // the built-in pairs stay
    }

private:
    std::unique_ptr<testing::FakeToolHost> m_fake;
    shapes::ShapesTool* m_tool = nullptr;
};

QTEST_MAIN(TestShapesTool)
#include "test_shapes_tool.moc"
