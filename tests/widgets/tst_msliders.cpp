#include "mslider.h"
#include "mvaluesliderbar.h"

#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QtTest>

namespace {

MSlider *sliderOf(MValueSliderBar &bar)
{
    return bar.findChild<MSlider *>(QStringLiteral("playSliderBar"));
}

QDoubleSpinBox *spinOf(MValueSliderBar &bar)
{
    return bar.findChild<QDoubleSpinBox *>();
}

} // namespace

Q_DECLARE_METATYPE(Qt::Orientation)

class TestMSliders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void clickOnTheGrooveJumpsThere_data()
    {
        QTest::addColumn<Qt::Orientation>("orientation");
        QTest::addColumn<bool>("inverted");
        QTest::addColumn<double>("at"); // fraction of the length from the left / top
        QTest::addColumn<int>("value"); // range 10..20
        QTest::newRow("middle") << Qt::Horizontal << false << 0.5 << 15;
        QTest::newRow("right end") << Qt::Horizontal << false << 0.995 << 20;
        QTest::newRow("left end") << Qt::Horizontal << false << 0.0 << 10;
        QTest::newRow("inverted, left end") << Qt::Horizontal << true << 0.0 << 20;
        QTest::newRow("inverted, right end") << Qt::Horizontal << true << 0.995 << 10;
        QTest::newRow("vertical, top") << Qt::Vertical << false << 0.01 << 20;
        QTest::newRow("vertical, bottom") << Qt::Vertical << false << 0.99 << 10;
    }

    void clickOnTheGrooveJumpsThere()
    {
        QFETCH(Qt::Orientation, orientation);
        QFETCH(bool, inverted);
        QFETCH(double, at);
        QFETCH(int, value);
        MSlider slider(orientation);
        slider.setRange(10, 20);
        slider.setValue(13);
        slider.setInvertedAppearance(inverted);
        slider.resize(orientation == Qt::Horizontal ? QSize(200, 24) : QSize(24, 200));
        slider.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slider));
        QSignalSpy finished(&slider, &MSlider::valueChanFinished);
        const QPoint pos
            = orientation == Qt::Horizontal ? QPoint(int(at * 200), 12) : QPoint(12, int(at * 200));
        QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, pos);
        QCOMPARE(slider.value(), value);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), value);
    }

    void barKeepsSliderAndSpinBoxInStep()
    {
        MValueSliderBar bar(nullptr, 10, QStringLiteral(" s"), 4);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QSignalSpy changed(&bar, &MValueSliderBar::signalValueChanged);
        sliderOf(bar)->setValue(55);
        QCOMPARE(spinOf(bar)->text(), QStringLiteral("5.50 s"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toFloat(), 5.5f);

        // Typed decimals truncate into slider steps, without an echo back.
        QSignalSpy sliderChanged(sliderOf(bar), &QSlider::valueChanged);
        spinOf(bar)->setFocus();
        spinOf(bar)->selectAll();
        QTest::keyClicks(spinOf(bar), QStringLiteral("2.25"));
        QCOMPARE(sliderOf(bar)->value(), 22);
        QCOMPARE(spinOf(bar)->value(), 2.25);
        QCOMPARE(changed.last().at(0).toFloat(), 2.25f);

        // Silent setting emits nothing.
        changed.clear();
        bar.setValue(3.0f, true);
        QCOMPARE(sliderOf(bar)->value(), 30);
        QCOMPARE(changed.count(), 0);
        bar.setValue(4.0f, false);
        QCOMPARE(changed.count(), 1);
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
    }
};

QTEST_MAIN(TestMSliders)
#include "tst_msliders.moc"
