#pragma once
// The editor window: the canvas with the palette and settings area above it, the toolbar, the
// menus and the status bar. The grid rules live in grid/ and input/, the layout and the
// position texts in Layout and PositionDisplay; this class builds the controls and routes
// their events to handlers named after the control and the event.

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/CanvasWidget.h"
#include "document/Document.h"
#include "editor/EditorState.h"
#include "editor/FavouritesStore.h"
#include "editor/Layout.h"
#include "editor/PaletteFrames.h"
#include "editor/ToolBar.h"
#include "grid/LineModel.h"

class QAbstractButton;
class QCheckBox;
class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolBar;

namespace masumemo::platform {
class UpDown;
}

namespace masumemo::dots {
class DotGuideTool;
}

namespace masumemo::host {
class ToolHost;
}

namespace masumemo::editor {

class EditorHost;
class FileCommands;

class PaletteInput;
class PushStepChoice;
class SettingsPage;

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int kToolButtonCount = editor::kToolButtonCount;
    static constexpr int kFirstFavouriteButton = editor::kFirstFavouriteButton;
    static constexpr int kMojiCount = editor::kMojiCount;
    static constexpr int kUseCount = editor::kUseCount;
    static constexpr int kCategoryCount = editor::kPaletteCategoryCount;
    static constexpr int kSettingsCategory = 7;

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    /// Tests make window creation fail: the hook runs before each of its 18 steps (1-based)
    /// and may throw. An empty hook removes it.
    static void setLoadStepHookForTesting(std::function<void(int step)> hook);

    const EditorState& state() const { return m_state; }
    EditorState& state() { return m_state; }
    const document::History& history() const;
    const WindowGeometry& layoutGeometry() const { return m_geometry; }
    /// The canvas changed since it was last opened, saved or made new.
    void setModified(bool modified);

    // --- Procedures used across the window ---
    /// Records the canvas as it stands (text, caret, size) as the newest undo snapshot.
    void RirekiKakunou();
    /// Rewrites status panels 1 and 2 from the line snapshot, and panel 4 while the
    /// proportional font is chosen.
    void DataShow();
    /// Status panel 4 while the proportional font is chosen: the caret's dots on its line.
    void showDots();
    /// Switches between the standard view and the maximised edit area.
    void KakuSyuku();
    /// Lays out the favourite buttons and notes that the window has been active.
    void OkiniButtom();
    /// Writes a favourite at the caret (a selection is blanked first) and gives txtMain the
    /// focus.
    void Okini(const std::u16string& text);
    /// Favourites and FavCount, read at creation and written at each close request.
    input::Favourites& favourites() { return m_favouritesStore.favourites(); }

    // --- The canvas ---
    /// The picture the window shows and edits, and the file it belongs to.
    document::Document& document() const { return *m_document; }
    CanvasWidget* txtMain() const { return m_txtMain; }
    /// The canvas model and its edit rules.
    CanvasController& canvas() const;
    /// The canvas text as the grid sees it: lines joined by CR LF.
    std::u16string canvasText() const;
    /// Replaces the whole text at the present size without recording it.
    void setCanvasText(const std::u16string& text);
    /// The caret as a canvas offset (a line break counting two).
    int canvasCaret() const;
    void setCanvasCaret(int offset);
    /// PrevLines, PrevLine, PrevCol from the canvas as it stands, and the position display.
    void takeSnapshot();
    /// New, Open, Save, Save As, FileOpen and FileSave.
    FileCommands& files() const { return *m_files; }

    // --- Controls ---
    /// Toolbar buttons numbered from 1 as laid out, separators included.
    QAction* toolButton(int number) const;
    QToolBar* tbToolBar() const { return m_tbToolBar; }
    QMenu* mnuEdit() const { return m_mnuEdit; }
    QMenu* mnuTool() const { return m_mnuTool; }
    QAction* menuItem(const QString& name) const;
    QAbstractButton* optMoji(int index) const { return m_frames.optMoji.at(static_cast<size_t>(index)); }
    QPushButton* cmdMoji(int index) const { return m_frames.cmdMoji.at(static_cast<size_t>(index)); }
    QPushButton* cmdUse(int index) const { return m_frames.cmdUse.at(static_cast<size_t>(index)); }
    QGroupBox* fraButton(int index) const { return m_frames.fraButton.at(static_cast<size_t>(index)); }
    QLineEdit* txtKeta() const { return m_frames.txtKeta; }
    QLineEdit* txtGyou() const { return m_frames.txtGyou; }
    QComboBox* cboFont() const { return m_frames.cboFont; }
    QComboBox* cboSize() const { return m_frames.cboSize; }
    QPushButton* cmdTekiyou() const { return m_frames.cmdTekiyou; }
    QScrollBar* hsbMain() const { return m_hsbMain; }
    QWidget* picMain() const { return m_picMain; }
    /// Status panels 1 to 4, and 5: the encoding of the canvas file.
    QLabel* statusPanel(int number) const;
    /// The palette's input side (grid captions, recently used row, click input).
    PaletteInput& paletteInput() const { return *m_palette; }
    /// The font and canvas size page.
    SettingsPage& settingsPage() const { return *m_settings; }
    /// What the tools were built with: the document, the canvas, the menus.
    host::ToolHost& toolHost() const;

