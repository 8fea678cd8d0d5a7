#pragma once
// A spin control on its own: two small arrow buttons that step a number within a range and
// hand it on. It is paired with a separate text box, whose typing rules are its own business.

#include <QWidget>

class QToolButton;

namespace masumemo::platform {

class UpDown : public QWidget
{
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    /// Sets the value, clamped to the range, without announcing it.
    void setValue(int value);
    int value() const { return m_value; }

    /// One step up or down (as the arrows do); nothing happens at the end of the range.
    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

signals:
    /// A step of the arrows changed the value.
    void stepped(int value);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void step(int delta);

    QToolButton* m_up;
    QToolButton* m_down;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 0;
};

}  // namespace masumemo::platform
