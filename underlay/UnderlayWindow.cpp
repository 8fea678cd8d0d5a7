#include "UnderlayWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include "Tracing.h"
#include "platform/ToolWindow.h"

namespace masumemo::underlay {

namespace {

QSpinBox* numberBox(QWidget* parent, const char* name, int min, int max, const QString& suffix)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(min, max);
    box->setSuffix(suffix);
    box->setKeyboardTracking(true);
    box->setAccelerated(true);
    return box;
}

QSlider* slider(QWidget* parent, const char* name, int min, int max, QSpinBox* twin)
{
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(min, max);
    QObject::connect(s, &QSlider::valueChanged, twin, &QSpinBox::setValue);
    QObject::connect(twin, &QSpinBox::valueChanged, s, &QSlider::setValue);
    return s;
}

}  // namespace

UnderlayWindow::UnderlayWindow(Tracing& tracing, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_tracing(tracing)
{
    setObjectName(QStringLiteral("frmUnderlay"));
    platform::makeToolWindow(*this);
    setWindowTitle(QStringLiteral("下絵"));
    const QString percent = QStringLiteral(" %");
    const QString pixels = QStringLiteral(" px");
    m_opacity = numberBox(this, "spnOpacity", kMinOpacity, kMaxOpacity, percent);
    m_opacitySlider = slider(this, "sldOpacity", kMinOpacity, kMaxOpacity, m_opacity);
    m_scale = numberBox(this, "spnScale", kMinScale, kMaxScale, percent);
    m_scaleSlider = slider(this, "sldScale", kMinScale, kMaxScale, m_scale);
    m_x = numberBox(this, "spnX", -kMaxOffset, kMaxOffset, pixels);
    m_y = numberBox(this, "spnY", -kMaxOffset, kMaxOffset, pixels);
    m_align = new QCheckBox(QStringLiteral("位置合わせ"), this);
    m_align->setObjectName(QStringLiteral("chkAlign"));

    auto* grid = new QGridLayout(this);
    const auto row = [&](int r, const QString& caption, QWidget* box, QWidget* extra) {
        grid->addWidget(new QLabel(caption, this), r, 0);
        if (extra != nullptr) {
            grid->addWidget(extra, r, 1);
        }
        grid->addWidget(box, r, 2);
    };
    row(0, QStringLiteral("不透明度"), m_opacity, m_opacitySlider);
    row(1, QStringLiteral("倍率"), m_scale, m_scaleSlider);
    row(2, QStringLiteral("横位置"), m_x, nullptr);
    row(3, QStringLiteral("縦位置"), m_y, nullptr);
    grid->addWidget(m_align, 4, 0, 1, 3);
    grid->setColumnMinimumWidth(1, 160);

    for (QSpinBox* box : {m_opacity, m_scale, m_x, m_y}) {
        connect(box, &QSpinBox::valueChanged, this, &UnderlayWindow::apply);
    }
    connect(m_align, &QCheckBox::toggled, &m_tracing, &Tracing::setAligning);
    connect(&m_tracing, &Tracing::changed, this, &UnderlayWindow::refresh);
    refresh();
}

void UnderlayWindow::refresh()
{
    const UnderlayPlacement& p = m_tracing.placement();
    const QSignalBlocker blockers[] = {QSignalBlocker(m_opacity), QSignalBlocker(m_scale),
                                       QSignalBlocker(m_x), QSignalBlocker(m_y),
                                       QSignalBlocker(m_align)};
    m_opacity->setValue(p.opacity);
    m_opacitySlider->setValue(p.opacity);
    m_scale->setValue(p.scale);
    m_scaleSlider->setValue(p.scale);
    m_x->setValue(p.x);
    m_y->setValue(p.y);
    m_align->setChecked(m_tracing.isAligning());
    const bool usable = m_tracing.hasPicture();
    for (QWidget* w : std::initializer_list<QWidget*>{m_opacity, m_opacitySlider, m_scale,
                                                      m_scaleSlider, m_x, m_y}) {
        w->setEnabled(usable);
    }
    m_align->setEnabled(usable && m_tracing.isShown());
}

void UnderlayWindow::apply()
{
    m_tracing.setPlacement({m_opacity->value(), m_scale->value(), m_x->value(), m_y->value()});
}

void UnderlayWindow::hideEvent(QHideEvent* e)
{
    // Aligning with its window closed would leave the canvas deaf to drags with no sign why.
    m_tracing.setAligning(false);
    QWidget::hideEvent(e);
}

}  // namespace masumemo::underlay
