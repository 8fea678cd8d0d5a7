#include "frmMain.h"

#include <QAction>
#include <QDockWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <exception>

#include "check/CheckTool.h"
#include "dots/DotGuideTool.h"
#include "pages/PagesTool.h"
#include "shapes/ShapesTool.h"
#include "editor/BlockEditing.h"
#include "platform/CanvasPreferences.h"
#include "editor/CanvasWidget.h"
#include "editor/ClipboardCommands.h"
#include "editor/EditorHost.h"
#include "editor/FileCommands.h"
#include "editor/PaletteInput.h"
#include "editor/PositionDisplay.h"
#include "editor/PushStepChoice.h"
#include "editor/RecentFiles.h"
#include "editor/SettingsPage.h"
#include "editor/ToolBar.h"
#include "export/ExportCommands.h"
#include "library/LibraryTool.h"
#include "input/frmFava.h"
#include "platform/Dialogs.h"
#include "board/DotRuler.h"
#include "platform/ErrorReport.h"
#include "recovery/RecoveryTool.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "underlay/Tracing.h"

// Resources of a static library are registered by name from the global namespace.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace masumemo::editor {

using platform::px;
using platform::twips;

namespace {

std::function<void(int)>& loadStepHook()
{
    static std::function<void(int)> hook;
    return hook;
}

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

/// The working area sits below the toolbar allowance; its coordinates in the client area
/// below Qt's docked toolbar.
int clientTop(int windowTwips)
{
    return px(windowTwips - kWorkingAreaAllowance);
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    initIconResources();
    setObjectName(QStringLiteral("frmMain"));
    // Captions in the Japanese Gothic the window was designed with.
    setFont(QFont(platform::kPGothic, 9));
    m_document = new document::Document(this);
    createMenus();
    createToolBar();
    createStatusBar();
    createWorkingArea();
    m_files = std::make_unique<FileCommands>(*this, canvas(), [this] { showCanvasSize(); });
    auto* recent = new RecentFiles(*m_mnuFileRecent, [this](const QString& path) {
        if (m_files->saveQuestion()) {
            m_files->FileOpen(path);
        }
    });
    m_files->setFileUsed([recent](const QString& path) { recent->add(path); });
    const auto showEncoding = [this] { m_panels[4]->setText(encodingName(m_document->form())); };
    connect(m_document, &document::Document::formChanged, this, showEncoding);
    showEncoding();
    // The title and the dots panel follow the document, whichever writer changed it. The
    // title's "[*]" placeholder shows the mark while there are unsaved changes.
    connect(m_document, &document::Document::pathChanged, this,
            [this](const QString& path) { setWindowTitle(editorTitle(path)); });
    connect(m_document, &document::Document::modifiedChanged, this, &QWidget::setWindowModified);
    connect(m_document, &document::Document::changed, this, &frmMain::showDots);
    m_palette = new PaletteInput({.cmdMoji = m_frames.cmdMoji,
                                  .cmdUse = m_frames.cmdUse,
                                  .txtMain = m_txtMain,
                                  .clickPanel = m_panels[2],
                                  .toolBar = m_tbToolBar,
                                  .clickInput = &m_state.ClickInput,
                                  .dataShow = [this] { DataShow(); }},
                                 this);
    m_settings = new SettingsPage({.window = this,
                                   .cboFont = m_frames.cboFont,
                                   .cboSize = m_frames.cboSize,
                                   .txtKeta = m_frames.txtKeta,
                                   .txtGyou = m_frames.txtGyou,
                                   .cmdTekiyou = m_frames.cmdTekiyou,
                                   .txtMain = m_txtMain,
                                   .state = &m_state,
                                   .dataShow = [this] { DataShow(); }},
                                  this);
    createTools();
    try {
        Form_Load();
    } catch (...) {
        platform::reportUnknownError(this, std::current_exception());
    }
    restorePreferences();
    // The boxes were filled before the canvas had its size.
    m_settings->checkApplyState();
    // The last child, so the widgets and tools that show the document go before it does.
    m_document->setParent(this);
    m_pushStep->fontChanged();  // the font the canvas starts in offers the dot step or not
}

frmMain::~frmMain() = default;

void frmMain::setLoadStepHookForTesting(std::function<void(int step)> hook)
{
    loadStepHook() = std::move(hook);
}

// --- Construction ---

void frmMain::createMenus()
{
    QMenuBar* bar = menuBar();
    const auto menu = [&](const char* name, const char* title) {
        QMenu* m = bar->addMenu(text(title));
        m->setObjectName(QLatin1String(name));
        return m;
    };
    const auto item = [this](QMenu* m, const char* name, const char* caption, auto handler,
                             QKeySequence shortcut = {}) {
        QAction* a = m->addAction(text(caption));
        a->setObjectName(QLatin1String(name));
        a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    const auto separator = [](QMenu* m, const char* name) {
        m->addSeparator()->setObjectName(QLatin1String(name));
    };

    QMenu* file = menu("mnuFile", "ﾌｧｲﾙ(&F)");
    item(file, "mnuFileNew", "新規作成(&N)", &frmMain::mnuFileNew_Click,
         QKeySequence(Qt::CTRL | Qt::Key_N));
    item(file, "mnuFileOpen", "開く(&O)...", &frmMain::mnuFileOpen_Click,
         QKeySequence(Qt::CTRL | Qt::Key_O));
    separator(file, "mnuFileBar0");
    item(file, "mnuFileSave", "上書き保存(&S)", &frmMain::mnuFileSave_Click,
         QKeySequence(Qt::CTRL | Qt::Key_S));
    item(file, "mnuFileSaveAs", "名前を付けて保存(&A)...", &frmMain::mnuFileSaveAs_Click,
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_mnuFileRecent = file->addMenu(text("最近使ったファイル(&R)"));
    m_mnuFileRecent->setObjectName(QStringLiteral("mnuFileRecent"));
    separator(file, "mnuFileBar1");
    item(file, "mnuKao", "Egaochoを開く(&K)...", &frmMain::mnuKao_Click);
    separator(file, "mnuFileBar2");
    item(file, "mnuFileExit", "終了(&X)", &frmMain::mnuFileExit_Click);

    m_mnuEdit = menu("mnuEdit", "編集(&E)");
    item(m_mnuEdit, "mnuEditAll", "全て選択(&A)", &frmMain::mnuEditAll_Click,
         QKeySequence(Qt::CTRL | Qt::Key_A));
    separator(m_mnuEdit, "mnuEditBar0");
    item(m_mnuEdit, "mnuEditCut", "切り取り(&T)", &frmMain::mnuEditCut_Click,
         QKeySequence(Qt::CTRL | Qt::Key_X));
    item(m_mnuEdit, "mnuEditCopy", "ｺﾋﾟｰ(&C)", &frmMain::mnuEditCopy_Click,
         QKeySequence(Qt::CTRL | Qt::Key_C));
    item(m_mnuEdit, "mnuEditPaste", "貼り付け(&P)", &frmMain::mnuEditPaste_Click,
         QKeySequence(Qt::CTRL | Qt::Key_V));

    QMenu* view = menu("mnuView", "表示(&V)");
    item(view, "mnuLarge", "編集部分の最大化(&L)", &frmMain::mnuLarge_Click);
    item(view, "mnuBasic", "編集部分の標準化(&S)", &frmMain::mnuBasic_Click);
    separator(view, "mnuViewBar0");
    item(view, "mnuPushStep", "半角／全角／ﾄﾞｯﾄ移動の切り替え(&M)", &frmMain::togglePushStep,
         QKeySequence(Qt::Key_F7));

    QMenu* fava = menu("mnuFava", "お気に入り(&A)");
    item(fava, "mnuFavaPlas", "お気に入り文字の登録(&A)...", &frmMain::mnuFavaPlas_Click);

    // The tools that work beside the canvas each add one entry here (createTools).
    m_mnuTool = menu("mnuTool", "ﾂｰﾙ(&T)");

    QMenu* help = menu("mnuHelp", "ﾍﾙﾌﾟ(&H)");
    item(help, "mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", &frmMain::mnuHelpAbout_Click);
}

void frmMain::createTools()
{
    m_host = &EditorHost::of(*m_txtMain, *this);
    m_host->setMenuBar(menuBar());
    m_host->setNotice([this](const QString& said) { m_notice->setText(said); });
    m_host->setOpenText([this](std::u16string_view text) { return m_files->OpenText(text); });
    m_host->setOpenDocument([this](const auto& fill) { return m_files->OpenDocument(fill); });
    m_host->setOpenFile(
        [this](const QString& path) { return m_files->saveQuestion() && m_files->FileOpen(path); });
    m_host->setWindowRequest([this](const QString& name) {
        if (name == QLatin1String(library::kPartsWindow)) {
            emit libraryRequested();
        }
    });
    // In the order their entries stand in the menus: export's after the recent files and
    // after Paste, the block's below it, the underlay's closing the View menu, then the tools.
    auto* exportTool = new exporting::ExportTool(*m_host, this);
    auto* block = new BlockEditing(*m_txtMain, this);
    block->addMenuEntries(*m_host);
    m_tools = {
        exportTool,
        block,
        new underlay::Tracing(*m_host, this),
        new check::CheckTool(*m_host, this),
        new library::LibraryTool(*m_host, this),
    };
    m_tools.push_back(new shapes::ShapesTool(*m_host, this));
    m_tools.push_back(new pages::PagesTool(*m_host, this));
    m_guide = new dots::DotGuideTool(*m_host, this);
    connect(m_guide, &dots::DotGuideTool::guideChanged, this, &frmMain::DataShow);
    m_tools.push_back(m_guide);
    m_tools.push_back(new recovery::RecoveryTool(*m_host, this));
}

host::ToolHost& frmMain::toolHost() const
{
    return *m_host;
}

void frmMain::createToolBar()
{
    m_tbToolBar = addToolBar(QString());
    m_toolButtons = fillToolBar(*m_tbToolBar);
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(m_tbToolBar, &QToolBar::actionTriggered, this, &frmMain::tbToolBar_ButtonClick);
}

void frmMain::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("STBar"));
    bar->setSizeGripEnabled(true);
    const int minimumWidths[] = {px(3300), px(1500), px(1500), px(2200)};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("STBar_%1").arg(i + 1));
        panel->setMinimumWidth(minimumWidths[i]);
        bar->addWidget(panel);
        m_panels[static_cast<size_t>(i)] = panel;
    }
    // The encoding the canvas file is written in, at the right end of the bar.
    auto* encoding = new QLabel(bar);
    encoding->setObjectName(QStringLiteral("STBar_5"));
    encoding->setToolTip(text("保存するときの文字コード（名前を付けて保存で変えられます）"));
    bar->addPermanentWidget(encoding);
    m_panels[4] = encoding;
    m_panels[2]->setText(text("クリック入力"));
    m_panels[3]->hide();
    // The push step is switched where it is shown.
    m_panels[1]->installEventFilter(this);
    m_panels[1]->setCursor(Qt::PointingHandCursor);
    m_panels[1]->setToolTip(text("クリックで半角・全角・ﾄﾞｯﾄ移動を切り替えます (F7)"));
    // What the last operation did, when it did less or more than asked; until the next key.
    m_notice = new QLabel(bar);
    m_notice->setObjectName(QStringLiteral("STBar_notice"));
    bar->addPermanentWidget(m_notice);
}

