#include "mvaluesliderbar.h"

#include "mpanel.h"
#include "mslider.h"
#include "mutils.h"

#include <QBoxLayout>
#include <QDoubleSpinBox>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

MValueSliderBar::MValueSliderBar(QWidget *parent, int baseType, const QString &postfix,
                                 int leftSpacing)
    : MBaseWidget(parent)
    , m_base(std::max(1, baseType))
    , m_postfix(postfix)
{
    setFixedHeight(static_cast<int>(25 * Ratio()));

    auto *panel = new MPanel(Qt::Horizontal, this);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setMarginAndSpaceing(0, 0);

    m_slider = new MSlider(Qt::Horizontal, panel);
    m_slider->setObjectName(QStringLiteral("playSliderBar"));
    m_slider->setRange(0, 100);

    m_spinBox = new QDoubleSpinBox(panel);
    m_spinBox->setAlignment(Qt::AlignCenter);
    m_spinBox->setDecimals(2);
    m_spinBox->setSuffix(m_postfix);
    // The spin box must be able to show every slider position.
    m_spinBox->setRange(0.0, 100.0 / m_base);

    panel->addSpacing(leftSpacing);
    panel->addWidget(m_slider);
    panel->addSpacing(static_cast<int>(5 * Ratio()));
    panel->addWidget(m_spinBox);
    getLayout(Qt::Vertical)->addWidget(panel);

    connect(m_slider, &QSlider::valueChanged, this, &MValueSliderBar::slotSliderValueChanged);
    connect(m_spinBox, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &MValueSliderBar::slotSpinValueChanged);
}

MValueSliderBar::~MValueSliderBar() = default;

bool MValueSliderBar::blockSignals(bool block)
{
    m_slider->blockSignals(block);
    m_spinBox->blockSignals(block);
    return MBaseWidget::blockSignals(block);
}

int MValueSliderBar::toSteps(double value) const
{
    // Truncates, but a product such as 0.29 × 100 = 28.999999999999996 (or a float's
    // rounding) must still give 29.
    const double steps = value * m_base;
    const double slack = std::max(1e-6, std::abs(steps) * 1e-6);
    return static_cast<int>(std::trunc(steps + (steps < 0 ? -slack : slack)));
}

void MValueSliderBar::slotSliderValueChanged(int value)
{
    const double shown = static_cast<double>(value) / m_base;
    {
        const QSignalBlocker blocker(m_spinBox);
        m_spinBox->setValue(QString::number(shown, 'f', m_spinBox->decimals()).toDouble());
    }
    emit signalValueChanged(static_cast<float>(shown));
}

void MValueSliderBar::slotSpinValueChanged(double value)
{
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(toSteps(value));
    }
    emit signalValueChanged(static_cast<float>(value));
}

void MValueSliderBar::setValue(float value, bool silent)
{
    {
        const QSignalBlocker sliderBlocker(m_slider);
        const QSignalBlocker spinBlocker(m_spinBox);
        m_slider->setValue(toSteps(value));
        m_spinBox->setValue(value);
    }
    if (!silent)
        emit signalValueChanged(value);
}

float MValueSliderBar::getValue() const
{
    return static_cast<float>(m_slider->value()) / m_base;
}

void MValueSliderBar::setRange(int min, int max)
{
    const QSignalBlocker sliderBlocker(m_slider);
    const QSignalBlocker spinBlocker(m_spinBox);
    m_slider->setRange(min, max);
    m_spinBox->setRange(static_cast<double>(min) / m_base, static_cast<double>(max) / m_base);
}

void MValueSliderBar::setBaseType(int baseType)
{
    m_base = std::max(1, baseType);
}

void MValueSliderBar::setDecimals(int decimals)
{
    m_spinBox->setDecimals(decimals);
}

void MValueSliderBar::setPostfix(const QString &postfix)
{
    m_postfix = postfix;
}

void MValueSliderBar::setSpinBoxStep(float step)
{
    m_spinBox->setSingleStep(step);
}

void MValueSliderBar::setSpinBoxWidth(int width)
{
    m_spinBox->setFixedWidth(width);
}
