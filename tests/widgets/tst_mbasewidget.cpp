#include "mbasewidget.h"
#include "mimagebutton.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos,
               Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held
        = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, widget->mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void sendPlain(QWidget *widget, QEvent::Type type)
{
    QEvent event(type);
    QApplication::sendEvent(widget, &event);
}

// The image label is the button's first direct label.
QString shownImage(MImageButton *button)
{
    return button->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)
        .value(0)
        ->styleSheet();
}

} // namespace

class TestMBaseWidget : public QObject
{
    Q_OBJECT

private slots:
    void dragReportsClampedTargetWithoutMovingTheWidget()
    {
        QWidget parent;
        parent.resize(400, 300);
        auto *item = new MBaseWidget(60, 30, &parent);
        item->move(50, 40);
        item->setCanMove(true);
        item->setMinPos(10, 0);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QSignalSpy clicked(item, &MBaseWidget::clicked);
        QSignalSpy started(item, &MBaseWidget::signalMoveStart);
        QSignalSpy moved(item, &MBaseWidget::signalMove);
        QSignalSpy ended(item, &MBaseWidget::signalMoveEnd);

        // Within twice the drag distance nothing moves.
        const int limit = 2 * QApplication::startDragDistance();
        sendMouse(item, QEvent::MouseButtonPress, QPoint(5, 5));
        QCOMPARE(clicked.count(), 1);
        sendMouse(item, QEvent::MouseMove, QPoint(5 + limit, 5));
        QCOMPARE(started.count(), 0);

        sendMouse(item, QEvent::MouseMove, QPoint(-25, 15)); // 30 left, 10 down
        QCOMPARE(started.count(), 1);
        QCOMPARE(moved.last().at(0).toDouble(), 20.0);
        QCOMPARE(moved.last().at(1).toDouble(), 50.0);
        sendMouse(item, QEvent::MouseMove, QPoint(-200, -100)); // beyond both minimums
        QCOMPARE(moved.last().at(0).toDouble(), 10.0);
        QCOMPARE(moved.last().at(1).toDouble(), 0.0);
        sendMouse(item, QEvent::MouseButtonRelease, QPoint(-200, -100));
        QCOMPARE(ended.count(), 1);
        QCOMPARE(started.count(), 1);
        QVERIFY(!item->isMoving());
        QCOMPARE(item->pos(), QPoint(50, 40)); // only the owner moves it
    }

    void imageButtonShowsTheImageOfItsState()
    {
        MImageButton button(BS_ImageText);
        button.setTitleAndImageEx(QStringLiteral("Tab"), QStringLiteral(":/t_0.png"),
                                  QStringLiteral(":/t_1.png"), QStringLiteral(":/t_2.png"),
                                  QStringLiteral(":/t_3.png"));
        auto shows = [&button](const char *file) {
            return shownImage(&button).contains(QLatin1String(file));
        };
        QVERIFY(shows("t_0"));
        sendPlain(&button, QEvent::Enter);
        QVERIFY(shows("t_1"));
        sendPlain(&button, QEvent::Leave);
        QVERIFY(shows("t_0"));

        // Selection needs a selected state; a selected button ignores hover.
        button.setState(true);
        QVERIFY(!button.isSelected());
        button.setHasSelectedState(true);
        button.setState(true);
        QVERIFY(shows("t_2"));
        sendPlain(&button, QEvent::Enter);
        QVERIFY(shows("t_2"));
        sendPlain(&button, QEvent::Leave);

        // Disabled: its own image, no selection changes; enabling returns to the selection.
        button.setEnabled(false);
        QVERIFY(shows("t_3"));
        button.setState(false);
        QVERIFY(button.isSelected());
        button.setEnabled(true);
        QVERIFY(shows("t_2"));
        button.setState(false);
        QVERIFY(shows("t_0"));
    }

    void imageButtonClicksOncePerLeftPress()
    {
        MImageButton button(BS_ImageText);
        button.resize(80, 40);
        QSignalSpy clicked(&button, &MImageButton::clicked);
        sendMouse(&button, QEvent::MouseButtonPress, QPoint(10, 10));
        sendMouse(&button, QEvent::MouseButtonRelease, QPoint(10, 10));
        sendMouse(&button, QEvent::MouseButtonPress, QPoint(10, 10), Qt::RightButton);
        QCOMPARE(clicked.count(), 1);
        // A movable button reports the press once, not twice.
        button.setCanMove(true);
        sendMouse(&button, QEvent::MouseButtonPress, QPoint(10, 10));
        sendMouse(&button, QEvent::MouseButtonRelease, QPoint(10, 10));
        QCOMPARE(clicked.count(), 2);
        button.setEnabled(false);
        sendMouse(&button, QEvent::MouseButtonPress, QPoint(10, 10));
        QCOMPARE(clicked.count(), 2);
    }
};

QTEST_MAIN(TestMBaseWidget)
#include "tst_mbasewidget.moc"
