#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <exception>

#include "check/CheckTool.h"
#include "check/BoardSetting.h"
#include "dots/DotGuideTool.h"
#include "shapes/ShapesTool.h"
#include "editor/BlockEditing.h"
#include "editor/CanvasPreferences.h"
#include "editor/CanvasWidget.h"
#include "editor/ClipboardCommands.h"
#include "editor/EditorHost.h"
#include "editor/FileCommands.h"
#include "editor/PaletteInput.h"
#include "editor/PositionDisplay.h"
#include "editor/RecentFiles.h"
#include "editor/SettingsPage.h"
#include "editor/ToolBar.h"
#include "export/ExportCommands.h"
#include "library/LibraryTool.h"
#include "input/SettingsFile.h"
#include "input/frmFava.h"
#include "platform/Dialogs.h"
#include "board/DotRuler.h"
#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "platform/UpDown.h"
#include "underlay/Tracing.h"

// Resources of a static library are registered by name from the global namespace.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace masumemo::editor {

using platform::px;
using platform::pxRect;
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

/// The sizes offered for the canvas font, in points.

/// Places a child in twips.
void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(pxRect(left, top, width, height));
}

QString indexedName(const char* name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& title = QString())
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    return box;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption = QString())
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

/// The character buttons' palette: white faces.
QPalette whiteButtons(QPalette palette)
{
    palette.setColor(QPalette::Button, Qt::white);
    return palette;
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
    m_palette = new PaletteInput({.cmdMoji = m_cmdMoji,
                                  .cmdUse = m_cmdUse,
                                  .txtMain = m_txtMain,
                                  .clickPanel = m_panels[2],
                                  .toolBar = m_tbToolBar,
                                  .clickInput = &m_state.ClickInput,
                                  .dataShow = [this] { DataShow(); }},
                                 this);
    m_settings = new SettingsPage({.window = this,
                                   .cboFont = m_cboFont,
                                   .cboSize = m_cboSize,
                                   .txtKeta = m_txtKeta,
                                   .txtGyou = m_txtGyou,
                                   .cmdTekiyou = m_cmdTekiyou,
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
    canvasFontChanged();  // the font the canvas starts in offers the dot step or not
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
    m_guide = new dots::DotGuideTool(*m_host, this);
    connect(m_guide, &dots::DotGuideTool::guideChanged, this, &frmMain::DataShow);
    m_tools.push_back(m_guide);
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
    createCategoryRow();
    createPaletteFrame();
    createSettingsFrame();
    createRecentFrame();
    createEditKeysFrame();
    // The frames below start inside the category buttons' lowest pixels; the buttons must take
    // a click there, not the frame.
    for (QAbstractButton* b : m_optMoji) {
        b->raise();
    }

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
        // The title's "[*]" placeholder shows the mark while there are unsaved changes.
        .modifiedChanged = [this] { setWindowModified(canvas().modified()); },
        .clickStamp = {},  // click input sets it with setClickStamp
        .notice = [this](const QString& said) { m_notice->setText(said); },
    });
    edit->controller().setUnicodeSpaces(check::passesUnicode());
    edit->installEventFilter(this);
    // Any caret move the controller did not make itself (a selection made by the window).
    connect(edit, &QPlainTextEdit::cursorPositionChanged, this, &frmMain::onCaretMoved);
    return edit;
}

void frmMain::createCategoryRow()
{
    static const char* const captions[kCategoryCount] = {
        "半角記号・英数", "全角記号１", "全角記号２", "ギリシャ・罫線",
        "ロシア文字",     "全角英数",   "カナ・漢字", "設定"};
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < kCategoryCount; ++i) {
        // Button-like option buttons, laid edge to edge.
        auto* b = new QToolButton(m_picMain);
        b->setObjectName(indexedName("optMoji", i));
        b->setText(text(captions[i]));
        b->setCheckable(true);
        place(b, 75 + 1275 * i, 75, 1290, 315);
        group->addButton(b, i);
        connect(b, &QToolButton::clicked, this, [this, i] { optMoji_Click(i); });
        m_optMoji[static_cast<size_t>(i)] = b;
    }
}

void frmMain::createPaletteFrame()
{
    QGroupBox* grid = frame(m_picMain, QStringLiteral("fraButton_0"));
    place(grid, 75, 300, 10215, 1890);
    m_fraButton[0] = grid;
    const QPalette white = whiteButtons(palette());
    const QFont font(platform::kGothic, 12);
    for (int i = 0; i < kMojiCount; ++i) {
        QPushButton* b = button(grid, indexedName("cmdMoji", i));
        b->setFont(font);
        b->setPalette(white);
        b->setFocusPolicy(Qt::NoFocus);
        place(b, 150 + 375 * (i % 26), 225 + 375 * (i / 26), 375, 375);
        m_cmdMoji[static_cast<size_t>(i)] = b;
    }
}

