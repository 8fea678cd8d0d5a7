#pragma once
// The emoticon window Egaocho: a dictionary file is chosen in one list and an emoticon in the
// other; the emoticon goes to the clipboard and the window the user came from is brought back
// to the front, so the user can paste at once. The window shrinks to its title bar when the
// mouse has left it alone for a while.

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>

#include "dictionary/DictionaryFiles.h"
#include "dictionary/ForegroundTracker.h"
#include "dictionary/KaoRules.h"

class QAction;
class QComboBox;
class QCompleter;
class QModelIndex;
class QStandardItemModel;
class QFrame;
class QMenu;
class QSpinBox;
class QTimer;

namespace masumemo::dictionary {

class frmKao : public QMainWindow
{
    Q_OBJECT
public:
    /// Builds the window and loads the dictionary list at once, showing its messages. Without
    /// a foreground the one of the running platform is used.
    explicit frmKao(QWidget* parent = nullptr,
                    std::unique_ptr<platform::Foreground> foreground = nullptr);
    ~frmKao() override;

    // The timers' handlers, public so tests can tick them without waiting.
    void Timer1_Timer();
    void tmrSmall_Timer();

    /// The dictionary list as it stands; row r of cboFile is record r.
    const DictionaryList& dictFiles() const { return m_list; }
    int LastFileIndex() const { return m_lastFileIndex; }
    const ForegroundTracker& tracker() const { return m_tracker; }
    const IdleShrink& idle() const { return m_idle; }

public slots:
    /// The editor opened the file handed over by editRequested: this window's work is done.
    void editAccepted();
    /// The editor did not open it (its save question was cancelled, or the file could not be
    /// read): the window comes back as it was.
    void editDeclined();

signals:
    /// "Masumemoを開く": the editor is wanted; whoever owns the windows shows it.
    void editorRequested();
    /// The edit command hands a dictionary file to the editor; this window is hidden until
    /// editAccepted() or editDeclined() answers.
    void editRequested(const QString& path);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildMenu();
    void buildControls();
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_MouseMove();

    void cboFile_Click(int row);
    void cboData_Click(int row);
    /// Typing into the entry list: the matches of the chosen file drop down under it.
    void cboData_Search(const QString& typed);
    /// A match chosen from the drop-down: copied as a choice from the list is.
    void chooseMatch(const QModelIndex& match);
    void UpDown1_Change(int value);
    void mnuAdd_Click();
    void mnuDel_Click();
    void mnuEdit_Click();
    void mnuMojiOpen_Click();
    void mnuEnd_Click();
    void mnuTop_Toggled(bool on);

    /// cboFile as the list's display names, row `row` selected, without running its handler.
    void fillFiles(int row);
    /// cboData as the entries of record `row` (empty for none), no entry selected.
    void fillData(int row);
    /// Remove and Edit act on a listed file: they are offered only while there is one.
    void updateMenus();

    /// Sets the outer size (frame included) in twips; fixed, so the user cannot drag it.
    void setOuterSize(int width, int height);
    void applyOuterSize();
    /// Title bar and borders in pixels: none until the window manager has framed the window.
    QSize frameExtra() const;
    int outerWidthTwips() const;
    void setFullControlsVisible(bool visible);
    /// Puts the window's client area at m_placeToKeep.
    void keepPlace();

    std::unique_ptr<platform::Foreground> m_foreground;
    ForegroundTracker m_tracker;
    IdleShrink m_idle;
    DictionaryList m_list;
    int m_lastFileIndex = 0;
    QSize m_outerTwips;
    QSize m_appliedFrame;
    /// Where the focus was when the window shrank; it goes back there when restored.
    QPointer<QWidget> m_focusBeforeShrink;
    /// The client area's place when the window was hidden for a hand-over to the editor.
    QPoint m_placeBeforeHandOver;
    /// Set while a declined hand-over shows the window again, until it is active.
    std::optional<QPoint> m_placeToKeep;

    QMenu* m_mnuFile = nullptr;
    QAction* m_mnuDel = nullptr;
    QAction* m_mnuEdit = nullptr;
    QWidget* m_surface = nullptr;
    QFrame* m_line1 = nullptr;
    QFrame* m_line2 = nullptr;
    QComboBox* m_cboFile = nullptr;
    QComboBox* m_cboData = nullptr;
    QCompleter* m_search = nullptr;
    QStandardItemModel* m_matches = nullptr;
    QSpinBox* m_upDown1 = nullptr;
    QTimer* m_timer1 = nullptr;
    QTimer* m_tmrSmall = nullptr;
};

}  // namespace masumemo::dictionary
