#include "frmKao.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "dictionary/EntrySearch.h"
#include "platform/Dialogs.h"
#include "platform/ProgramSettings.h"
#include "platform/Twips.h"

namespace masumemo::dictionary {
namespace {

using platform::Dialogs;
using platform::px;
using platform::pxRect;
using platform::twips;

constexpr int kTrackingInterval = 100;
constexpr int kIdleInterval = 30000;
constexpr int kMinWidth = 600;
constexpr int kMaxWidth = 10000;
/// One click of UpDown1: ten pixels, so a click shows.
constexpr int kWidthStep = 150;
constexpr int kListHeight = 300;
constexpr int kSpinHeight = 240;
constexpr int kLeft = 75;

QFrame* ruleLine(QWidget* parent, const char* name, QPalette::ColorRole colour)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::NoFrame);
    line->setBackgroundRole(colour);
    line->setAutoFillBackground(true);
    // Part of the window surface: the mouse over it counts as over the surface.
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    return line;
}

constexpr int kVisibleEntries = 16;

const QString kLossyEditQuestion =
    QStringLiteral("このファイルにはShift_JISで表せない文字が含まれています。"
                   "編集すると「?」に置き換わります。よろしいですか？");

QComboBox* dropDownList(QWidget* parent, const char* name)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setEditable(false);
    // A drop-down list, not a popup over the whole screen: some styles open the list around
    // the current item as tall as the screen, which hides the small window behind it.
    list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    list->setMaxVisibleItems(kVisibleEntries);
    return list;
}

const QString kStaysOnTopKey = QStringLiteral("Egaocho/StaysOnTop");

}  // namespace

frmKao::frmKao(QWidget* parent, std::unique_ptr<platform::Foreground> foreground)
    : QMainWindow(parent),
      m_foreground(foreground ? std::move(foreground) : platform::createForeground()),
      m_tracker(*m_foreground)
{
    setObjectName(QStringLiteral("frmKao"));
    setWindowTitle(QStringLiteral("Egaocho"));
    // A fixed border and no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildMenu();
    buildControls();
    Form_Load();
}

frmKao::~frmKao() = default;