void frmMain::createWorkingArea()
{
    auto* client = new QWidget(this);
    setCentralWidget(client);
    // A docked panel that appears, goes or is dragged wider changes the working area without
    // resizing the window: the layout follows the working area.
    client->installEventFilter(this);

    // The etched rule under the toolbar: a shadow line over a light one.
    m_line4 = new QFrame(client);
    m_line4->setObjectName(QStringLiteral("Line4"));
    m_line4->setAutoFillBackground(true);
    m_line4->setBackgroundRole(QPalette::Dark);
    m_line3 = new QFrame(client);
    m_line3->setObjectName(QStringLiteral("Line3"));
    m_line3->setAutoFillBackground(true);
    m_line3->setBackgroundRole(QPalette::Base);

    m_picMain = new QWidget(client);
    m_picMain->setObjectName(QStringLiteral("picMain"));

    m_txtMain = createTxtMain(m_picMain);
    m_frames = buildPaletteFrames(m_picMain);
    connectPaletteFrames();

    m_hsbMain = new QScrollBar(Qt::Horizontal, client);
    m_hsbMain->setObjectName(QStringLiteral("hsbMain"));
    connect(m_hsbMain, &QScrollBar::valueChanged, this, &frmMain::hsbMain_Change);

    applyGeometry();
}

