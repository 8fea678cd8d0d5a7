#include "frmCheck.h"

#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeView>
#include <QVBoxLayout>

#include "check/BoardFix.h"
#include "check/BoardSetting.h"
#include "check/CellMarks.h"
#include "check/DotFix.h"
#include "check/ProblemList.h"
#include "grid/LineModel.h"
#include "grid/References.h"
#include "host/CanvasLayer.h"
#include "platform/ProgramSettings.h"
#include "platform/ToolWindow.h"
#include "platform/WindowPlacement.h"

namespace masumemo::check {

namespace {

QSpinBox* limitBox(QWidget* parent, const QString& name, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(1, kLargestLimit);
    box->setValue(value);
    return box;
}

/// "バイト数 n / limit", marked when over.
void showFigure(QLabel* label, const QString& caption, long long value, int limit)
{
    // Called at every keystroke: a style sheet set again would polish the label again.
    const bool over = value > limit;
    const QString text = QStringLiteral("%1 %2 / %3").arg(caption).arg(value).arg(limit);
    if (label->text() != text) {
        label->setText(text);
    }
    if (label->property("overLimit").toBool() != over || !label->property("overLimit").isValid()) {
        label->setProperty("overLimit", over);
        label->setStyleSheet(over ? QStringLiteral("color: #c00000; font-weight: bold;")
                                  : QString());
    }
}

}  // namespace

frmCheck* frmCheck::showFor(QWidget* owner, CheckedCanvas& canvas)
{
    auto* window = owner->findChild<frmCheck*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr) {
        window = new frmCheck(owner, canvas);
        platform::placeBesideOwner(*window, *owner);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frmCheck::frmCheck(QWidget* owner, CheckedCanvas& canvas)
    : QWidget(owner, Qt::Window), m_canvas(canvas), m_canvasWidget(canvas.canvasWidget())
{
    setObjectName(QStringLiteral("frmCheck"));
    platform::makeToolWindow(*this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("投稿チェック"));

    const BoardLimits limits = savedLimits();

    m_list = new ProblemList(this);
    m_lvwProblems = new QTreeView(this);
    m_lvwProblems->setObjectName(QStringLiteral("lvwProblems"));
    m_lvwProblems->setModel(m_list);
    m_lvwProblems->setRootIsDecorated(false);
    m_lvwProblems->setUniformRowHeights(true);
    m_lvwProblems->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lvwProblems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lvwProblems->header()->setStretchLastSection(true);
    // The numbers take what they need, so a narrow window leaves the text its room.
    m_lvwProblems->header()->setSectionResizeMode(ProblemList::LineColumn,
                                                  QHeaderView::ResizeToContents);
    m_lvwProblems->header()->setSectionResizeMode(ProblemList::UnitColumn,
                                                  QHeaderView::ResizeToContents);
    connect(m_lvwProblems, &QTreeView::clicked, this,
            [this](const QModelIndex& i) { chooseProblem(i.row()); });
    connect(m_lvwProblems, &QTreeView::activated, this,
            [this](const QModelIndex& i) { chooseProblem(i.row()); });

    m_lblBytes = new QLabel(this);
    m_lblBytes->setObjectName(QStringLiteral("lblBytes"));
    m_lblLines = new QLabel(this);
    m_lblLines->setObjectName(QStringLiteral("lblLines"));
    m_spnMaxBytes = limitBox(this, QStringLiteral("spnMaxBytes"), limits.maxBytes);
    m_spnMaxLines = limitBox(this, QStringLiteral("spnMaxLines"), limits.maxLines);
    m_chkUnicode = new QCheckBox(QStringLiteral("Unicodeを通す掲示板(&U)"), this);
    m_chkUnicode->setObjectName(QStringLiteral("chkUnicode"));
    m_chkUnicode->setToolTip(QStringLiteral(
        "文字参照（&#x200A; など）を文字として表示する掲示板です。"
        "外すと、Shift_JISにない文字を「?」になる問題として挙げます。"));
    m_chkUnicode->setChecked(limits.passesUnicode);
    m_cmdFix = new QPushButton(QStringLiteral("整える(&F)"), this);
    m_cmdFix->setObjectName(QStringLiteral("cmdFix"));
    m_cmdFixCopy = new QPushButton(QStringLiteral("整えてｺﾋﾟｰ(&P)"), this);
    m_cmdFixCopy->setObjectName(QStringLiteral("cmdFixCopy"));
    connect(m_cmdFix, &QPushButton::clicked, this, &frmCheck::mendCanvas);
    connect(m_cmdFixCopy, &QPushButton::clicked, this, &frmCheck::copyMended);

    auto* figures = new QGridLayout;
    figures->addWidget(m_lblBytes, 0, 0);
    figures->addWidget(new QLabel(QStringLiteral("上限"), this), 0, 1);
    figures->addWidget(m_spnMaxBytes, 0, 2);
    figures->addWidget(m_lblLines, 1, 0);
    figures->addWidget(new QLabel(QStringLiteral("上限"), this), 1, 1);
    figures->addWidget(m_spnMaxLines, 1, 2);
    figures->addWidget(m_chkUnicode, 2, 0, 1, 3);
    figures->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdFix);
    buttons->addWidget(m_cmdFixCopy);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lvwProblems, 1);
    layout->addLayout(figures);
    layout->addLayout(buttons);
    resize(360, 420);

