#include "qballoontip.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

namespace {

int balloonCount()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QBalloonTip *>(widget))
            ++count;
    }
    return count;
}

// Interval of the balloon's running time-out timer as the event dispatcher knows it,
// -1 when none is registered.
int timeoutInterval(QBalloonTip *tip)
{
    const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(tip);
    for (const auto &timer : timers) {
        if (timer.timerId == tip->timeoutTimerId())
            return timer.interval;
    }
    return -1;
}

QRect screenRect()
{
    return QGuiApplication::primaryScreen()->geometry();
}

// A one-frame GIF, enough for QMovie to start.
QByteArray tinyGif()
{
    static const unsigned char bytes[]
        = {'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xff, 0xff,
           0xff, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00,
           0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3b};
    return QByteArray(reinterpret_cast<const char *>(bytes), sizeof(bytes));
}

QStringList labelTexts(QWidget *widget)
{
    QStringList texts;
    for (QLabel *label : widget->findChildren<QLabel *>())
        texts << label->text();
    return texts;
}

} // namespace

class TestQBalloonTip : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void onlyOneBalloonExistsAtATime();
    void plainAndIconFormsDefaultToTenSeconds();
    void animationFormWithZeroTimeoutNeverCloses();
    void timeoutClosesTheBalloon();
    void timeoutKeepsBalloonWhileMouseIsOverIt();
    void arrowSideFollowsScreenEdges();
    void balloonIsPlacedBesideThePoint();
    void arrowIsPartOfTheWindowShapeOnlyWhenShown();
    void clickAnywhereClosesBalloon();
    void titleShowsCloseButtonThatCloses();
};

void TestQBalloonTip::init()
{
    QCursor::setPos(-100, -100);
}

void TestQBalloonTip::cleanup()
{
    QBalloonTip::hideBalloon();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(balloonCount(), 0);
}

void TestQBalloonTip::onlyOneBalloonExistsAtATime()
{
    QBalloonTip::showBalloon(QStringLiteral("first"), QPoint(100, 100), 0);
    QPointer<QBalloonTip> first = QBalloonTip::current();
    QVERIFY(first);
    QVERIFY(first->isVisible());

    QBalloonTip::showBalloon(QSystemTrayIcon::Warning, QStringLiteral("Title"),
                             QStringLiteral("second"), QPoint(120, 120), 0, true);
    QVERIFY(first.isNull());
    QBalloonTip *second = QBalloonTip::current();
    QVERIFY(second);
    QVERIFY(labelTexts(second).contains(QStringLiteral("second")));
    QCOMPARE(balloonCount(), 1);

    QBalloonTip::hideBalloon();
    QVERIFY(!QBalloonTip::current());
    QCOMPARE(balloonCount(), 0);
    // Again, with no balloon left: harmless.
    QBalloonTip::hideBalloon();
    QVERIFY(!QBalloonTip::current());
}

void TestQBalloonTip::plainAndIconFormsDefaultToTenSeconds()
{
    const QPoint pos(100, 100);
    QBalloonTip::showBalloon(QStringLiteral("m"), pos, 0);
    QCOMPARE(timeoutInterval(QBalloonTip::current()), 10000);
    QBalloonTip::showBalloon(QStringLiteral("m"), pos, -5);
    QCOMPARE(timeoutInterval(QBalloonTip::current()), 10000);
    QBalloonTip::showBalloon(QStringLiteral("m"), pos, 2500);
    QCOMPARE(timeoutInterval(QBalloonTip::current()), 2500);

    QBalloonTip::showBalloon(QSystemTrayIcon::Information, QString(), QStringLiteral("m"), pos, 0,
                             true);
    QCOMPARE(timeoutInterval(QBalloonTip::current()), 10000);
    QBalloonTip::showBalloon(QSystemTrayIcon::Critical, QString(), QStringLiteral("m"), pos, 1,
                             false);
    QCOMPARE(timeoutInterval(QBalloonTip::current()), 1);
}