CanvasWidget* frmMain::createTxtMain(QWidget* parent)
{
    // The widget is named txtMain, never wraps, shows both scroll bars and has no undo of its
    // own: the canvas controller keeps the history of whole canvases.
    auto* edit = new CanvasWidget(parent, m_document);
    edit->setFont(QFont(platform::kGothic, 12));
    edit->setEditMenu(m_mnuEdit);
    edit->controller().setCallbacks({
        .dataShow = [this] { DataShow(); },
        .historyChanged = [this] { updateUndoButtons(); },
        .sizeChanged = [this] { showCanvasSize(); },
        .clickStamp = {},  // click input sets it with setClickStamp
        .notice = [this](const QString& said) { m_notice->setText(said); },
    });
    // Any caret move the controller did not make itself (a selection made by the window).
    connect(edit, &QPlainTextEdit::cursorPositionChanged, this, &frmMain::onCaretMoved);
    return edit;
}

void frmMain::connectPaletteFrames()
{
    for (int i = 0; i < kCategoryCount; ++i) {
        connect(m_frames.optMoji[static_cast<size_t>(i)], &QAbstractButton::clicked, this,
                [this, i] { optMoji_Click(i); });
    }
    connect(m_frames.cmdDel, &QPushButton::clicked, this, &frmMain::cmdDel_Click);
    connect(m_frames.cmdBack, &QPushButton::clicked, this, &frmMain::cmdBack_Click);
    connect(m_frames.cmdEnt, &QPushButton::clicked, this, &frmMain::cmdEnt_Click);
    // The press itself acts, with the modifiers held at that moment.
    for (QPushButton* b : m_frames.cmdCars) {
        b->installEventFilter(this);
    }
    m_pushStep = new PushStepChoice(m_frames.optPush, m_frames.chkUnicode, *m_txtMain, this);
}

