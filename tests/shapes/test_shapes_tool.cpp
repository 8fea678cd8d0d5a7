// Mirroring and framing through a real canvas and its host: the whole canvas or the selected
// lines, one undo step each, and a word in the status bar where a frame cannot be laid.

#include <QtTest>

#include <memory>

#include "board/BoardBlanks.h"
#include "board/DotRuler.h"
#include "document/Document.h"
#include "FakeToolHost.h"
#include "editor/BlockEditing.h"
#include "editor/DotRectangle.h"
#include "grid/LineModel.h"
#include "platform/AppPaths.h"
#include "platform/Fonts.h"
#include "shapes/ShapesTool.h"

using namespace masumemo;

namespace {

/// Each visible character of a line with its dot in the board font.
std::vector<std::pair<char16_t, int>> placed(std::u16string_view line)
{
    const board::CharDots dots = board::DotRuler().charDots();
    std::vector<std::pair<char16_t, int>> out;
    int x = 0;
    for (char16_t c : line) {
        if (!board::isBoardBlank(c)) {
            out.emplace_back(c, x);
        }
        x += dots(c);
    }
    return out;
}

/// The visible characters of a line, in order.
std::u16string visible(std::u16string_view line)
{
    std::u16string out;
    for (const auto& [c, x] : placed(line)) {
        out += c;
    }
    return out;
}

/// Two lines for the proportional font: "x" and "y" stand outside a rectangle of dots, "(a"
/// and "b" inside it.
struct DotPicture
{
    const std::vector<std::u16string> lines{
        u"x\u3000\u3000(a\u3000\u3000\u3000\u3000y\u3000\u3000\u3000\u3000",
        u"x\u3000\u3000\u3000b\u3000\u3000\u3000y\u3000\u3000\u3000\u3000 "};
    const std::u16string text = grid::joinLines(lines);
    const board::CharDots dots = board::DotRuler().charDots();

