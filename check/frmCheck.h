#pragma once
// The posting check beside the editor (not modal): the problems of the canvas as a board would
// see them, its bytes and lines against the limits, and the fix. It follows every change of the
// canvas, checking only the lines that changed, and marks the problems' cells in the canvas
// while it is open.

#include <QPointer>
#include <QWidget>

#include <memory>

#include "check/CheckedCanvas.h"
#include "check/LiveCheck.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeView;

namespace masumemo::check {

class CellMarks;
class ProblemList;

class frmCheck : public QWidget
{
    Q_OBJECT
public:
    /// Shows the check of canvas beside owner, creating it the first time; one per owner.
    static frmCheck* showFor(QWidget* owner, CheckedCanvas& canvas);

    frmCheck(QWidget* owner, CheckedCanvas& canvas);
    ~frmCheck() override;

    const LiveCheck& check() const { return m_check; }
    QTreeView* lvwProblems() const { return m_lvwProblems; }
    QLabel* lblBytes() const { return m_lblBytes; }
    QLabel* lblLines() const { return m_lblLines; }
    QSpinBox* spnMaxBytes() const { return m_spnMaxBytes; }
    QSpinBox* spnMaxLines() const { return m_spnMaxLines; }
    QCheckBox* chkUnicode() const { return m_chkUnicode; }
    QPushButton* cmdFix() const { return m_cmdFix; }
    QPushButton* cmdFixCopy() const { return m_cmdFixCopy; }

    /// Selects the cells of the problem in row and gives the canvas the focus.
    void chooseProblem(int row);
    /// The fix applied to the canvas as one undo step.
    void mendCanvas();
    /// The fixed text put on the clipboard; the canvas stays as it is.
    void copyMended();

private:
    void onLinesReplaced(int first, int removed, int added);
    void onLimitsChanged();
    void showFigures();
    /// The canvas fixed: cell-exact, or in the proportional font's dots while it is chosen.
    std::u16string fixedText() const;
    /// The problems again, with the lines the fix moves while the proportional font is chosen.
    void showProblems();
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool canvasAlive() const { return !m_canvasWidget.isNull(); }

    CheckedCanvas& m_canvas;
    QPointer<QWidget> m_canvasWidget;  ///< guards m_canvas: the editor may close first
    LiveCheck m_check;
    ProblemList* m_list = nullptr;
    std::unique_ptr<CellMarks> m_marks;
    QTreeView* m_lvwProblems = nullptr;
    QLabel* m_lblBytes = nullptr;
    QLabel* m_lblLines = nullptr;
    QSpinBox* m_spnMaxBytes = nullptr;
    QSpinBox* m_spnMaxLines = nullptr;
    QCheckBox* m_chkUnicode = nullptr;
    QPushButton* m_cmdFix = nullptr;
    QPushButton* m_cmdFixCopy = nullptr;
};

}  // namespace masumemo::check