void frmMain::Form_Load()
{
    const auto step = [](int n) {
        if (loadStepHook()) {
            loadStepHook()(n);
        }
    };
    EditorState& s = m_state;

    step(1);
    constexpr int keta = 35;
    constexpr int gyou = 20;
    canvas().setModified(false);
    s.ClickInput = false;
    s.WindowActivated = false;

    step(2);
    setWindowTitle(editorTitle(QString()));

    step(3);
    resizeOuter(kBaseWidth, kBaseHeight);
    m_geometry.txtMainTop = kCanvasTopStandard;

    step(4);
    m_hsbMain->hide();
    m_hsbMain->setSingleStep(100);
    m_hsbMain->setPageStep(1000);

    step(5);
    m_frames.cboSize->clear();
    m_frames.cboSize->addItems(platform::kCanvasFontSizes);

    step(6);
    s.FontIndex = 0;
    s.SizeIndex = 4;

    step(7);
    m_frames.txtKeta->setText(QString::number(keta));
    m_frames.txtGyou->setText(QString::number(gyou));

    step(8);
    canvas().setHalfPush(true);

    step(9);
    m_favouritesStore.read(this);

    step(10);
    toolButton(kUndoButton)->setEnabled(false);
    toolButton(kRedoButton)->setEnabled(false);
    menuItem(QStringLiteral("mnuBasic"))->setEnabled(false);

    step(11);
    statusPanel(3)->hide();

    step(12);
    for (int n = kFirstFavouriteButton; n <= kToolButtonCount; ++n) {
        toolButton(n)->setVisible(false);
    }

    step(13);
    for (QGroupBox* f : m_frames.fraButton) {
        f->hide();
        f->move(f->x(), px(300));
    }
    m_frames.fraButton[0]->show();

    step(14);
    m_frames.optMoji[0]->setChecked(true);
    optMoji_Click(0);

    step(15);
    // The blank canvas, with a history holding just it.
    canvas().resetCanvas(grid::blankCanvas(keta, gyou), keta, gyou);

    step(16);
    updateUndoButtons();

    step(17);
    takeSnapshot();

    step(18);
    DataShow();
}