    /// Where visible character k of a line stands before any change.
    int before(size_t line, size_t k) const { return placed(lines[line])[k].second; }
    /// Where visible character k of a line, c, stands mirrored left-right in the rectangle: in
    /// the span of its visible characters, from "(" or "b" to the end of "a" or "b".
    int mirrored(size_t line, size_t k, char16_t c) const
    {
        const int left = std::min(before(0, 1), before(1, 1));
        const int right = std::max(before(0, 2) + dots(u'a'), before(1, 1) + dots(u'b'));
        return left + right - before(line, k) - dots(c);
    }
    /// The rectangle: from just left of "(" to the first "y".
    void select(editor::BlockEditing& block) const
    {
        block.dots().select({0, before(0, 1) - 1}, {1, std::min(before(0, 3), before(1, 2))});
    }
};

}  // namespace

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

    void mirrorsTheRectangleOfDotsWhereItStands()
    {
        const DotPicture p;
        const auto block = showInDots(p);
        const size_t steps = m_fake->steps();

        m_tool->mirrorLeftRight();
        QCOMPARE(m_fake->steps(), steps + 1);
        auto after = grid::SplitText(m_fake->text());
        QCOMPARE(visible(after[0]), std::u16string(u"xa)y"));
        QCOMPARE(visible(after[1]), std::u16string(u"xdy"));
        // Outside the rectangle nothing moved; inside, each character stands at its mirrored
        // dot unless the status bar says by how much it misses.
        QCOMPARE(placed(after[0])[3].second, p.before(0, 3));
        QCOMPARE(placed(after[1])[2].second, p.before(1, 2));
        if (m_fake->said.isEmpty()) {
            QCOMPARE(placed(after[0])[2].second, p.mirrored(0, 1, u'('));
            QCOMPARE(placed(after[0])[1].second, p.mirrored(0, 2, u'a'));
            QCOMPARE(placed(after[1])[1].second, p.mirrored(1, 1, u'b'));
            // Turned twice, every character is back at its dot.
            m_tool->mirrorLeftRight();
            after = grid::SplitText(m_fake->text());
            QCOMPARE(placed(after[0]), placed(p.lines[0]));
            QCOMPARE(placed(after[1]), placed(p.lines[1]));
            m_fake->canvas->controller().undo();
        } else {
            QVERIFY(m_fake->said.endsWith(QStringLiteral("ﾄﾞｯﾄまでずれました")));
        }
        m_fake->canvas->controller().undo();
        QCOMPARE(m_fake->text(), p.text);

        // Upside down the lines change places, each character at its own dot, "b" turned.
        m_tool->mirrorUpsideDown();
        after = grid::SplitText(m_fake->text());
        QCOMPARE(visible(after[0]), std::u16string(u"xpy"));
        QCOMPARE(visible(after[1]), std::u16string(u"x(ay"));
        if (m_fake->said.isEmpty()) {
            QCOMPARE(placed(after[0])[1].second, p.before(1, 1));
            QCOMPARE(placed(after[1])[1].second, p.before(0, 1));
        }
        QCOMPARE(placed(after[0])[2].second, p.before(0, 3));
    }

    void mirrorsAFloatingBlockOfDotsWhereItFloats()
    {
        const DotPicture p;
        const auto block = showInDots(p);
        block->moveDots(0, 3);
        QVERIFY(block->isFloating());
        const size_t steps = m_fake->steps();

        // Mirrored as it floats: nothing written until it is laid down, then in one step.
        m_tool->mirrorLeftRight();
        QVERIFY(block->isFloating());
        QCOMPARE(m_fake->text(), p.text);
        const QString said = m_fake->said;
        block->layDown();
        QCOMPARE(m_fake->steps(), steps + 1);
        auto after = grid::SplitText(m_fake->text());
        QCOMPARE(visible(after[0]), std::u16string(u"xa)y"));
        QCOMPARE(visible(after[1]), std::u16string(u"xdy"));
        if (said.isEmpty() && m_fake->said.isEmpty()) {
            QCOMPARE(placed(after[0])[2].second, 3 + p.mirrored(0, 1, u'('));
            QCOMPARE(placed(after[1])[1].second, 3 + p.mirrored(1, 1, u'b'));
            QCOMPARE(placed(after[0])[3].second, p.before(0, 3));
        }
        m_fake->canvas->controller().undo();
        QCOMPARE(m_fake->text(), p.text);

        // Mirrored twice where it floats and laid down: every character back at its dot.
        p.select(*block);
        block->moveDots(0, 0);
        m_tool->mirrorUpsideDown();
        m_tool->mirrorUpsideDown();
        QVERIFY(block->isFloating());
        m_fake->said.clear();
        block->layDown();
        if (m_fake->said.isEmpty()) {
            after = grid::SplitText(m_fake->text());
            QCOMPARE(placed(after[0]), placed(p.lines[0]));
            QCOMPARE(placed(after[1]), placed(p.lines[1]));
        }
        m_fake->canvas->controller().undo();

        // Mirrored and put back with Escape: the picture as it was, no step taken.
        QCOMPARE(m_fake->text(), p.text);
        const size_t kept = m_fake->steps();
        p.select(*block);
        block->moveDots(0, 2);
        m_tool->mirrorLeftRight();
        block->cancel();
        QCOMPARE(m_fake->text(), p.text);
        QCOMPARE(m_fake->steps(), kept);
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
    /// The picture shown in the proportional font, rectangle mode on and its rectangle chosen.
    std::unique_ptr<editor::BlockEditing> showInDots(const DotPicture& p)
    {
        m_fake->useFont(platform::kPGothic);
        m_fake->show(p.text, 12, 2);
        auto block = std::make_unique<editor::BlockEditing>(*m_fake->canvas, nullptr);
        block->setActive(true);
        p.select(*block);
        return block;
    }

    std::unique_ptr<testing::FakeToolHost> m_fake;
    shapes::ShapesTool* m_tool = nullptr;
};

QTEST_MAIN(TestShapesTool)
#include "test_shapes_tool.moc"