    m_check.setLimits(limits, {});
    m_check.reset(canvas.canvasText());
    showProblems();
    showFigures();
    connect(m_spnMaxBytes, &QSpinBox::valueChanged, this, &frmCheck::onLimitsChanged);
    connect(m_spnMaxLines, &QSpinBox::valueChanged, this, &frmCheck::onLimitsChanged);
    connect(m_chkUnicode, &QCheckBox::toggled, this, &frmCheck::onLimitsChanged);
    // The settings page shows the same setting.
    connect(&BoardSetting::instance(), &BoardSetting::passesUnicodeChanged, m_chkUnicode,
            &QCheckBox::setChecked);
    canvas.followChanges(this, [this](int first, int removed, int added) {
        onLinesReplaced(first, removed, added);
    });
    m_marks = std::make_unique<CellMarks>(m_check, canvas.layers());
    canvas.layers().addLayer(m_marks.get());
    // The lines the fix moves depend on the canvas font, which the settings page may change.
    m_canvasWidget->installEventFilter(this);
}

frmCheck::~frmCheck()
{
    if (canvasAlive()) {
        m_canvas.layers().removeLayer(m_marks.get());
    }
}

void frmCheck::onLinesReplaced(int first, int removed, int added)
{
    m_check.replaceLines(m_canvas.canvasText(), first, removed, added);
    showProblems();
    showFigures();
    if (removed < 0 || removed != added) {
        m_canvas.layers().updateLayers();
    } else {
        // The marks of other lines did not change; the changed lines are painted again anyway
        // with their new text, this only makes sure of it.
        const QRect top = m_canvas.layers().textRect(first, 0, 0);
        m_canvas.layers().updateLayers(QRect(0, top.top(), 1 << 20, top.height() * added));
    }
}

void frmCheck::onLimitsChanged()
{
    const BoardLimits limits{m_spnMaxBytes->value(), m_spnMaxLines->value(),
                             m_chkUnicode->isChecked()};
    saveLimits(limits);
    if (canvasAlive()) {
        m_check.setLimits(limits, m_canvas.canvasText());
        showProblems();
        showFigures();
    }
}

void frmCheck::showFigures()
{
    showFigure(m_lblBytes, QStringLiteral("バイト数"), m_check.bytes(), m_check.limits().maxBytes);
    showFigure(m_lblLines, QStringLiteral("行数"), m_check.lines(), m_check.limits().maxLines);
}

void frmCheck::chooseProblem(int row)
{
    if (!canvasAlive() || row < 0 || row >= m_list->rowCount()) {
        return;
    }
    const Problem& p = m_list->problem(row);
    m_canvas.selectInCanvas(m_check.lineOffset(p.line - 1) + p.charStart, p.charCount);
}

std::u16string frmCheck::fixedText() const
{
    if (!m_canvas.proportionalFont()) {
        return fixForBoard(m_canvas.canvasText());
    }
    return fixForBoardInDots(m_canvas.canvasText(), m_check.limits().passesUnicode);
}

void frmCheck::showProblems()
{
    m_list->update(m_check, m_canvas.proportionalFont()
                                ? dotShifts(m_canvas.canvasText(), m_check.limits().passesUnicode)
                                : std::vector<LineShift>{});
}

bool frmCheck::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_canvasWidget && event->type() == QEvent::FontChange && canvasAlive()) {
        showProblems();
    }
    return QWidget::eventFilter(watched, event);
}

void frmCheck::mendCanvas()
{
    if (!canvasAlive()) {
        return;
    }
    m_canvas.applyAsOneStep([this] { return fixedText(); });
}

void frmCheck::copyMended()
{
    if (!canvasAlive()) {
        return;
    }
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(postingCopy(
        m_canvas.canvasText(), m_canvas.proportionalFont(), m_check.limits().passesUnicode)));
}

}  // namespace masumemo::check