void frmKao::buildMenu()
{
    m_mnuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    m_mnuFile->setObjectName(QStringLiteral("mnuFile"));
    const auto item = [&](const char* name, const QString& caption, void (frmKao::*handler)()) {
        QAction* action = m_mnuFile->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    item("mnuAdd", QStringLiteral("新しいファイルをリストに追加(&A)..."), &frmKao::mnuAdd_Click);
    m_mnuDel = item("mnuDel", QStringLiteral("選択中のファイルをリストから削除(&D)..."),
                    &frmKao::mnuDel_Click);
    m_mnuEdit = item("mnuEdit", QStringLiteral("選択中のファイルの内容を編集(&E)..."),
                     &frmKao::mnuEdit_Click);
    m_mnuFile->addSeparator()->setObjectName(QStringLiteral("mnubar"));
    item("mnuMojiOpen", QStringLiteral("Masumemoを開く(&M)..."), &frmKao::mnuMojiOpen_Click);
    // Kept above other windows on request, so a maximised editor cannot bury it.
    QAction* top = m_mnuFile->addAction(QStringLiteral("常に手前に表示(&T)"));
    top->setObjectName(QStringLiteral("mnuTop"));
    top->setCheckable(true);
    const bool onTop = platform::readBool(*platform::openProgramSettings(), kStaysOnTopKey, false);
    top->setChecked(onTop);
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    connect(top, &QAction::toggled, this, &frmKao::mnuTop_Toggled);
    m_mnuFile->addSeparator()->setObjectName(QStringLiteral("mnubar1"));
    item("mnuEnd", QStringLiteral("終了(&X)"), &frmKao::mnuEnd_Click);
}

void frmKao::buildControls()
{
    m_surface = new QWidget(this);
    m_surface->setObjectName(QStringLiteral("surface"));
    // Movement without a button pressed must reach the surface to count as activity.
    m_surface->setMouseTracking(true);
    m_surface->installEventFilter(this);
    setCentralWidget(m_surface);

    m_line1 = ruleLine(m_surface, "Line1", QPalette::Dark);
    m_line2 = ruleLine(m_surface, "Line2", QPalette::Base);

    m_cboFile = dropDownList(m_surface, "cboFile");
    m_cboFile->setGeometry(pxRect(kLeft, 75, kKaoListWidth, kListHeight));
    connect(m_cboFile, &QComboBox::currentIndexChanged, this, &frmKao::cboFile_Click);

    m_cboData = dropDownList(m_surface, "cboData");
    m_cboData->setGeometry(pxRect(kLeft, 450, kKaoListWidth, kListHeight));
    // activated: a choice by the user (a click, arrow keys in the closed list), also of the
    // entry already shown; never the program's own filling.
    connect(m_cboData, &QComboBox::activated, this, &frmKao::cboData_Click);
    // The wheel reaches a window that does not have the focus too: see eventFilter.
    m_cboFile->installEventFilter(this);
    m_cboData->installEventFilter(this);
    // Typed text looks for entries; the list itself never grows from what is typed.
    m_cboData->setEditable(true);
    m_cboData->setInsertPolicy(QComboBox::NoInsert);
    m_matches = new QStandardItemModel(this);
    m_search = new QCompleter(m_matches, m_cboData);
    m_search->setObjectName(QStringLiteral("cboDataSearch"));
    // The matches are chosen here, by kana-folded containment, not by the completer's prefix.
    m_search->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_search->setMaxVisibleItems(kVisibleEntries);
    m_cboData->setCompleter(m_search);
    m_search->popup()->installEventFilter(this);
    connect(m_cboData->lineEdit(), &QLineEdit::textEdited, this, &frmKao::cboData_Search);
    connect(m_search, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            &frmKao::chooseMatch);

    m_upDown1 = new QSpinBox(m_surface);
    m_upDown1->setObjectName(QStringLiteral("UpDown1"));
    m_upDown1->setRange(kMinWidth, kMaxWidth);
    m_upDown1->setSingleStep(kWidthStep);
    m_upDown1->setValue(kKaoFullWidth);
    // A typed width applies when it is complete, not at every digit.
    m_upDown1->setKeyboardTracking(false);
    m_upDown1->setGeometry(pxRect(kLeft, 825, kKaoListWidth, kSpinHeight));
    for (QWidget* part : {static_cast<QWidget*>(m_upDown1),
                          static_cast<QWidget*>(m_upDown1->findChild<QLineEdit*>())}) {
        if (part) {
            part->setMouseTracking(true);
            part->installEventFilter(this);
        }
    }
    connect(m_upDown1, &QSpinBox::valueChanged, this, &frmKao::UpDown1_Change);

    setTabOrder(m_cboFile, m_cboData);
    setTabOrder(m_cboData, m_upDown1);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    connect(m_timer1, &QTimer::timeout, this, &frmKao::Timer1_Timer);
    m_tmrSmall = new QTimer(this);
    m_tmrSmall->setObjectName(QStringLiteral("tmrSmall"));
    m_tmrSmall->setInterval(kIdleInterval);
    connect(m_tmrSmall, &QTimer::timeout, this, &frmKao::tmrSmall_Timer);
}

void frmKao::Form_Load()
{
    m_timer1->setInterval(kTrackingInterval);
    m_timer1->stop();
    setOuterSize(kKaoFullWidth, kKaoFullHeight);

    LoadResult loaded = LoadDictionaryList();
    for (const QString& text : loaded.messages) {
        Dialogs::instance().message(this, text, Dialogs::Buttons::Ok, Dialogs::Icon::None);
    }
    m_list = std::move(loaded.list);
    m_lastFileIndex = 0;
    fillFiles(m_list.HasFiles() ? 0 : -1);
    fillData(m_list.HasFiles() ? 0 : -1);
    updateMenus();

    // The loader goes on past a bad file, so the load is complete even after an error
    // message and focus following starts as usual.
    m_tracker.armFirstActivation();
    m_tmrSmall->start();
}

bool frmKao::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate) {
        m_placeToKeep.reset();
        Form_Activate();
    }
    return QMainWindow::event(e);
}