void TestQBalloonTip::animationFormWithZeroTimeoutNeverCloses()
{
    QByteArray gif = tinyGif();
    QBuffer buffer(&gif);
    QMovie movie(&buffer, "gif");
    QVERIFY(movie.isValid());
    QSignalSpy started(&movie, &QMovie::started);

    QBalloonTip::showBalloon(&movie, 40, 30, QPoint(100, 100), 0, true);
    QBalloonTip *tip = QBalloonTip::current();
    QVERIFY(tip);
    QCOMPARE(tip->timeoutTimerId(), -1);
    QVERIFY(QAbstractEventDispatcher::instance()->registeredTimers(tip).isEmpty());
    QCOMPARE(started.count(), 1); // started by the show
    QLabel *label = tip->findChild<QLabel *>();
    QVERIFY(label);
    QCOMPARE(label->movie(), &movie);
    QCOMPARE(label->size(), QSize(40, 30));

    QBalloonTip::showBalloon(&movie, 40, 30, QPoint(100, 100), -1, true);
    QCOMPARE(timeoutInterval(QBalloonTip::current()), 10000);
    QBalloonTip::hideBalloon();
}

void TestQBalloonTip::timeoutClosesTheBalloon()
{
    QBalloonTip::showBalloon(QStringLiteral("short"), QPoint(100, 100), 50);
    QPointer<QBalloonTip> tip = QBalloonTip::current();
    QVERIFY(tip);
    QTRY_VERIFY_WITH_TIMEOUT(tip.isNull(), 3000);
    QVERIFY(!QBalloonTip::current());
}

void TestQBalloonTip::timeoutKeepsBalloonWhileMouseIsOverIt()
{
    QBalloonTip::showBalloon(QStringLiteral("stay"), QPoint(100, 100), 50);
    QPointer<QBalloonTip> tip = QBalloonTip::current();
    QVERIFY(tip);
    QCursor::setPos(tip->geometry().center());
    QTRY_COMPARE_WITH_TIMEOUT(tip->timeoutTimerId(), -1, 3000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!tip.isNull());
    QVERIFY(tip->isVisible());
    QVERIFY(QAbstractEventDispatcher::instance()->registeredTimers(tip).isEmpty());

    QTest::mouseClick(tip, Qt::LeftButton, Qt::NoModifier, tip->rect().center());
    QTRY_VERIFY_WITH_TIMEOUT(tip.isNull(), 3000);
}

void TestQBalloonTip::arrowSideFollowsScreenEdges()
{
    const QRect scr = screenRect();
    QBalloonTip::showBalloon(QStringLiteral("middle"), QPoint(100, 100), 0);
    QVERIFY(QBalloonTip::current()->side().arrowAtTop);
    QVERIFY(QBalloonTip::current()->side().arrowAtLeft);
    QBalloonTip::showBalloon(QStringLiteral("corner"), scr.bottomRight(), 0);
    QVERIFY(!QBalloonTip::current()->side().arrowAtTop);
    QVERIFY(!QBalloonTip::current()->side().arrowAtLeft);

    // The pure rule: 18 pixels of arrow must fit below / the bubble must fit to the right.
    const QRect screen(0, 0, 800, 600);
    const QSize sh(200, 80);
    QVERIFY(balloonSide(screen, QPoint(100, 501), sh).arrowAtTop);
    QVERIFY(!balloonSide(screen, QPoint(100, 502), sh).arrowAtTop);
    QVERIFY(balloonSide(screen, QPoint(617, 10), sh).arrowAtLeft);
    QVERIFY(!balloonSide(screen, QPoint(618, 10), sh).arrowAtLeft);
}

