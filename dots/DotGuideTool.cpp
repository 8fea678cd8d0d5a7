#include "DotGuideTool.h"

#include <QAction>
#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>

#include "board/DotMoves.h"
#include "board/BoardBlanks.h"
#include "board/DotRuler.h"
#include "check/BoardSetting.h"
#include "document/Document.h"
#include "grid/LineModel.h"
#include "host/ToolHost.h"
#include "platform/Fonts.h"

namespace masumemo::dots {

DotGuideTool::DotGuideTool(host::ToolHost& host, QObject* parent) : QObject(parent), m_host(host)
{
    const host::MenuPlace edit{QStringLiteral("mnuEdit")};
    m_host.addAction(edit, QStringLiteral("mnuDotSeparator"), QString());
    m_set = m_host.addAction(edit, QStringLiteral("mnuDotGuide"),
                             QStringLiteral("基準の位置にする(&R)"), QKeySequence(Qt::Key_F8));
    m_align = m_host.addAction(edit, QStringLiteral("mnuDotAlign"),
                               QStringLiteral("基準にそろえる(&J)"), QKeySequence(Qt::Key_F9));
    m_right = m_host.addAction(edit, QStringLiteral("mnuDotRightEdges"),
                               QStringLiteral("右端をそろえる(&E)"),
                               QKeySequence(Qt::SHIFT | Qt::Key_F9));
    connect(m_set, &QAction::triggered, this, &DotGuideTool::setGuideAtCaret);
    connect(m_align, &QAction::triggered, this, &DotGuideTool::alignToGuide);
    connect(m_right, &QAction::triggered, this, &DotGuideTool::alignRightEdges);
    m_host.layers().addLayer(this);
    // The commands belong to the proportional font: they follow the canvas's font.
    m_host.canvas().widget()->installEventFilter(this);
    updateActions();
}

DotGuideTool::~DotGuideTool()
{
    if (!m_closed) {
        m_host.layers().removeLayer(this);
    }
}

QString DotGuideTool::guideText() const
{
    return m_guide ? QStringLiteral("　基準 %1").arg(*m_guide) : QString();
}

bool DotGuideTool::offered() const
{
    return m_host.canvas().font().family() == platform::kPGothic;
}

void DotGuideTool::updateActions()
{
    const bool on = offered();
    m_set->setEnabled(on);
    m_align->setEnabled(on);
    m_right->setEnabled(on);
}

bool DotGuideTool::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FontChange && watched == m_host.canvas().widget()) {
        updateActions();
        m_host.canvas().widget()->update();
    }
    return QObject::eventFilter(watched, event);
}

void DotGuideTool::setGuideAtCaret()
{
    if (!offered()) {
        return;
    }
    const std::u16string& text = m_host.document().page().text;
    const int caret = m_host.canvas().selection().start;
    const size_t lineStart = text.rfind(u'\n', caret > 0 ? static_cast<size_t>(caret - 1) : 0);
    const size_t from = caret > 0 && lineStart != std::u16string::npos ? lineStart + 1 : 0;
    const std::u16string_view line =
        std::u16string_view(text).substr(from, static_cast<size_t>(caret) - from);
    m_guide = board::dotPosition(line, static_cast<int>(line.size()),
                                 board::DotRuler().charDots());
    m_host.canvas().widget()->update();
    emit guideChanged();
}

void DotGuideTool::rewrite(
    const std::function<board::DotOutcome(const std::u16string& text, host::ToolCanvas::Selection)>&
        align)
{
    board::DotOutcome out;
    bool changed = false;
    m_host.canvas().applyAsOneStep([&](const std::u16string& text) {
        out = align(text, m_host.canvas().selection());
        changed = out.text != text;
        return out.text;
    });
    if (changed) {
        m_host.canvas().select(out.caret, out.selectionLength);
    }
    if (out.skippedLines > 0) {
        m_host.canvas().notice(
            QStringLiteral("%1 行はそろえられませんでした").arg(out.skippedLines));
    }
}

void DotGuideTool::alignToGuide()
{
    if (!offered()) {
        return;
    }
    if (!m_guide) {
        m_host.canvas().notice(QStringLiteral("基準の位置がありません（F8）"));
        return;
    }
    const int guide = *m_guide;
    rewrite([guide](const std::u16string& text, host::ToolCanvas::Selection sel) {
        return board::AlignToGuide(text, sel.start, sel.start, sel.length, guide,
                                   check::passesUnicode(), board::DotRuler().charDots());
    });
}

void DotGuideTool::alignRightEdges()
{
    if (!offered()) {
        return;
    }
    const std::optional<int> guide = m_guide;
    rewrite([guide](const std::u16string& text, host::ToolCanvas::Selection sel) {
        return board::AlignRightEdges(text, sel.start, sel.length, guide, check::passesUnicode(),
                                      board::DotRuler().charDots());
    });
}

void DotGuideTool::paint(QPainter& painter, const QRect& exposed)
{
    if (!m_guide || !offered()) {
        return;
    }
    // The canvas shows the font at its own size; the guide stands where its dots fall there.
    const double scale = QFontMetricsF(m_host.canvas().font()).horizontalAdvance(QChar(0x3000)) /
                         board::kFullSpaceDots;
    const int x = qRound(*m_guide * scale);
    if (x < exposed.left() || x > exposed.right()) {
        return;
    }
    painter.setPen(QPen(QColor(0, 120, 215, 160), 1));
    painter.drawLine(x, exposed.top(), x, exposed.bottom());
}

}  // namespace masumemo::dots