void frmKao::Form_Activate()
{
    if (m_tracker.activated(winId())) {
        m_timer1->start();
        // Between two ticks the user may already have been to another window and back.
        m_foreground->watchActiveWindow([this] { m_tracker.activeWindowChanged(); });
    }
}

void frmKao::Timer1_Timer()
{
    m_tracker.tick();
}

void frmKao::fillFiles(int row)
{
    const QSignalBlocker block(m_cboFile);
    m_cboFile->clear();
    m_cboFile->addItems(m_list.displayNames());
    m_cboFile->setCurrentIndex(row);
}

void frmKao::fillData(int row)
{
    m_cboData->clear();
    if (row >= 0 && row < m_list.count() && m_list.at(row).HasEntries) {
        // Each item shows its entry cut short and keeps the whole entry for the copy.
        for (const QString& entry : m_list.at(row).Entries) {
            m_cboData->addItem(shownEntry(entry), entry);
        }
    }
    // A combo box selects its first item by itself; the list starts without a choice.
    m_cboData->setCurrentIndex(-1);
}

void frmKao::updateMenus()
{
    m_mnuDel->setEnabled(m_list.HasFiles());
    m_mnuEdit->setEnabled(m_list.HasFiles());
}

void frmKao::cboFile_Click(int row)
{
    if (row < 0) {
        return;
    }
    if (row != m_lastFileIndex) {
        fillData(row);
    }
    m_lastFileIndex = row;
}

void frmKao::cboData_Click(int row)
{
    if (row < 0) {
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_cboData->itemData(row).toString());
    // Where the window system cannot switch, the copy is all that happens.
    m_tracker.returnToTarget();
}

void frmKao::cboData_Search(const QString& typed)
{
    m_matches->clear();
    const int file = m_cboFile->currentIndex();
    if (typed.isEmpty() || file < 0 || file >= m_list.count()) {
        m_search->popup()->hide();
        return;
    }
    const DictFile& record = m_list.at(file);
    for (const int row : matchingRows(record.Entries, record.Words, typed)) {
        auto* item = new QStandardItem(shownEntry(record.Entries.at(row)));
        item->setData(row, Qt::UserRole);
        item->setToolTip(record.Words.value(row));
        item->setEditable(false);
        m_matches->appendRow(item);
    }
    if (m_matches->rowCount() == 0) {
        m_search->popup()->hide();
        return;
    }
    m_search->setCompletionPrefix(typed);
    m_search->complete();
}

void frmKao::chooseMatch(const QModelIndex& match)
{
    if (!match.isValid()) {
        return;
    }
    const int row = match.data(Qt::UserRole).toInt();
    if (row < 0 || row >= m_cboData->count()) {
        return;
    }
    {
        const QSignalBlocker block(m_cboData);
        m_cboData->setCurrentIndex(row);
    }
    cboData_Click(row);
}

void frmKao::tmrSmall_Timer()
{
    const bool counting = isVisible() && !isMinimized() && !isMaximized();
    if (m_idle.tick(counting)) {
        // Keys must not reach a hidden control (Up and Down would change the width unseen):
        // the surface holds the focus until the controls come back.
        QWidget* focus = focusWidget();
        m_focusBeforeShrink = focus && focus != m_surface ? focus : nullptr;
        m_surface->setFocus();
        setOuterSize(kKaoFullWidth, kKaoShrunkHeight);
        setFullControlsVisible(false);
    }
}

void frmKao::Form_MouseMove()
{
    if (m_idle.surfaceMoved()) {
        setFullControlsVisible(true);
        setOuterSize(kKaoFullWidth, kKaoFullHeight);
        if (m_focusBeforeShrink) {
            m_focusBeforeShrink->setFocus();
        }
    }
}

void frmKao::setFullControlsVisible(bool visible)
{
    m_mnuFile->menuAction()->setVisible(visible);
    menuBar()->setVisible(visible);
    m_cboFile->setVisible(visible);
    m_cboData->setVisible(visible);
    m_upDown1->setVisible(visible);
}

