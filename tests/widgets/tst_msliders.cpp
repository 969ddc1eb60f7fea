#include "mslider.h"
#include "mvaluesliderbar.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Exposes the handle rectangle the slider itself uses.
class ProbeSlider : public MSlider
{
public:
    using MSlider::MSlider;
    QRect handle()
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    }
};

void sendKey(QWidget *widget, QEvent::Type type, int key, bool autoRepeat = false)
{
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(widget, &event);
}

MSlider *sliderOf(MValueSliderBar &bar)
{
    return bar.findChild<MSlider *>(QStringLiteral("playSliderBar"));
}

QDoubleSpinBox *spinOf(MValueSliderBar &bar)
{
    return bar.findChild<QDoubleSpinBox *>();
}

} // namespace

class TestMSliders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // --- MSlider ---------------------------------------------------------------------------

    void clickInMiddleOfGrooveJumpsToHalfway()
    {
        MSlider slider(Qt::Horizontal);
        slider.setRange(0, 100);
        slider.resize(200, 24);
        slider.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slider));
        QSignalSpy moved(&slider, &QSlider::sliderMoved);
        QSignalSpy finished(&slider, &MSlider::valueChanFinished);

        QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(100, 12));
        QVERIFY2(qAbs(slider.value() - 50) <= 1, qPrintable(QString::number(slider.value())));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0).at(0).toInt(), slider.value());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), slider.value());

        // Clicks beyond either end clamp to the range.
        QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(199, 12));
        QCOMPARE(slider.value(), 100);
        QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(0, 12));
        QCOMPARE(slider.value(), 0);
    }

    void pressOnHandleOrWithOtherButtonDoesNotJump()
    {
        ProbeSlider slider(Qt::Horizontal);
        slider.setRange(0, 100);
        slider.resize(200, 24);
        slider.setValue(30);
        slider.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slider));
        QSignalSpy moved(&slider, &QSlider::sliderMoved);

        const QRect handle = slider.handle();
        QVERIFY(handle.isValid());
        QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, handle.center());
        QCOMPARE(slider.value(), 30);
        QCOMPARE(moved.count(), 0);

        QTest::mouseClick(&slider, Qt::RightButton, Qt::NoModifier, QPoint(180, 12));
        QCOMPARE(slider.value(), 30);
        QCOMPARE(moved.count(), 0);
    }

    void invertedAndVerticalSlidersJumpToTheMirroredEnd()
    {
        MSlider inverted(Qt::Horizontal);
        inverted.setRange(10, 20);
        inverted.setInvertedAppearance(true);
        inverted.resize(200, 24);
        inverted.setValue(15);
        inverted.show();
        QVERIFY(QTest::qWaitForWindowExposed(&inverted));
        // The left end of an inverted slider is its maximum, even when the range is not
        // based at 0.
        QTest::mouseClick(&inverted, Qt::LeftButton, Qt::NoModifier, QPoint(0, 12));
        QCOMPARE(inverted.value(), 20);
        QTest::mouseClick(&inverted, Qt::LeftButton, Qt::NoModifier, QPoint(199, 12));
        QCOMPARE(inverted.value(), 10);

        MSlider vertical(Qt::Vertical);
        vertical.setRange(0, 100);
        vertical.resize(24, 200);
        vertical.setValue(50);
        vertical.show();
        QVERIFY(QTest::qWaitForWindowExposed(&vertical));
        QTest::mouseClick(&vertical, Qt::LeftButton, Qt::NoModifier, QPoint(12, 2));
        QCOMPARE(vertical.value(), 100);
        QTest::mouseClick(&vertical, Qt::LeftButton, Qt::NoModifier, QPoint(12, 198));
        QCOMPARE(vertical.value(), 0);
    }

    void arrowKeyReleaseFinishesButPageUpDoesNot()
    {
        MSlider slider(Qt::Horizontal);
        slider.setRange(0, 100);
        slider.setPageStep(10);
        QSignalSpy finished(&slider, &MSlider::valueChanFinished);

        QTest::keyClick(&slider, Qt::Key_Right);
        QCOMPARE(slider.value(), 1);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), 1);

        QTest::keyClick(&slider, Qt::Key_PageUp);
        QCOMPARE(slider.value(), 11);
        QCOMPARE(finished.count(), 1);

        QTest::keyClick(&slider, Qt::Key_Left);
        QCOMPARE(finished.count(), 2);
        QCOMPARE(finished.at(1).at(0).toInt(), 10);

        // A held key repeats its release; only the final release ends the change.
        sendKey(&slider, QEvent::KeyRelease, Qt::Key_Right, true);
        QCOMPARE(finished.count(), 2);
        sendKey(&slider, QEvent::KeyRelease, Qt::Key_Up);
        QCOMPARE(finished.count(), 2);
    }

    void setValueExNotifiesOnlyWhenAsked()
    {
        MSlider slider;
        QSignalSpy changed(&slider, &QSlider::valueChanged);
        slider.setValueEx(40, false);
        QCOMPARE(slider.value(), 40);
        QCOMPARE(changed.count(), 0);
        QVERIFY(!slider.signalsBlocked());
        slider.setValueEx(41, true);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 41);
    }

    void backgroundImageIsPaintedBelowTheTopTenPixels()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("bg.png"));
        QImage red(50, 50, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(path));

        MSlider slider(Qt::Horizontal);
        slider.resize(200, 40);
        QSignalSpy announced(&slider, &MSlider::onGetBackgroundImage);
        slider.setBackgroundImage(path);
        QCOMPARE(announced.count(), 1);
        QCOMPARE(announced.at(0).at(0).toString(), path);

        QImage image(slider.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        slider.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        QCOMPARE(image.pixel(190, 37), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(190, 11), qRgb(255, 0, 0));
        QVERIFY(image.pixel(190, 5) != qRgb(255, 0, 0));
    }

    // --- MValueSliderBar -------------------------------------------------------------------

    void sliderStepsShowAsDecimalsOnce()
    {
        MValueSliderBar bar(nullptr, 10, QStringLiteral(" s"), 4);
        MSlider *slider = sliderOf(bar);
        QDoubleSpinBox *spin = spinOf(bar);
        QVERIFY(slider);
        QVERIFY(spin);

        QSignalSpy changed(&bar, &MValueSliderBar::signalValueChanged);
        QSignalSpy spinChanged(spin, qOverload<double>(&QDoubleSpinBox::valueChanged));
        slider->setValue(55);
        QCOMPARE(spin->text(), QStringLiteral("5.50 s"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toFloat(), 5.5f);
        QCOMPARE(spinChanged.count(), 0); // no echo back into the slider
        QCOMPARE(bar.getValue(), 5.5f);

        // The whole slider range fits into the spin box.
        slider->setValue(100);
        QCOMPARE(spin->value(), 10.0);
    }

    void typedDecimalTruncatesIntoSliderSteps()
    {
        MValueSliderBar bar(nullptr, 10, QString(), 0);
        MSlider *slider = sliderOf(bar);
        QDoubleSpinBox *spin = spinOf(bar);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QSignalSpy changed(&bar, &MValueSliderBar::signalValueChanged);
        QSignalSpy sliderChanged(slider, &QSlider::valueChanged);

        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, QStringLiteral("2.25"));
        QCOMPARE(spin->value(), 2.25);
        QCOMPARE(slider->value(), 22);
        QVERIFY(changed.count() >= 1);
        QCOMPARE(changed.last().at(0).toFloat(), 2.25f);
        QCOMPARE(sliderChanged.count(), 0); // no echo back into the spin box
        QCOMPARE(spin->value(), 2.25);
    }

    void decimalProductsDoNotLoseAStep()
    {
        MValueSliderBar bar(nullptr, 100, QString(), 0);
        bar.setRange(0, 1000);
        spinOf(bar)->setValue(0.29); // 0.29 * 100 is 28.999999999999996 in doubles
        QCOMPARE(sliderOf(bar)->value(), 29);

        MValueSliderBar tens(nullptr, 10, QString(), 0);
        tens.setValue(3.3f, true); // 3.3f * 10 is 32.9999995
        QCOMPARE(sliderOf(tens)->value(), 33);
        tens.setValue(2.25f, true);
        QCOMPARE(sliderOf(tens)->value(), 22);
    }

    void setValueSilentEmitsNothingOtherwiseOnce()
    {
        MValueSliderBar bar(nullptr, 10, QString(), 0);
        QSignalSpy changed(&bar, &MValueSliderBar::signalValueChanged);
        QSignalSpy sliderChanged(sliderOf(bar), &QSlider::valueChanged);

        bar.setValue(3.0f, true);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(sliderChanged.count(), 0);
        QCOMPARE(sliderOf(bar)->value(), 30);
        QCOMPARE(spinOf(bar)->value(), 3.0);
        QVERIFY(!bar.signalsBlocked());

        bar.setValue(4.0f, false);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toFloat(), 4.0f);
        QCOMPARE(sliderOf(bar)->value(), 40);

        bar.setValue(3.0f, false);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1).at(0).toFloat(), 3.0f);
        QCOMPARE(bar.getValue(), 3.0f);
    }

    void rangeAndBaseFactorScaleTheSpinBox()
    {
        MValueSliderBar bar(nullptr, 10, QString(), 0);
        QSignalSpy changed(&bar, &MValueSliderBar::signalValueChanged);
        bar.setValue(9.0f, true);
        bar.setRange(-50, 200);
        QCOMPARE(sliderOf(bar)->minimum(), -50);
        QCOMPARE(sliderOf(bar)->maximum(), 200);
        QCOMPARE(spinOf(bar)->minimum(), -5.0);
        QCOMPARE(spinOf(bar)->maximum(), 20.0);
        bar.setRange(0, 50); // clamps the slider without a signal
        QCOMPARE(sliderOf(bar)->value(), 50);
        QCOMPARE(changed.count(), 0);

        MValueSliderBar unit(nullptr, 0, QString(), 0);
        QCOMPARE(unit.getBaseType(), 1);
        unit.setBaseType(0);
        QCOMPARE(unit.getBaseType(), 1);
        unit.setBaseType(4);
        QCOMPARE(unit.getBaseType(), 4);
    }

    void blockSignalsBlocksBarSliderAndSpinBox()
    {
        MValueSliderBar bar(nullptr, 10, QString(), 0);
        QSignalSpy changed(&bar, &MValueSliderBar::signalValueChanged);
        QCOMPARE(bar.blockSignals(true), false);
        QVERIFY(sliderOf(bar)->signalsBlocked());
        QVERIFY(spinOf(bar)->signalsBlocked());
        sliderOf(bar)->setValue(70);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(spinOf(bar)->value(), 0.0); // the slider's change did not reach it

        QCOMPARE(bar.blockSignals(false), true);
        QVERIFY(!sliderOf(bar)->signalsBlocked());
        QVERIFY(!spinOf(bar)->signalsBlocked());
        sliderOf(bar)->setValue(71);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(spinOf(bar)->value(), 7.1);
    }
};

QTEST_MAIN(TestMSliders)
#include "tst_msliders.moc"