    // --- Handlers ---
    void Form_Activate();
    void Form_Resize();
    /// Sets cancel to keep the window open.
    void Form_QueryUnload(bool& cancel);
    void tbToolBar_ButtonClick(QAction* button);
    void optMoji_Click(int index);
    void optPush_Click(int index);
    /// Goes round the push steps: half, full, and the dot step while the canvas font is the
    /// proportional one (F7, a click on status panel 2).
    void togglePushStep();
    /// The canvas font, size and push step the settings remember, applied after Form_Load.
    void restorePreferences();
    /// The keypad's arrows: with a modifier held, the push operations; else the arrow key.
    void cmdCars_MouseDown(int index, Qt::KeyboardModifiers modifiers);
    void cmdDel_Click();
    void cmdBack_Click();
    void cmdEnt_Click();
    void hsbMain_Change();
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuKao_Click();
    void mnuFileExit_Click();
    void mnuEditAll_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuLarge_Click();
    void mnuBasic_Click();
    void mnuFavaPlas_Click();
    void mnuHelpAbout_Click();

public slots:
    /// The dictionary hands the file at path over for editing: the save question, then the
    /// file becomes the canvas. Answers with kaoKaraAccepted or kaoKaraDeclined.
    void KaoKara(const QString& path);

signals:
    /// KaoKara opened the file.
    void kaoKaraAccepted();
    /// KaoKara left the canvas as it was (Cancel, a save that did not happen, an unreadable file).
    void kaoKaraDeclined();
    /// The About window is wanted (the window registry shows it).
    void aboutRequested();
    /// The dictionary window is wanted.
    void dictionaryRequested();
    /// The parts window "AA素材" is wanted.
    void libraryRequested();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Construction, in the order the window is put together.
    void createMenus();
    /// Builds every tool through the host; each adds its own menu entries.
    void createTools();
    void createToolBar();
    void createStatusBar();
    void createWorkingArea();
    CanvasWidget* createTxtMain(QWidget* parent);
    /// Wires the frames above the canvas to the handlers.
    void connectPaletteFrames();
    void Form_Load();

    // Toolbar commands not belonging to a menu.
    void undoCanvas();
    void redoCanvas();
    /// Shows the canvas size in txtKeta and txtGyou.
    void showCanvasSize();
    /// A keystroke for txtMain, as if typed.
    void sendKeyToCanvas(Qt::Key key, const QString& text);
    void updateUndoButtons();
    void toggleClickInput();
    void copyAsBrLine();
    void writeFavourite(int slot);

    // Close request steps, completed with the file commands and the settings file.
    /// Asks to save a changed canvas; false keeps the window open.
    bool maybeSaveOnClose();

    void onCaretMoved();
    void applyGeometry();
    int rulesOuterHeight() const;
    int dockedPanelsWidth() const;
    void resizeOuter(int widthTwips, int heightTwips);
    void settleOuterSize();
    QGroupBox* shownPaletteFrame() const;
    int selectedCategory() const;

    document::Document* m_document = nullptr;
    EditorState m_state;
    FavouritesStore m_favouritesStore;
    WindowGeometry m_geometry;
    QSize m_laidOutFrame;  ///< the outer size the geometry was computed for
    /// The designed size is the outer size; it is set again once the frame is known.
    bool m_outerSizePending = false;

    QMenu* m_mnuEdit = nullptr;
    QMenu* m_mnuTool = nullptr;
    QMenu* m_mnuFileRecent = nullptr;
    QToolBar* m_tbToolBar = nullptr;
    std::array<QAction*, kToolButtonCount> m_toolButtons{};
    std::array<QLabel*, 5> m_panels{};
    QFrame* m_line4 = nullptr;
    QFrame* m_line3 = nullptr;
    QWidget* m_picMain = nullptr;
    CanvasWidget* m_txtMain = nullptr;
    /// What panel 4 shows the dots of: the document's revision, the caret, the guide.
    struct DotsShown
    {
        quint64 revision = ~quint64(0);
        size_t caret = 0;
        QString guide;
        friend bool operator==(const DotsShown&, const DotsShown&) = default;
    };
    DotsShown m_dotsShown;
    PaletteFrames m_frames;
    PushStepChoice* m_pushStep = nullptr;
    QLabel* m_notice = nullptr;
    dots::DotGuideTool* m_guide = nullptr;
    QScrollBar* m_hsbMain = nullptr;
    std::unique_ptr<FileCommands> m_files;
    EditorHost* m_host = nullptr;
    /// The tools built through the host (createTools), children of the window.
    std::vector<QObject*> m_tools;
    PaletteInput* m_palette = nullptr;
    SettingsPage* m_settings = nullptr;
};

}  // namespace masumemo::editor