bool frmKao::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::Wheel && (watched == m_cboFile || watched == m_cboData)) {
        // A wheel turned over the closed entry list would copy every entry it passes, over
        // whatever the user had on the clipboard; over a window in the background it would
        // do so unasked. Choices are clicks and keys; the file list takes the wheel only while
        // the window is active.
        return watched == m_cboData || !isActiveWindow();
    }
    if (m_search && watched == m_search->popup()) {
        // Enter takes the highlighted match, or the first: it is taken here so the line
        // edit does not see the key and choose a second time.
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                QModelIndex match = m_search->popup()->currentIndex();
                if (!match.isValid()) {
                    match = m_search->completionModel()->index(0, 0);
                }
                m_search->popup()->hide();
                chooseMatch(match);
                return true;
            }
        }
        return QMainWindow::eventFilter(watched, e);
    }
    if (e->type() == QEvent::MouseMove) {
        if (watched == m_surface) {
            Form_MouseMove();
        } else {
            m_idle.spinMoved();
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void frmKao::UpDown1_Change(int value)
{
    setOuterSize(value, m_outerTwips.height());
}

void frmKao::setOuterSize(int width, int height)
{
    m_outerTwips = QSize(width, height);
    applyOuterSize();
}

QSize frmKao::frameExtra() const
{
    return frameGeometry().size() - geometry().size();
}

void frmKao::applyOuterSize()
{
    m_appliedFrame = frameExtra();
    setFixedSize(std::max(1, px(m_outerTwips.width()) - m_appliedFrame.width()),
                 std::max(1, px(m_outerTwips.height()) - m_appliedFrame.height()));
    // A hidden window gets its resize event only when shown; the controls follow now.
    Form_Resize();
}

int frmKao::outerWidthTwips() const
{
    // The width asked for, in twips, as long as the window has it: a pixel holds 15 twips,
    // and the rule for cboData tells a single twip apart.
    const int actual = frameGeometry().width();
    return actual == px(m_outerTwips.width()) ? m_outerTwips.width() : twips(actual);
}

void frmKao::Form_Resize()
{
    const int outer = outerWidthTwips();
    const int client = outer - twips(frameExtra().width());
    m_line1->setGeometry(0, px(0), px(client), 1);
    m_line2->setGeometry(0, px(10), px(client), 1);
    QRect data = m_cboData->geometry();
    data.setWidth(px(cboDataWidth(outer, client)));
    m_cboData->setGeometry(data);
}

void frmKao::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

void frmKao::moveEvent(QMoveEvent* e)
{
    QMainWindow::moveEvent(e);
    if (m_placeToKeep && isVisible() && geometry().topLeft() != *m_placeToKeep) {
        keepPlace();
        m_placeToKeep.reset();
    }
    // The window manager has framed the window: the outer size must now allow for the frame.
    if (frameExtra() != m_appliedFrame) {
        applyOuterSize();
    }
}

void frmKao::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (frameExtra() != m_appliedFrame) {
        applyOuterSize();
    }
}

void frmKao::closeEvent(QCloseEvent* e)
{
    m_timer1->stop();
    m_foreground->watchActiveWindow({});
    m_tmrSmall->stop();
    QMainWindow::closeEvent(e);
}

void frmKao::mnuAdd_Click()
{
    // Every failure, Cancel included, ends the command silently, except a file that is no file
    // to read at all; what was done stays done.
    const QString path = Dialogs::instance().openFileName(
        this, {QStringLiteral("ファイルを開く"), QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt"), {}});
    if (path.isEmpty()) {
        return;
    }
    const DictionaryList::AddResult added = m_list.addFile(path);
    if (added.pathNotListable) {
        Dialogs::instance().message(this, unlistablePathMessage(path), Dialogs::Buttons::Ok,
                                    Dialogs::Icon::None);
        return;
    }
    if (added.refused != platform::FileProblem::None) {
        // Not silent: the user chose a file and would not know why it is not listed.
        Dialogs::instance().message(this, refusalMessage(path, added.refused), Dialogs::Buttons::Ok,
                                    Dialogs::Icon::None);
    }
    if (!added.added) {
        return;
    }
    const int row = m_list.count() - 1;
    {
        const QSignalBlocker block(m_cboFile);
        const int shown = m_cboFile->currentIndex();
        m_cboFile->addItem(DisplayName(path));
        // A file that could not be read keeps its row, but the choice does not move to it.
        m_cboFile->setCurrentIndex(added.read ? row : shown);
    }
    updateMenus();
    if (!added.read) {
        return;
    }
    m_lastFileIndex = row;
    fillData(row);
}

void frmKao::mnuDel_Click()
{
    const int row = m_cboFile->currentIndex();
    if (row < 0 || row >= m_list.count()) {
        return;
    }
    const QString question = QStringLiteral("「") + m_cboFile->itemText(row) +
                             QStringLiteral("」への参照を削除します。") +
                             QStringLiteral("(ファイル自体は削除されません）") +
                             QStringLiteral("\r\n") + QStringLiteral("よろしいですか？");
    if (Dialogs::instance().message(this, question, Dialogs::Buttons::YesNo,
                                    Dialogs::Icon::Question) != Dialogs::Answer::Yes) {
        return;
    }
    // The file itself stays; only the list and kaomoji.ini change.
    m_list.removeFile(row);
    const int first = m_list.HasFiles() ? 0 : -1;
    fillFiles(first);
    fillData(first);
    if (m_list.HasFiles()) {
        m_lastFileIndex = 0;
    }
    updateMenus();
}

void frmKao::mnuEdit_Click()
{
    const int row = m_cboFile->currentIndex();
    if (row < 0 || row >= m_list.count()) {
        return;
    }
    const QString path = m_list.at(row).Path;
    if (const platform::FileProblem problem = platform::regularFileProblem(path);
        problem != platform::FileProblem::None) {
        // A pipe or a device is there all right: it is just not a file that can be edited.
        Dialogs::instance().message(
            this,
            problem == platform::FileProblem::NotFound
                ? QStringLiteral("「") + path + QStringLiteral("」が見つかりません。")
                : refusalMessage(path, problem),
            Dialogs::Buttons::Ok, Dialogs::Icon::None);
        return;
    }
    // With nobody to open the file, hiding would leave the user without either window.
    if (!isSignalConnected(QMetaMethod::fromSignal(&frmKao::editRequested))) {
        return;
    }
    // The canvas holds code page 932 only: characters beyond it would come back as "?".
    if (!fileFitsCp932(path) &&
        Dialogs::instance().message(this, kLossyEditQuestion, Dialogs::Buttons::YesNo,
                                    Dialogs::Icon::Question) != Dialogs::Answer::Yes) {
        return;
    }
    // Shown again after a declined hand-over, the window would be placed anew by the window
    // manager; it comes back where it was.
    m_placeBeforeHandOver = geometry().topLeft();
    hide();
    emit editRequested(path);
}

void frmKao::editAccepted()
{
    close();
}

void frmKao::editDeclined()
{
    // The place is given as the client area's: the size of the frame is not known while the
    // window is hidden. Given even when unchanged, so that the window manager does not choose
    // one. A window manager still busy with the hidden
    // window may choose one all the same: the first move it reports before the window is
    // active again is put right.
    m_placeToKeep = m_placeBeforeHandOver;
    keepPlace();
    show();
    raise();
    activateWindow();
}

void frmKao::keepPlace()
{
    if (QWindow* handle = windowHandle()) {
        handle->setPosition(*m_placeToKeep);
    }
}

void frmKao::mnuMojiOpen_Click()
{
    emit editorRequested();
}

void frmKao::mnuTop_Toggled(bool on)
{
    platform::openProgramSettings()->setValue(kStaysOnTopKey, on);
    // Changing a window flag hides the window; show it again where it was.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) {
        show();
    }
}

void frmKao::mnuEnd_Click()
{
    close();
}

}  // namespace masumemo::dictionary
