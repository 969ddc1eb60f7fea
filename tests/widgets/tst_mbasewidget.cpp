#include "mbasewidget.h"
#include "mimagebutton.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {

// The left button, held from the press to the release.
void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestMBaseWidget : public QObject
{
    Q_OBJECT

private slots:
    void dragReportsClampedTargetWithoutMovingTheWidget()
    {
        QWidget parent;
        auto *item = new MBaseWidget(60, 30, &parent);
        item->move(50, 40);
        item->setCanMove(true);
        item->setMinPos(10, 0);
        QSignalSpy moved(item, &MBaseWidget::signalMove);
        QSignalSpy ended(item, &MBaseWidget::signalMoveEnd);

        // Within twice the drag distance nothing moves.
        sendMouse(item, QEvent::MouseButtonPress, QPoint(5, 5));
        sendMouse(item, QEvent::MouseMove, QPoint(5 + 2 * QApplication::startDragDistance(), 5));
        QCOMPARE(moved.count(), 0);

        sendMouse(item, QEvent::MouseMove, QPoint(-25, 15)); // 30 left, 10 down
        QCOMPARE(moved.last(), QVariantList({20.0, 50.0}));
        sendMouse(item, QEvent::MouseMove, QPoint(-200, -100)); // beyond both minimums
        QCOMPARE(moved.last(), QVariantList({10.0, 0.0}));
        sendMouse(item, QEvent::MouseButtonRelease, QPoint(-200, -100));
        QCOMPARE(ended.count(), 1);
        QCOMPARE(item->pos(), QPoint(50, 40)); // only the owner moves it
    }

    void imageButtonShowsItsStateAndClicksOncePerPress()
    {
        MImageButton button(BS_ImageText);
        const auto hover = [&button](bool in) {
            QEvent event(in ? QEvent::Enter : QEvent::Leave);
            QApplication::sendEvent(&button, &event);
        };
        button.setTitleAndImageEx(QStringLiteral("Tab"), QStringLiteral(":/t_0.png"),
                                  QStringLiteral(":/t_1.png"), QStringLiteral(":/t_2.png"),
                                  QStringLiteral(":/t_3.png"));
        // The image label is the button's first direct label.
        const QLabel *image = button.findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
        const auto shows = [image](const char *file) {
            return image->styleSheet().contains(QLatin1String(file));
        };
        QVERIFY(shows("t_0"));
        hover(true);
        QVERIFY(shows("t_1"));
        // A selected button ignores hover.
        button.setHasSelectedState(true);
        button.setState(true);
        QVERIFY(shows("t_2"));
        hover(false);

        // Disabled: its own image, no selection changes; enabling returns to the selection.
        button.setEnabled(false);
        QVERIFY(shows("t_3"));
        button.setState(false);
        QVERIFY(button.isSelected());
        button.setEnabled(true);
        QVERIFY(shows("t_2"));
        button.setState(false);
        QVERIFY(shows("t_0"));

        QSignalSpy clicked(&button, &MImageButton::clicked);
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::RightButton);
        button.setCanMove(true); // a movable button too reports the press once, not twice
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 2);
    }
};

QTEST_MAIN(TestMBaseWidget)
#include "tst_mbasewidget.moc"