void frmMain::createSettingsFrame()
{
    QGroupBox* page = frame(m_picMain, QStringLiteral("fraButton_1"));
    place(page, 75, 300, 10215, 1890);
    m_fraButton[1] = page;

    QGroupBox* size = frame(page, QStringLiteral("fraSize"), text("フォント・文字数・行数"));
    place(size, 150, 150, 6165, 1590);
    place(label(size, QStringLiteral("lblFont"), text("フォント種類：")), 60, 225, 1260, 300);
    place(label(size, QStringLiteral("lblSize"), text("フォントサイズ：")), 60, 675, 1260, 300);
    place(label(size, QStringLiteral("lblKeta"), text("１行の文字数（全角）：")), 2895, 225, 1875,
          315);
    place(label(size, QStringLiteral("lblGyou"), text("行数：")), 2895, 675, 1875, 315);

    m_cboFont = new QComboBox(size);
    m_cboFont->setObjectName(QStringLiteral("cboFont"));
    m_cboFont->addItems({platform::kGothic, platform::kPGothic});
    place(m_cboFont, 1350, 225, 1515, 300);
    m_cboSize = new QComboBox(size);
    m_cboSize->setObjectName(QStringLiteral("cboSize"));
    place(m_cboSize, 1350, 675, 1515, 300);

    const auto numberBox = [size](const char* name, const char* spinName, int top,
                                  platform::UpDown*& spin) {
        auto* box = new QLineEdit(size);
        box->setObjectName(QLatin1String(name));
        place(box, 4800, top, 660, 315);
        spin = new platform::UpDown(size);
        spin->setObjectName(QLatin1String(spinName));
        spin->setRange(1, 100);
        place(spin, 4800 + 660, top, 255, 315);
        // The spin control steps from whatever number the box holds and writes it back.
        connect(box, &QLineEdit::textChanged, spin,
                [spin](const QString& t) { spin->setValue(t.toInt()); });
        connect(spin, &platform::UpDown::stepped, box,
                [box](int value) { box->setText(QString::number(value)); });
        return box;
    };
    m_txtKeta = numberBox("txtKeta", "UpDown1", 225, m_upDown1);
    m_txtGyou = numberBox("txtGyou", "UpDown2", 675, m_upDown2);

    m_cmdTekiyou = button(size, QStringLiteral("cmdTekiyou"), text("適用(&A)"));
    place(m_cmdTekiyou, 4350, 1125, 1665, 315);

    QGroupBox* push = frame(page, QStringLiteral("fraPush"), text("押し・引きでの、文字移動"));
    place(push, 6450, 150, 3465, 1590);
    const char* const pushCaptions[] = {"半角モード（半角１文字移動します）",
                                        "全角モード（全角１文字移動します）",
                                        "ﾄﾞｯﾄﾓｰﾄﾞ（1ﾄﾞｯﾄ移動します）"};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(text(pushCaptions[i]), push);
        option->setObjectName(indexedName("optPush", i));
        place(option, 300, 270 + 300 * i, 3465 - 300 - 60, 285);
        connect(option, &QRadioButton::clicked, this, [this, i] { optPush_Click(i); });
        m_optPush[static_cast<size_t>(i)] = option;
    }
    m_optPush[0]->setChecked(true);
    // One setting with the posting check's: a fact about the board the picture is for.
    m_chkUnicode = new QCheckBox(text("Unicodeを通す掲示板(&U)"), push);
    m_chkUnicode->setObjectName(QStringLiteral("chkUnicode"));
    place(m_chkUnicode, 300, 1200, 3465 - 300 - 60, 285);
    m_chkUnicode->setChecked(check::passesUnicode());
    connect(m_chkUnicode, &QCheckBox::toggled, this, [](bool on) { check::setPassesUnicode(on); });
    connect(&check::BoardSetting::instance(), &check::BoardSetting::passesUnicodeChanged, this,
            [this](bool on) {
                const QSignalBlocker quiet(m_chkUnicode);
                m_chkUnicode->setChecked(on);
                canvas().setUnicodeSpaces(on);
            });
}

void frmMain::createRecentFrame()
{
    m_fraSaikin = frame(m_picMain, QStringLiteral("fraSaikin"), text("最近使ったキー"));
    place(m_fraSaikin, 75, 2175, 7065, 765);
    const QFont font(platform::kPGothic, 12);
    const QPalette white = whiteButtons(palette());
    for (int i = 0; i < kUseCount; ++i) {
        QPushButton* b = button(m_fraSaikin, indexedName("cmdUse", i));
        b->setFont(font);
        b->setPalette(white);
        b->setFocusPolicy(Qt::NoFocus);
        place(b, 150 + 375 * i, 225, 375, 375);
        m_cmdUse[static_cast<size_t>(i)] = b;
    }
}

