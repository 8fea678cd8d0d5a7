// The guide through a real canvas and its host: set at the caret in the proportional font, a
// column of "|" lined up on it in one undo step, right edges lined up without a guide, and the
// commands off in the fixed font.

#include <QAction>
#include <QtTest>

#include <memory>

#include "board/DotRuler.h"
#include "check/BoardSetting.h"
#include "document/Document.h"
#include "dots/DotGuideTool.h"
#include "FakeToolHost.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "platform/Fonts.h"

using namespace masumemo;

namespace {

/// The dot at which the first "|" of each line starts, in the board font.
QList<int> barDots(const std::u16string& text)
{
    QList<int> xs;
    const board::CharDots dots = board::DotRuler().charDots();
    for (const auto& line : grid::SplitText(text)) {
        const size_t bar = line.find(u'|');
        xs << (bar == std::u16string::npos ? -1
                                           : board::dotPosition(line, static_cast<int>(bar), dots));
    }
    return xs;
}

}  // namespace

class TestDotGuide : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutions(); }
    void init()
    {
        m_fake = std::make_unique<testing::FakeToolHost>();
        m_tool = new dots::DotGuideTool(m_fake->host, m_fake->window());
        m_fake->useFont(platform::kPGothic);
    }
    void cleanup() { m_fake.reset(); }

    void aColumnLinesUpOnTheGuide()
    {
        check::setPassesUnicode(true);
        // "|" at three different dots on three lines of 10 cells.
        const std::u16string text = u"ab\u3000\u3000|\u3000\u3000 \r\n"
                                    u"a\u3000|\u3000\u3000\u3000\u3000\r\n"
                                    u"\u3000\u3000\u3000 |\u3000\u3000";
        m_fake->show(text, 6, 3);
        QSignalSpy changed(m_tool, &dots::DotGuideTool::guideChanged);
        m_fake->host.canvas().select(4, 0);  // before the first line's "|"
        m_tool->setGuideAtCaret();
        QCOMPARE(changed.count(), 1);
        const int guide = barDots(text).first();
        QCOMPARE(m_tool->guide(), guide);
        QCOMPARE(m_tool->guideText(), QStringLiteral("　基準 %1").arg(guide));

        // With the three lines selected from the first "|"'s column on.
        m_fake->host.canvas().select(2, static_cast<int>(text.size()) - 2);
        const size_t undoBefore = m_fake->host.document().page().history.entries().size();
        m_tool->alignToGuide();
        const std::u16string& now = m_fake->host.document().page().text;
        QCOMPARE(barDots(now), (QList<int>{guide, guide, guide}));
        QCOMPARE(m_fake->host.document().page().history.entries().size(), undoBefore + 1);
        for (const auto& line : grid::SplitText(now)) {
            QCOMPARE(grid::WidthOf(line), 12);
        }
        QVERIFY(m_fake->said.isEmpty());
    }

    void rightEdgesLineUpWhereTheLongestEnds()
    {
        const std::u16string text = u"ab|\u3000\u3000\u3000\u3000 \r\n"
                                    u"abcd|\u3000\u3000\u3000 ";
        m_fake->show(text, 6, 2);
        m_fake->host.canvas().select(0, static_cast<int>(text.size()));
        m_tool->alignRightEdges();
        const QList<int> bars = barDots(m_fake->host.document().page().text);
        QCOMPARE(bars[0], bars[1]);
        QCOMPARE(bars[1], barDots(text)[1]);  // the longer line stays
    }

    void theCommandsBelongToTheProportionalFont()
    {
        auto* align = m_fake->window()->findChild<QAction*>(QStringLiteral("mnuDotAlign"));
        QVERIFY(align);
        QVERIFY(align->isEnabled());
        QCOMPARE(align->shortcut(), QKeySequence(Qt::Key_F9));
        m_fake->useFont(platform::kGothic);
        QVERIFY(!align->isEnabled());
        // And nothing happens by key or call there.
        m_fake->host.document().resetPage(u"a|  ", 2, 1);
        m_tool->setGuideAtCaret();
        QVERIFY(!m_tool->guide());
    }

private:
    std::unique_ptr<testing::FakeToolHost> m_fake;
    dots::DotGuideTool* m_tool = nullptr;
};

QTEST_MAIN(TestDotGuide)
#include "test_dot_guide.moc"
