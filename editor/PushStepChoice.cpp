#include "editor/PushStepChoice.h"

#include <QCheckBox>
#include <QEvent>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>

#include "check/BoardSetting.h"
#include "platform/CanvasPreferences.h"
#include "editor/CanvasWidget.h"
#include "platform/Fonts.h"

namespace masumemo::editor {

namespace {

constexpr PushStep kSteps[] = {PushStep::Half, PushStep::Full, PushStep::Dot};

}  // namespace

PushStepChoice::PushStepChoice(std::array<QRadioButton*, 3> optPush, QCheckBox* chkUnicode,
                               CanvasWidget& canvas, QObject* parent)
    : QObject(parent), m_optPush(optPush), m_canvas(canvas)
{
    for (int i = 0; i < 3; ++i) {
        connect(m_optPush[static_cast<size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { choose(i); });
    }
    chkUnicode->setChecked(check::passesUnicode());
    m_canvas.controller().setUnicodeSpaces(check::passesUnicode());
    connect(chkUnicode, &QCheckBox::toggled, this, [](bool on) { check::setPassesUnicode(on); });
    connect(&check::BoardSetting::instance(), &check::BoardSetting::passesUnicodeChanged, this,
            [this, chkUnicode](bool on) {
                const QSignalBlocker quiet(chkUnicode);
                chkUnicode->setChecked(on);
                m_canvas.controller().setUnicodeSpaces(on);
            });
    m_canvas.installEventFilter(this);
    fontChanged();
}

void PushStepChoice::choose(int index)
{
    index = std::clamp(index, 0, 2);
    CanvasController& canvas = m_canvas.controller();
    if (static_cast<int>(canvas.pushStep()) != index) {
        platform::rememberPushStep(index);
    }
    canvas.setPushStep(kSteps[index]);  // shows the step in panel 2
    m_canvas.setFocus();
}

void PushStepChoice::next()
{
    int step = (static_cast<int>(m_canvas.controller().pushStep()) + 1) % 3;
    if (step == 2 && !dotStepOffered()) {
        step = 0;
    }
    show(step);
    choose(step);
}

void PushStepChoice::restore()
{
    int step = std::clamp(platform::readCanvasPreferences().pushStep, 0, 2);
    if (step == 2 && !dotStepOffered()) {
        step = 0;
    }
    show(step);
    m_canvas.controller().setPushStep(kSteps[step]);
}

bool PushStepChoice::dotStepOffered() const
{
    return m_canvas.font().family() == platform::kPGothic;
}

void PushStepChoice::show(int index)
{
    m_optPush[static_cast<size_t>(index)]->setChecked(true);
}

void PushStepChoice::fontChanged()
{
    const bool offered = dotStepOffered();
    m_optPush[2]->setEnabled(offered);
    if (!offered && m_canvas.controller().pushStep() == PushStep::Dot) {
        show(0);
        m_canvas.controller().setPushStep(PushStep::Half);
    }
}

bool PushStepChoice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_canvas && event->type() == QEvent::FontChange) {
        fontChanged();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace masumemo::editor