// --- Procedures ---

void frmMain::RirekiKakunou()
{
    canvas().RirekiKakunou();
}

void frmMain::DataShow()
{
    m_notice->clear();
    m_panels[0]->setText(canvas().positionText());
    m_panels[1]->setText(canvas().pushModeText());
    showDots();
}

void frmMain::showDots()
{
    // Pictures drawn in the proportional font are mended in its dots.
    const bool dots = m_txtMain->font().family() == platform::kPGothic;
    m_panels[3]->setVisible(dots);
    if (!dots) {
        return;
    }
    // Read from the document as it stands and the caret as the canvas shows it: a writer may
    // have changed the text since the last snapshot, even its length.
    const std::u16string& text = m_document->page().text;
    size_t caret = std::min(static_cast<size_t>(std::max(canvasCaret(), 0)), text.size());
    if (caret > 0 && text[caret - 1] == u'\r') {
        --caret;
    }
    const QString guide = m_guide != nullptr ? m_guide->guideText() : QString();
    // A write is shown once: the document's signal and the position display both ask.
    const DotsShown shown{m_document->revision(), caret, guide};
    if (shown == m_dotsShown) {
        return;
    }
    m_dotsShown = shown;
    const size_t lf = caret == 0 ? std::u16string::npos : text.rfind(u'\n', caret - 1);
    const size_t start = lf == std::u16string::npos ? 0 : lf + 1;
    const size_t end = std::min(text.find(u'\r', start), text.size());
    static const board::DotRuler ruler;
    m_panels[3]->setText(dotText(ruler, std::u16string_view(text).substr(start, end - start),
                                 static_cast<int>(caret - start)) +
                         guide);
}

void frmMain::KakuSyuku()
{
    const bool backToStandard = m_state.EditMaximised;
    QAction* view = toolButton(kViewButton);
    view->setIcon(toolIcon(backToStandard ? "view-maximise" : "view-standard"));
    view->setToolTip(viewButtonTip(!backToStandard));

    shownPaletteFrame()->setVisible(backToStandard);
    m_frames.fraSaikin->setVisible(backToStandard);
    m_frames.fraEtc->setVisible(backToStandard);
    for (QAbstractButton* b : m_frames.optMoji) {
        b->setVisible(backToStandard);
    }
    menuItem(QStringLiteral("mnuLarge"))->setEnabled(backToStandard);
    menuItem(QStringLiteral("mnuBasic"))->setEnabled(!backToStandard);
    m_state.EditMaximised = !backToStandard;
    Form_Resize();
}

void frmMain::OkiniButtom()
{
    for (int n = 1; n <= input::Favourites::kSlots; ++n) {
        QAction* b = toolButton(kFirstFavouriteButton - 1 + n);
        const bool used = n <= favourites().FavCount();
        b->setToolTip(used ? QString::fromStdU16String(favourites().text(n)) : QString());
        b->setVisible(used);
    }
    m_state.WindowActivated = true;
}

void frmMain::Okini(const std::u16string& text)
{
    // Laid over the canvas like a paste, so a favourite of several characters keeps the grid.
    canvas().pasteText(input::textToWrite(text));
    m_txtMain->setFocus();
}

// --- The canvas ---

CanvasController& frmMain::canvas() const
{
    return m_txtMain->controller();
}

const document::History& frmMain::history() const
{
    return canvas().history();
}

std::u16string frmMain::canvasText() const
{
    return canvas().text();
}

void frmMain::setCanvasText(const std::u16string& text)
{
    canvas().replaceCanvas(text, canvas().keta(), canvas().gyou());
}

