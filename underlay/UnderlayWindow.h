#pragma once
// The small "下絵" window: opacity, scale and offset of the underlay, each applied at once, and
// the aligning mode in which the canvas moves the picture instead of selecting text.

#include <QWidget>

class QCheckBox;
class QSlider;
class QSpinBox;

namespace masumemo::underlay {

class Tracing;

class UnderlayWindow final : public QWidget
{
    Q_OBJECT
public:
    UnderlayWindow(Tracing& tracing, QWidget* parent);

protected:
    void hideEvent(QHideEvent* e) override;

private:
    /// Shows the underlay's current state without sending it back.
    void refresh();
    void apply();

    Tracing& m_tracing;
    QSlider* m_opacitySlider;
    QSpinBox* m_opacity;
    QSlider* m_scaleSlider;
    QSpinBox* m_scale;
    QSpinBox* m_x;
    QSpinBox* m_y;
    QCheckBox* m_align;
};

}  // namespace masumemo::underlay