void TestQBalloonTip::balloonIsPlacedBesideThePoint()
{
    const QRect screen(0, 0, 800, 600);
    const QSize sh(200, 80);
    QCOMPARE(balloonPosition(screen, QPoint(100, 50), sh, BalloonSide{true, true}), QPoint(82, 50));
    QCOMPARE(balloonPosition(screen, QPoint(10, 50), sh, BalloonSide{true, true}), QPoint(2, 50));
    QCOMPARE(balloonPosition(screen, QPoint(700, 590), sh, BalloonSide{false, false}),
             QPoint(518, 510));
    QCOMPARE(balloonPosition(screen, QPoint(799, 590), sh, BalloonSide{false, false}),
             QPoint(597, 510));

    const QRect scr = screenRect();
    const QPoint near(scr.width() - 5, scr.height() - 5);
    QBalloonTip::showBalloon(QStringLiteral("placed"), near, 0);
    QBalloonTip *tip = QBalloonTip::current();
    const QPoint expected = balloonPosition(scr, near, tip->size(), BalloonSide{false, false});
    QCOMPARE(expected, QPoint(scr.right() - tip->width() - 2, near.y() - tip->height()));
    QCOMPARE(tip->windowHandle()->framePosition(), expected);
}

void TestQBalloonTip::arrowIsPartOfTheWindowShapeOnlyWhenShown()
{
    // Arrow at top left: the triangle (18,18) (18,0) (36,18) above the bubble.
    QBalloonTip::showBalloon(QSystemTrayIcon::NoIcon, QString(), QStringLiteral("arrow"),
                             QPoint(100, 100), 0, true);
    QBalloonTip *tip = QBalloonTip::current();
    QVERIFY(tip->mask().contains(QPoint(20, 12)));
    QVERIFY(!tip->mask().contains(QPoint(5, 5)));
    QVERIFY(tip->mask().contains(QPoint(5, 25)));

    QBalloonTip::showBalloon(QSystemTrayIcon::NoIcon, QString(), QStringLiteral("no arrow"),
                             QPoint(100, 100), 0, false);
    tip = QBalloonTip::current();
    QVERIFY(!tip->mask().contains(QPoint(20, 12)));
    QVERIFY(tip->mask().contains(QPoint(5, 25)));
    // The same placement without the arrow (the test platform adds a window frame).
    QCOMPARE(tip->windowHandle()->framePosition(), QPoint(82, 100));
}

void TestQBalloonTip::clickAnywhereClosesBalloon()
{
    QBalloonTip::showBalloon(QSystemTrayIcon::Information, QString(), QStringLiteral("body"),
                             QPoint(100, 100), 0, true);
    QPointer<QBalloonTip> tip = QBalloonTip::current();
    for (QPushButton *button : tip->findChildren<QPushButton *>())
        QVERIFY(!button->isVisible());
    QLabel *title = tip->findChild<QLabel *>(QStringLiteral("QBalloonTip_TITLE"));
    QVERIFY(title);
    QVERIFY(!title->isVisible());

    QTest::mouseClick(tip, Qt::LeftButton, Qt::NoModifier, QPoint(5, 25));
    QTRY_VERIFY_WITH_TIMEOUT(tip.isNull(), 3000);
    QVERIFY(!QBalloonTip::current());
}

void TestQBalloonTip::titleShowsCloseButtonThatCloses()
{
    QBalloonTip::showBalloon(QSystemTrayIcon::Warning, QStringLiteral("Heads up"),
                             QStringLiteral("body"), QPoint(100, 100), 0, true);
    QPointer<QBalloonTip> tip = QBalloonTip::current();
    QLabel *title = tip->findChild<QLabel *>(QStringLiteral("QBalloonTip_TITLE"));
    QVERIFY(title->isVisible());
    QCOMPARE(title->text(), QStringLiteral("Heads up"));
    const QList<QPushButton *> buttons = tip->findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 1);
    QVERIFY(buttons.first()->isVisible());

    buttons.first()->click();
    QTRY_VERIFY_WITH_TIMEOUT(tip.isNull(), 3000);
}

QTEST_MAIN(TestQBalloonTip)
#include "tst_qballoontip.moc"