int frmMain::canvasCaret() const
{
    // While text is selected the caret the rules read is the selection's lower end.
    return m_txtMain->selectionStart();
}

void frmMain::setCanvasCaret(int offset)
{
    m_txtMain->setSelection(offset, 0);
    takeSnapshot();
}

void frmMain::takeSnapshot()
{
    canvas().caretMoved();
}

void frmMain::onCaretMoved()
{
    takeSnapshot();
}

// --- Controls ---

QAction* frmMain::toolButton(int number) const
{
    return m_toolButtons.at(static_cast<size_t>(number - 1));
}

QAction* frmMain::menuItem(const QString& name) const
{
    return menuBar()->findChild<QAction*>(name);
}

QLabel* frmMain::statusPanel(int number) const
{
    return m_panels.at(static_cast<size_t>(number - 1));
}

int frmMain::selectedCategory() const
{
    for (int i = 0; i < kCategoryCount; ++i) {
        if (m_frames.optMoji[static_cast<size_t>(i)]->isChecked()) {
            return i;
        }
    }
    return 0;
}

QGroupBox* frmMain::shownPaletteFrame() const
{
    return m_frames.fraButton[selectedCategory() == kSettingsCategory ? 1 : 0];
}

// --- Handlers ---

bool frmMain::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QMainWindow::event(e);
}

void frmMain::Form_Activate()
{
    OkiniButtom();
}

void frmMain::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    settleOuterSize();
    Form_Resize();
}

void frmMain::moveEvent(QMoveEvent* e)
{
    QMainWindow::moveEvent(e);
    settleOuterSize();
    // The window manager adds its frame after the first resize; the rules count the frame.
    if (frameGeometry().size() != m_laidOutFrame) {
        Form_Resize();
    }
}

void frmMain::resizeOuter(int widthTwips, int heightTwips)
{
    const QSize frameExtra = frameGeometry().size() - size();
    // A panel docked beside the canvas comes on top of the laid-out size, never out of it.
    resize(platform::pxSize(widthTwips, heightTwips) - frameExtra + QSize(dockedPanelsWidth(), 0));
    // Before the window manager has framed the window the frame is unknown.
    m_outerSizePending = frameExtra.isNull();
}

int frmMain::dockedPanelsWidth() const
{
    int panels = 0;
    for (const QDockWidget* dock : findChildren<QDockWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!dock->isHidden() && !dock->isFloating()) {
            // The panel and the handle between it and the working area.
            panels += (dock->width() > 0 ? dock->width() : dock->sizeHint().width()) +
                      style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
        }
    }
    return panels;
}

void frmMain::settleOuterSize()
{
    if (m_outerSizePending && frameGeometry().size() != size()) {
        resizeOuter(kBaseWidth, kBaseHeight);
    }
}

void frmMain::Form_Resize()
{
    m_laidOutFrame = frameGeometry().size();
    LayoutInput in;
    // The rules lay out the palette and the canvas in the working area's width: a docked
    // panel's width is not theirs, or the canvas would run past the window's edge.
    const int working = centralWidget()->width();
    in.outerWidth = twips(working + frameGeometry().width() - width());
    in.outerHeight = rulesOuterHeight();
    in.innerWidth = twips(working);
    in.view = m_state.EditMaximised ? ViewMode::Maximised : ViewMode::Standard;
    in.current = m_geometry;
    m_geometry = layoutWindow(in);
    applyGeometry();
}

int frmMain::rulesOuterHeight() const
{
    // The rules place the canvas and the scroll bar from the bottom of the outer window, as
    // drawn for a frame, menu, toolbar and status bar that together took 1455 twips besides the
    // working area. Ours are taller or shorter depending on the window manager and style, so
    // the rules see the outer height such a window would have around our working area: the
    // canvas then ends just above the status bar instead of under it.
    constexpr int kDesignedChrome = 1455;
    return twips(centralWidget()->height()) + kDesignedChrome;
}

