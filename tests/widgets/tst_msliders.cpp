#include "mslider.h"
#include "mvaluesliderbar.h"

#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QtTest>

class TestMSliders : public QObject
{
    Q_OBJECT

private slots:
    // A click on the groove jumps there, clamped to the range at its ends, and ends the change.
    void clickOnTheGrooveJumpsThere()
    {
        MSlider slider(Qt::Horizontal);
        slider.setRange(10, 20);
        slider.setPageStep(1); // so that paging cannot pass for a jump
        slider.resize(200, 24);
        QSignalSpy finished(&slider, &MSlider::valueChanFinished);
        // Inverted, x of the click, value; never on the handle, which would drag instead.
        const std::tuple<bool, int, int> clicks[]
            = {{false, 100, 15}, {false, 199, 20}, {false, 0, 10}, {true, 0, 20}};
        for (const auto &[inverted, x, value] : clicks) {
            slider.setInvertedAppearance(inverted);
            QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(x, 12));
            QCOMPARE(finished.takeFirst().at(0).toInt(), value);
        }
        QVERIFY(finished.isEmpty()); // once per click
    }

    // Slider and spin box follow each other; one signal per change, none when silent.
    void barKeepsSliderAndSpinBoxInStep()
    {
        MValueSliderBar bar(nullptr, 100, QString(), 0);
        bar.setRange(0, 1000);
        auto *slider = bar.findChild<MSlider *>();
        auto *spin = bar.findChild<QDoubleSpinBox *>();
        QSignalSpy changed(&bar, &MValueSliderBar::signalValueChanged);
        slider->setValue(550);
        QCOMPARE(spin->value(), 5.5);
        spin->setValue(0.29); // 0.29 * 100 is 28.999999999999996 in doubles
        QCOMPARE(slider->value(), 29);
        bar.setValue(3.0f, true);
        QCOMPARE(changed.count(), 2);
        bar.setValue(40.0f, false); // beyond the range: both stop at its end
        QCOMPARE(changed.count(), 3);
        QCOMPARE(spin->value(), 10.0);
    }
};

QTEST_MAIN(TestMSliders)
#include "tst_msliders.moc"
