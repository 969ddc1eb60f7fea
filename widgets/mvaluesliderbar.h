#pragma once

#include "mbasewidget.h"

#include <QString>

class MSlider;
class QDoubleSpinBox;

// An MSlider in integer steps beside a QDoubleSpinBox showing step ÷ base factor. Each
// follows the other without echo; signalValueChanged carries the decimal value.
class MValueSliderBar : public MBaseWidget
{
    Q_OBJECT

public:
    // baseType below 1 becomes 1; postfix is the spin box suffix; leftSpacing comes before
    // the slider.
    explicit MValueSliderBar(QWidget *parent = nullptr, int baseType = 1,
                             const QString &postfix = QString(), int leftSpacing = 0);
    ~MValueSliderBar() override;

    // Blocks or unblocks the bar, its slider and its spin box together.
    bool blockSignals(bool block);

    // Silent: no signal at all; otherwise exactly one signalValueChanged(value).
    void setValue(float value, bool silent);
    float getValue() const;
    // Slider steps; the spin box gets min ÷ base to max ÷ base.
    void setRange(int min, int max);
    void setBaseType(int baseType);
    int getBaseType() const { return m_base; }
    void setDecimals(int decimals);
    // Stored only: the spin box keeps the suffix given at construction.
    void setPostfix(const QString &postfix);
    QString getPostfix() const { return m_postfix; }
    void setSpinBoxStep(float step);
    void setSpinBoxWidth(int width);

signals:
    void signalValueChanged(float value);

private slots:
    void slotSpinValueChanged(double value);

private:
    void slotSliderValueChanged(int value);
    int toSteps(double value) const;

    int m_base = 1;
    QString m_postfix;
    MSlider *m_slider = nullptr;
    QDoubleSpinBox *m_spinBox = nullptr;
};
