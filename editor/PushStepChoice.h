#pragma once
// The push step on the settings page: half, full, and the dot step, which is offered only while
// the canvas shows the proportional font. Beside it, the board's Unicode setting, one setting
// with the posting check's.

#include <QObject>
#include <array>

class QCheckBox;
class QRadioButton;

namespace masumemo::editor {

class CanvasWidget;

class PushStepChoice : public QObject
{
    Q_OBJECT
public:
    /// Hooks itself to the three options, the Unicode box and the canvas's font changes.
    PushStepChoice(std::array<QRadioButton*, 3> optPush, QCheckBox* chkUnicode,
                   CanvasWidget& canvas, QObject* parent);

    /// An option was chosen (0 half, 1 full, 2 dot): the canvas takes it and it is remembered.
    void choose(int index);
    /// Half, full, and the dot step where it is offered, round again.
    void next();
    /// The remembered step, or the half step where the dot step is not offered.
    void restore();
    bool dotStepOffered() const;
    /// A font that does not offer the dot step while it is on goes back to the half step.
    void fontChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(int index);

    std::array<QRadioButton*, 3> m_optPush;
    CanvasWidget& m_canvas;
};

}  // namespace masumemo::editor