void frmMain::createEditKeysFrame()
{
    m_fraEtc = frame(m_picMain, QStringLiteral("fraEtc"));
    place(m_fraEtc, 7200, 2175, 3090, 765);
    const auto key = [this](const QString& name, const char* caption, int left) {
        QPushButton* b = button(m_fraEtc, name, text(caption));
        b->setFocusPolicy(Qt::NoFocus);
        place(b, left, 225, 375, 375);
        return b;
    };
    connect(key(QStringLiteral("cmdDel"), "Del", 150), &QPushButton::clicked, this,
            &frmMain::cmdDel_Click);
    connect(key(QStringLiteral("cmdBack"), "BS", 525), &QPushButton::clicked, this,
            &frmMain::cmdBack_Click);
    connect(key(QStringLiteral("cmdEnt"), "Ent", 900), &QPushButton::clicked, this,
            &frmMain::cmdEnt_Click);
    const char* const arrows[] = {"←", "↑", "↓", "→"};
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = key(indexedName("cmdCars", i), arrows[i], 1425 + 375 * i);
        // The press itself acts, with the modifiers held at that moment.
        b->installEventFilter(this);
        m_cmdCars[static_cast<size_t>(i)] = b;
    }
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
    setWindowTitle(text("住所不定[*] - Masumemo"));

    step(3);
    resizeOuter(kBaseWidth, kBaseHeight);
    m_geometry.txtMainTop = kCanvasTopStandard;

    step(4);
    m_hsbMain->hide();
    m_hsbMain->setSingleStep(100);
    m_hsbMain->setPageStep(1000);

    step(5);
    m_cboSize->clear();
    m_cboSize->addItems(kCanvasFontSizes);

    step(6);
    s.FontIndex = 0;
    s.SizeIndex = 4;

    step(7);
    m_txtKeta->setText(QString::number(keta));
    m_txtGyou->setText(QString::number(gyou));

    step(8);
    canvas().setHalfPush(true);

    step(9);
    readSettingsFile();

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
    for (QGroupBox* f : m_fraButton) {
        f->hide();
        f->move(f->x(), px(300));
    }
    m_fraButton[0]->show();

    step(14);
    m_optMoji[0]->setChecked(true);
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
    // Pictures drawn in the proportional font are mended in its dots.
    const bool dots = m_txtMain->font().family() == platform::kPGothic;
    m_panels[3]->setVisible(dots);
    if (dots) {
        m_panels[3]->setText(
            dotText(board::DotRuler(), canvas().snapshotLineText(), canvas().snapshot().column) +
            (m_guide != nullptr ? m_guide->guideText() : QString()));
    }
}

void frmMain::KakuSyuku()
{
    const bool backToStandard = m_state.EditMaximised;
    QAction* view = toolButton(kViewButton);
    view->setIcon(toolIcon(backToStandard ? "view-maximise" : "view-standard"));
    view->setToolTip(viewButtonTip(!backToStandard));

    shownPaletteFrame()->setVisible(backToStandard);
    m_fraSaikin->setVisible(backToStandard);
    m_fraEtc->setVisible(backToStandard);
    for (QAbstractButton* b : m_optMoji) {
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
        const bool used = n <= m_favourites.FavCount();
        b->setToolTip(used ? QString::fromStdU16String(m_favourites.text(n)) : QString());
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
        if (m_optMoji[static_cast<size_t>(i)]->isChecked()) {
            return i;
        }
    }
    return 0;
}