void frmMain::applyGeometry()
{
    const WindowGeometry& g = m_geometry;
    m_picMain->setGeometry(px(g.picMainLeft), clientTop(480), px(g.picMainWidth),
                           px(g.picMainHeight));
    m_txtMain->setGeometry(px(75), px(g.txtMainTop), px(g.txtMainWidth), px(g.txtMainHeight));
    {
        // The layout already moved picMain to match the value.
        const QSignalBlocker quiet(m_hsbMain);
        m_hsbMain->setRange(0, g.hsbMaximum);
        m_hsbMain->setValue(g.hsbValue);
    }
    m_hsbMain->setGeometry(0, clientTop(g.hsbTop), px(g.hsbWidth), px(285));
    m_hsbMain->setVisible(g.hsbVisible);
    m_hsbMain->raise();
    m_line4->setGeometry(0, clientTop(450), px(g.ruleRight), 1);
    m_line3->setGeometry(0, clientTop(465), px(g.ruleRight), 1);
}

void frmMain::hsbMain_Change()
{
    m_geometry.hsbValue = m_hsbMain->value();
    m_geometry.picMainLeft = -m_geometry.hsbValue;
    m_picMain->move(px(m_geometry.picMainLeft), m_picMain->y());
}

void frmMain::closeEvent(QCloseEvent* e)
{
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        e->ignore();
    } else {
        e->accept();
    }
}

void frmMain::Form_QueryUnload(bool& cancel)
{
    if (canvas().modified() && !maybeSaveOnClose()) {
        cancel = true;
    }
    // Written whatever the answer, so the favourites are never lost.
    m_favouritesStore.write(this);
}

bool frmMain::maybeSaveOnClose()
{
    // A save that did not happen (cancelled or failed) keeps the picture on screen.
    return m_files->saveQuestion();
}

void frmMain::setModified(bool modified)
{
    canvas().setModified(modified);
}

void frmMain::tbToolBar_ButtonClick(QAction* button)
{
    const QString key = button ? button->data().toString() : QString();
    if (key.isEmpty()) {
        return;
    }
    const auto is = [&key](const char* k) { return key == text(k); };
    if (is("新規作成")) {
        mnuFileNew_Click();
    } else if (is("開く")) {
        mnuFileOpen_Click();
    } else if (is("上書き保存")) {
        mnuFileSave_Click();
    } else if (is("切り取り")) {
        mnuEditCut_Click();
    } else if (is("ｺﾋﾟｰ")) {
        mnuEditCopy_Click();
    } else if (is("貼り付け")) {
        mnuEditPaste_Click();
    } else if (is("元に戻す")) {
        undoCanvas();
    } else if (is("やり直し")) {
        redoCanvas();
    } else if (is("拡大縮小")) {
        KakuSyuku();
    } else if (is("クリック入力")) {
        toggleClickInput();
    } else if (is("ＢＲゲット")) {
        copyAsBrLine();
    } else {
        for (int slot = 1; slot <= 10; ++slot) {
            if (key == toolKey(kFirstFavouriteButton - 1 + slot)) {
                writeFavourite(slot);
                return;
            }
        }
    }
}

void frmMain::undoCanvas()
{
    // The controller restores text, caret and size and refreshes the position display.
    if (canvas().canUndo()) {
        canvas().undo();
        showCanvasSize();
        m_txtMain->setFocus();
    }
}

void frmMain::redoCanvas()
{
    if (canvas().canRedo()) {
        canvas().redo();
        showCanvasSize();
        m_txtMain->setFocus();
    }
}

void frmMain::showCanvasSize()
{
    m_frames.txtKeta->setText(QString::number(canvas().keta()));
    m_frames.txtGyou->setText(QString::number(canvas().gyou()));
}

void frmMain::updateUndoButtons()
{
    // Undo is offered while an older snapshot exists, redo while a newer one does.
    toolButton(kUndoButton)->setEnabled(canvas().canUndo());
    toolButton(kRedoButton)->setEnabled(canvas().canRedo());
}

void frmMain::optMoji_Click(int index)
{
    const bool settings = index == kSettingsCategory;
    m_palette->showCategory(index);
    m_frames.fraButton[0]->setVisible(!settings);
    m_frames.fraButton[1]->setVisible(settings);
    if (settings) {
        m_settings->showPage();
    }
    if (m_state.WindowActivated) {
        m_txtMain->setFocus();
    }
}

