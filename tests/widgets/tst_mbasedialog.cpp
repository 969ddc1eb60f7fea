#include "mbasedialog.h"
#include "modaldriver.h"
#include "mtitlebar.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Presses at start, moves through the offsets, releases at the last one (global positions).
void drag(QWidget *widget, const QPoint &start, const QList<QPoint> &offsets)
{
    auto send = [widget](QEvent::Type type, const QPoint &global) {
        const Qt::MouseButtons held
            = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
        QMouseEvent event(type, widget->mapFromGlobal(global), global, Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, start);
    for (const QPoint &offset : offsets)
        send(QEvent::MouseMove, start + offset);
    send(QEvent::MouseButtonRelease, start + offsets.last());
}

} // namespace

Q_DECLARE_METATYPE(DialogButton)

class TestMBaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Ok alone and the title bar's close button: tst_dialogs (the About box, the expired dialog).
    void buttonSetShowsItsButtonsAndEndsTheDialog_data()
    {
        QTest::addColumn<DialogButton>("set");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<int>("button"); // to click
        QTest::addColumn<int>("result"); // onBtnClick reports 0 for 1, -1 for 0

        QTest::newRow("ok/cancel: ok") << DB_OkCancel << QList<int>{0, 1} << 0 << 1;
        QTest::newRow("ok/cancel: cancel") << DB_OkCancel << QList<int>{0, 1} << 1 << 0;
        QTest::newRow("yes/no: yes") << DB_YesNo << QList<int>{2, 3} << 2 << 1;
        QTest::newRow("yes/no: no") << DB_YesNo << QList<int>{2, 3} << 3 << 0;
    }

    void buttonSetShowsItsButtonsAndEndsTheDialog()
    {
        QFETCH(DialogButton, set);
        QFETCH(QList<int>, shown);
        QFETCH(int, button);
        QFETCH(int, result);

        MBaseDialog dialog;
        dialog.setBtns(set);
        QList<int> visible;
        for (int i = 0; i < 4; ++i) {
            if (!dialog.getBtn(i)->isHidden())
                visible << i;
        }
        QCOMPARE(visible, shown);
        QSignalSpy clicks(&dialog, &MBaseDialog::onBtnClick);
        ModalDriver driver([&dialog, button](QWidget *) {
            QTest::mouseClick(dialog.getBtn(button), Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), result);
        QVERIFY(driver.answered());
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).toInt(), result - 1);
    }

    // Both the title bar and the moveable dialog used to move the window for one drag.
    void dragsMoveTheDialogOnce()
    {
        MBaseDialog dialog;
        dialog.setGeometry(100, 100, 300, 200);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTRY_COMPARE(dialog.pos(), QPoint(100, 100));

        // The body moves the dialog only when it is moveable.
        const QPoint body = dialog.mapToGlobal(QPoint(150, 100));
        drag(&dialog, body, {QPoint(40, 25)});
        QCoreApplication::processEvents();
        QCOMPARE(dialog.pos(), QPoint(100, 100));
        dialog.setCanMoveable(true);
        drag(&dialog, body, {QPoint(20, 10), QPoint(40, 25)});
        QTRY_COMPARE(dialog.pos(), QPoint(140, 125));

        MTitleBar *bar = dialog.getTitleBar();
        drag(bar, bar->mapToGlobal(bar->rect().center()), {QPoint(30, 20)});
        QTRY_COMPARE(dialog.pos(), QPoint(170, 145));
    }

    void fadeInReachesFullOpacity()
    {
        MBaseDialog dialog;
        QVERIFY(dialog.windowOpacity() < 1.0);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.windowOpacity(), 1.0, 3000);
    }
};

QTEST_MAIN(TestMBaseDialog)
#include "tst_mbasedialog.moc"