QGroupBox* frmMain::shownPaletteFrame() const
{
    return m_fraButton[selectedCategory() == kSettingsCategory ? 1 : 0];
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
    resize(platform::pxSize(widthTwips, heightTwips) - frameExtra);
    // Before the window manager has framed the window the frame is unknown.
    m_outerSizePending = frameExtra.isNull();
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
    in.outerWidth = twips(frameGeometry().width());
    in.outerHeight = rulesOuterHeight();
    in.innerWidth = twips(width());
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
    writeSettingsFile();
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

void frmMain::readSettingsFile()
{
    // A missing or unreadable file means no favourites; it never stops the window.
    QString reason;
    const input::SettingsRead read = input::readSettings(m_favourites, &reason);
    m_favouritesAsRead = m_favourites.registered();
    m_settingsReadWhole = read == input::SettingsRead::Read || read == input::SettingsRead::Missing;
    // Told once for each state of the file, not at every editor window.
    static QSet<QString> told;
    const QFileInfo file(input::settingsPath());
    const QString state = QStringLiteral("%1|%2|%3")
                              .arg(file.absoluteFilePath(), QString::number(file.size()),
                                   QString::number(file.lastModified().toMSecsSinceEpoch()));
    const QString notice = input::settingsReadNotice(read, reason);
    if (!notice.isEmpty() && !told.contains(state)) {
        told.insert(state);
        platform::Dialogs::instance().message(this, notice, platform::Dialogs::Buttons::Ok,
                                              platform::Dialogs::Icon::Warning);
    }
}

void frmMain::writeSettingsFile()
{
    // Untouched favourites leave the file as it is, whatever another window wrote meanwhile.
    if (m_favourites.registered() == m_favouritesAsRead) {
        return;
    }
    QString error = QStringLiteral("このファイルは全部は読めなかったので、書き換えません。");
    if (m_settingsReadWhole &&
        input::saveFavouriteChanges(m_favouritesAsRead, m_favourites, &error)) {
        m_favouritesAsRead = m_favourites.registered();
    } else {
        // The close goes on; the user learns that the favourites were not kept.
        platform::Dialogs::instance().message(
            this,
            text("お気に入り文字を保存できませんでした。") + QLatin1Char('\n') +
                QDir::toNativeSeparators(input::settingsPath()) + QLatin1Char('\n') + error,
            platform::Dialogs::Buttons::Ok, platform::Dialogs::Icon::Warning);
    }
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
        clickInput_Toggle();
    } else if (is("ＢＲゲット")) {
        brGet_Click();
    } else {
        for (int slot = 1; slot <= 10; ++slot) {
            if (key == toolKey(kFirstFavouriteButton - 1 + slot)) {
                favourite_Click(slot);
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
    m_txtKeta->setText(QString::number(canvas().keta()));
    m_txtGyou->setText(QString::number(canvas().gyou()));
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
    m_fraButton[0]->setVisible(!settings);
    m_fraButton[1]->setVisible(settings);
    if (settings) {
        m_settings->showPage();
    }
    if (m_state.WindowActivated) {
        m_txtMain->setFocus();
    }
}

void frmMain::optPush_Click(int index)
{
    const PushStep steps[] = {PushStep::Half, PushStep::Full, PushStep::Dot};
    index = std::clamp(index, 0, 2);
    if (static_cast<int>(canvas().pushStep()) != index) {
        rememberPushStep(index);
    }
    canvas().setPushStep(steps[index]);  // shows the step in panel 2
    m_txtMain->setFocus();
}

bool frmMain::dotStepOffered() const
{
    return m_txtMain->font().family() == platform::kPGothic;
}

void frmMain::restorePreferences()
{
    // The font first: the dot step is offered only in the proportional font.
    m_settings->restoreRemembered();
    int step = readCanvasPreferences().pushStep;
    if (step == 2 && !dotStepOffered()) {
        step = 0;
    }
    m_optPush[static_cast<size_t>(step)]->setChecked(true);
    const PushStep steps[] = {PushStep::Half, PushStep::Full, PushStep::Dot};
    canvas().setPushStep(steps[step]);
    DataShow();
}

void frmMain::togglePushStep()
{
    // Half, full, and the dot step while the proportional font is shown.
    int next = (static_cast<int>(canvas().pushStep()) + 1) % 3;
    if (next == 2 && !dotStepOffered()) {
        next = 0;
    }
    m_optPush[static_cast<size_t>(next)]->setChecked(true);
    optPush_Click(next);
}

void frmMain::canvasFontChanged()
{
    const bool offered = dotStepOffered();
    m_optPush[2]->setEnabled(offered);
    if (!offered && canvas().pushStep() == PushStep::Dot) {
        m_optPush[0]->setChecked(true);
        canvas().setPushStep(PushStep::Half);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_txtMain && e->type() == QEvent::FontChange) {
        canvasFontChanged();
    }
    if (watched == m_panels[1] && e->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        togglePushStep();
        return true;
    }
    if (e->type() == QEvent::MouseButtonPress) {
        const auto at = std::find(m_cmdCars.begin(), m_cmdCars.end(), watched);
        if (at != m_cmdCars.end()) {
            cmdCars_MouseDown(static_cast<int>(at - m_cmdCars.begin()),
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

void frmMain::clickInput_Toggle()
{
    m_palette->clickInput_Toggle();
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

void frmMain::brGet_Click()
{
    ClipboardCommands::brGet(*m_txtMain);
}

void frmMain::mnuFavaPlas_Click()
{
    input::frmFava window(m_favourites, this);
    window.exec();
    OkiniButtom();
}

void frmMain::favourite_Click(int slot)
{
    Okini(m_favourites.text(slot));
}

}  // namespace masumemo::editor