void frmMain::optPush_Click(int index)
{
    m_pushStep->choose(index);
}

void frmMain::restorePreferences()
{
    // The font first: the dot step is offered only in the proportional font.
    m_settings->restoreRemembered();
    m_pushStep->restore();
    DataShow();
}

void frmMain::togglePushStep()
{
    m_pushStep->next();
}

bool frmMain::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == centralWidget() && e->type() == QEvent::Resize) {
        Form_Resize();
    }
    if (watched == m_panels[1] && e->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        togglePushStep();
        return true;
    }
    if (e->type() == QEvent::MouseButtonPress) {
        const auto at = std::find(m_frames.cmdCars.begin(), m_frames.cmdCars.end(), watched);
        if (at != m_frames.cmdCars.end()) {
            cmdCars_MouseDown(static_cast<int>(at - m_frames.cmdCars.begin()),
                              static_cast<QMouseEvent*>(e)->modifiers());
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void frmMain::cmdCars_MouseDown(int index, Qt::KeyboardModifiers modifiers)
{
    static constexpr Qt::Key kArrows[] = {Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Right};
    const Qt::Key arrow = kArrows[index];
    m_txtMain->setFocus();
    modifiers &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (modifiers == Qt::NoModifier) {
        sendKeyToCanvas(arrow, QString());
    } else {
        // Alt pushes, Shift+Alt pulls; Shift or Ctrl alone is no push code and does nothing.
        canvas().KeyDown(arrow, modifiers);
    }
}

void frmMain::cmdDel_Click()
{
    m_txtMain->setFocus();
    sendKeyToCanvas(Qt::Key_Delete, QStringLiteral("\x7f"));
}

void frmMain::cmdBack_Click()
{
    m_txtMain->setFocus();
    sendKeyToCanvas(Qt::Key_Backspace, QStringLiteral("\b"));
}

void frmMain::cmdEnt_Click()
{
    m_txtMain->setFocus();
    sendKeyToCanvas(Qt::Key_Return, QStringLiteral("\r"));
}

void frmMain::sendKeyToCanvas(Qt::Key key, const QString& keyText)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, keyText);
    QCoreApplication::sendEvent(m_txtMain, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, keyText);
    QCoreApplication::sendEvent(m_txtMain, &release);
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuKao_Click()
{
    emit dictionaryRequested();
}

void frmMain::mnuHelpAbout_Click()
{
    emit aboutRequested();
}

void frmMain::mnuLarge_Click()
{
    KakuSyuku();
}

void frmMain::mnuBasic_Click()
{
    KakuSyuku();
}

void frmMain::mnuFileNew_Click()
{
    m_files->New();
}

void frmMain::mnuFileOpen_Click()
{
    m_files->Open();
}

void frmMain::mnuFileSave_Click()
{
    m_files->Save();
}

void frmMain::mnuFileSaveAs_Click()
{
    m_files->SaveAs();
}

void frmMain::KaoKara(const QString& path)
{
    if (m_files->KaoKara(path)) {
        emit kaoKaraAccepted();
    } else {
        emit kaoKaraDeclined();
    }
}

void frmMain::toggleClickInput()
{
    m_palette->toggleClickInput();
}

void frmMain::mnuEditAll_Click()
{
    ClipboardCommands::selectAll(*m_txtMain);
}

void frmMain::mnuEditCut_Click()
{
    ClipboardCommands::cut(*m_txtMain);
}

void frmMain::mnuEditCopy_Click()
{
    ClipboardCommands::copy(*m_txtMain);
}

void frmMain::mnuEditPaste_Click()
{
    ClipboardCommands::paste(*m_txtMain);
}

void frmMain::copyAsBrLine()
{
    ClipboardCommands::brGet(*m_txtMain);
}

void frmMain::mnuFavaPlas_Click()
{
    input::frmFava window(favourites(), this);
    window.exec();
    OkiniButtom();
}

void frmMain::writeFavourite(int slot)
{
    Okini(favourites().text(slot));
}

}  // namespace masumemo::editor
