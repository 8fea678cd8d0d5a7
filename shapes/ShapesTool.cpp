#include "ShapesTool.h"

#include <QAction>

#include <algorithm>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "board/DotRuler.h"
#include "check/BoardSetting.h"
#include "document/Document.h"
#include "grid/LineModel.h"
#include "host/ToolHost.h"
#include "platform/AppPaths.h"
#include "platform/Fonts.h"
#include "shapes/RectangleMirror.h"

namespace masumemo::shapes {

namespace {

/// A user's table beside the settings; empty when there is none or it cannot be read whole.
std::u16string userFile(const QString& name)
{
    QFile file(platform::AppPaths::settingsFile(name));
    if (file.size() > 1 << 20 || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).toStdU16String();
}

/// A few lines framed as the preview shows them, in cells.
QString preview(const FrameStyle& style)
{
    const std::u16string blank(8, u'\u3000');
    std::vector<std::u16string> lines{blank, u"\u3000\u3000\u3000ＡＡＡ\u3000\u3000",
                                      u"\u3000\u3000\u3000ＡＡ\u3000\u3000\u3000", blank};
    const Framed framed = frameCells(lines, 1, 2, style);
    if (framed.refused) {
        return {};
    }
    return QString::fromStdU16String(grid::joinLines(framed.lines)).replace(u'\r', QString());
}

}  // namespace

ShapesTool::ShapesTool(host::ToolHost& host, QObject* parent) : QObject(parent), m_host(host)
{
    const host::MenuPlace edit{QStringLiteral("mnuEdit")};
    m_host.addAction(edit, QStringLiteral("mnuShapesBar"), QString());
    connect(m_host.addAction(edit, QStringLiteral("mnuMirror"), QStringLiteral("左右反転(&M)")),
            &QAction::triggered, this, &ShapesTool::mirrorLeftRight);
    connect(m_host.addAction(edit, QStringLiteral("mnuFlip"), QStringLiteral("上下反転(&U)")),
            &QAction::triggered, this, &ShapesTool::mirrorUpsideDown);
    connect(m_host.addAction(edit, QStringLiteral("mnuFrame"), QStringLiteral("枠で囲む(&W)...")),
            &QAction::triggered, this, &ShapesTool::chooseFrame);
    readTables();
}

void ShapesTool::readTables()
{
    m_leftRight = {};
    m_upsideDown = {};
    m_leftRight.addPairs(builtInLeftRightPairs());
    m_leftRight.addPairs(userFile(QStringLiteral("mirror-lr.txt")));
    m_upsideDown.addPairs(builtInUpsideDownPairs());
    m_upsideDown.addPairs(userFile(QStringLiteral("mirror-ud.txt")));
    m_styles = parseFrameStyles(builtInFrameStyles());
    // A user's style of a built-in style's name takes its place.
    for (FrameStyle& mine : parseFrameStyles(userFile(QStringLiteral("frames.txt")))) {
        auto same = std::find_if(m_styles.begin(), m_styles.end(),
                                 [&](const FrameStyle& s) { return s.name == mine.name; });
        if (same != m_styles.end()) {
            *same = std::move(mine);
        } else {
            m_styles.push_back(std::move(mine));
        }
    }
}

bool ShapesTool::proportional() const
{
    return m_host.canvas().font().family() == platform::kPGothic;
}

ShapesTool::Target ShapesTool::target() const
{
    Target t;
    const std::u16string& text = m_host.document().page().text;
    t.lines = grid::SplitText(text);
    const auto sel = m_host.canvas().selection();
    auto lineOf = [&](int offset) {
        return static_cast<int>(std::count(text.begin(), text.begin() + offset, u'\r'));
    };
    if (sel.length <= 0) {
        t.first = 0;
        t.last = static_cast<int>(t.lines.size()) - 1;
    } else {
        t.first = lineOf(sel.start);
        const int end = sel.start + sel.length;
        t.last = lineOf(end);
        // A selection that ends at a line's start does not take that line.
        if (t.last > t.first && end >= 2 && text[static_cast<size_t>(end) - 1] == u'\n') {
            --t.last;
        }
    }
    t.start = sel.start;
    t.length = sel.length;
    t.cells = m_host.canvas().selectedCells();
    t.dots = m_host.canvas().selectedDots();
    if (t.dots) {
        t.first = t.dots->line;
        t.last = t.dots->line + t.dots->lines - 1;
    }
    if (t.cells) {
        t.first = t.cells->line;
        t.last = t.cells->line + t.cells->lines - 1;
    }
    return t;
}

void ShapesTool::rewrite(const std::function<Made(Target&)>& make)
{
    Target t;
    QString said;
    bool changed = false;
    m_host.canvas().applyAsOneStep([&](const std::u16string& text) {
        t = target();
        Made made = make(t);
        said = std::move(made.said);
        std::u16string after = made.lines.empty() ? text : grid::joinLines(made.lines);
        changed = after != text;
        return after;
    });
    // A rectangle stays chosen by itself; a text selection is put back.
    if (changed && !t.cells && !t.dots) {
        m_host.canvas().select(t.start, t.length);
    }
    // After the write, whose refresh of the status bar would take the word away.
    if (!said.isEmpty()) {
        m_host.canvas().notice(said);
    }
}

ShapesTool::Made ShapesTool::mirrorCellsOf(const Target& t, bool upsideDown) const
{
    const host::CellRect& c = *t.cells;
    const std::optional<std::u16string> turned =
        mirrorRectangle(grid::joinLines(t.lines), {c.line, c.column, c.lines, c.width},
                        m_host.document().page().keta, upsideDown ? m_upsideDown : m_leftRight,
                        upsideDown);
    if (!turned) {
        return {{}, QStringLiteral("矩形の端で切れた全角文字があるので上下反転できません")};
    }
    return {grid::SplitText(*turned), {}};
}

namespace {

/// How far characters landed from their dots, for the status bar; empty when none missed.
QString offText(int characters, int largest)
{
    return characters > 0
               ? QStringLiteral("%1 文字が %2 ﾄﾞｯﾄまでずれました").arg(characters).arg(largest)
               : QString();
}

}  // namespace

ShapesTool::Made ShapesTool::mirrorDotsOf(const Target& t, bool upsideDown) const
{
    const host::DotArea& a = *t.dots;
    const board::CharDots dots = board::DotRuler().charDots();
    const DotRectangleMirror m = mirrorDotRectangle(
        t.lines, board::chooseBlock(t.lines, {a.line, a.lines, a.x0, a.x1}, dots),
        upsideDown ? m_upsideDown : m_leftRight, upsideDown, dots, check::passesUnicode());
    if (m.refused) {
        return {{},
                *m.refused == DotMirrorRefusal::Overlap
                    ? QStringLiteral("反転すると矩形の外の文字に重なるので反転できません")
                    : QStringLiteral("反転すると行が長くなりすぎるので反転できません")};
    }
    Made made{t.lines, offText(m.offCharacters, m.largestOff)};
    std::copy(m.lines.begin(), m.lines.end(), made.lines.begin() + m.first);
    return made;
}

bool ShapesTool::mirrorFloatingDots(bool upsideDown)
{
    if (!proportional()) {
        return false;
    }
    QString said;
    const auto turn = [&](const std::vector<host::DotLine>& lines) {
        std::vector<DotLine> block;
        for (const host::DotLine& l : lines) {
            block.push_back({l.text, l.x});
        }
        const DotLinesMirror m =
            mirrorDotLines(block, upsideDown ? m_upsideDown : m_leftRight, upsideDown,
                           board::DotRuler().charDots(), check::passesUnicode());
        said = offText(m.offCharacters, m.largestOff);
        std::vector<host::DotLine> turned;
        for (const DotLine& l : m.lines) {
            turned.push_back({l.text, l.x});
        }
        return std::optional(std::move(turned));
    };
    if (!m_host.canvas().turnFloatingDots(turn)) {
        return false;
    }
    // Said after the block's own word on laying it down here, which it replaces only when the
    // mirror itself missed.
    if (!said.isEmpty()) {
        m_host.canvas().notice(said);
    }
    return true;
}

void ShapesTool::mirrorLeftRight()
{
    if (mirrorFloatingDots(false)) {
        return;
    }
    rewrite([this](Target& t) {
        if (t.cells) {
            return mirrorCellsOf(t, false);
        }
        if (t.dots) {
            return mirrorDotsOf(t, false);
        }
        Made made;
        const std::vector<std::u16string> part(t.lines.begin() + t.first,
                                               t.lines.begin() + t.last + 1);
        std::vector<std::u16string> mirrored;
        if (proportional()) {
            DotMirror m = mirrorDots(part, m_leftRight, board::DotRuler().charDots(),
                                     check::passesUnicode());
            mirrored = std::move(m.lines);
            made.said = offText(m.offCharacters, m.largestOff);
            if (made.said.isEmpty() && m.unchangedLines > 0) {
                made.said =
                    QStringLiteral("%1 行は収まらないので反転しませんでした").arg(m.unchangedLines);
            }
        } else {
            mirrored = mirrorCells(part, m_leftRight);
        }
        std::copy(mirrored.begin(), mirrored.end(), t.lines.begin() + t.first);
        made.lines = t.lines;
        return made;
    });
}

void ShapesTool::mirrorUpsideDown()
{
    if (mirrorFloatingDots(true)) {
        return;
    }
    rewrite([this](Target& t) {
        if (t.cells) {
            return mirrorCellsOf(t, true);
        }
        if (t.dots) {
            return mirrorDotsOf(t, true);
        }
        const std::vector<std::u16string> part(t.lines.begin() + t.first,
                                               t.lines.begin() + t.last + 1);
        const std::vector<std::u16string> flipped = shapes::mirrorUpsideDown(part, m_upsideDown);
        std::copy(flipped.begin(), flipped.end(), t.lines.begin() + t.first);
        return Made{t.lines, {}};
    });
}

void ShapesTool::frameWith(const FrameStyle& style)
{
    rewrite([this, &style](Target& t) -> Made {
        if (t.length <= 0) {
            // Without a selection, the caret's line.
            const std::u16string& text = m_host.document().page().text;
            t.last = t.first =
                static_cast<int>(std::count(text.begin(), text.begin() + t.start, u'\r'));
        }
        Framed framed = proportional() ? frameDots(t.lines, t.first, t.last, style,
                                                   board::DotRuler().charDots(),
                                                   check::passesUnicode())
                                       : frameCells(t.lines, t.first, t.last, style);
        if (framed.refused) {
            switch (*framed.refused) {
            case FrameRefusal::Nothing:
                return {{}, QStringLiteral("枠で囲む文字がありません")};
            case FrameRefusal::NoRoom:
                return {{}, QStringLiteral("枠がキャンバスに収まりません")};
            case FrameRefusal::NotBlank:
                return {{}, QStringLiteral("枠の上と下の行を空けてください")};
            }
        }
        Made made{std::move(framed.lines), {}};
        if (framed.offLines > 0) {
            made.said = QStringLiteral("%1 行の右端が %2 ﾄﾞｯﾄまでずれました")
                            .arg(framed.offLines)
                            .arg(framed.largestOff);
        }
        return made;
    });
}

void ShapesTool::chooseFrame()
{
    readTables();
    QDialog dialog(m_host.window());
    dialog.setObjectName(QStringLiteral("frmFrame"));
    dialog.setWindowTitle(QStringLiteral("枠で囲む"));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lstFrame"));
    auto* shown = new QPlainTextEdit(&dialog);
    shown->setObjectName(QStringLiteral("txtFramePreview"));
    shown->setReadOnly(true);
    shown->setFont(QFont(platform::kGothic, 12));
    shown->setLineWrapMode(QPlainTextEdit::NoWrap);
    for (const FrameStyle& s : m_styles) {
        list->addItem(QString::fromStdU16String(s.name));
    }
    connect(list, &QListWidget::currentRowChanged, shown, [&](int row) {
        shown->setPlainText(row >= 0 ? preview(m_styles[static_cast<size_t>(row)]) : QString());
    });
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(list);
    row->addWidget(shown, 1);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(row);
    layout->addWidget(buttons);
    dialog.resize(520, 240);
    if (dialog.exec() == QDialog::Accepted && list->currentRow() >= 0) {
        frameWith(m_styles[static_cast<size_t>(list->currentRow())]);
    }
}

}  // namespace masumemo::shapes
