#include "qballoontip.h"

#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QMovie>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

int balloonCount()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<QBalloonTip *>(widget) ? 1 : 0;
    return count;
}

// A one-frame GIF, enough for QMovie to start.
QByteArray tinyGif()
{
    return QByteArray::fromHex("47494638396101000100800000ffffff00000021f90400"
                               "0a0000002c00000000010001000002024401003b");
}

} // namespace

class TestQBalloonTip : public QObject
{
    Q_OBJECT

private slots:
    void init() { QCursor::setPos(-100, -100); }
    void cleanup()
    {
        QBalloonTip::hideBalloon();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(balloonCount(), 0);
    }

    void onlyOneBalloonExistsAtATime()
    {
        QBalloonTip::showBalloon(QStringLiteral("first"), QPoint(100, 100), 0);
        QPointer<QBalloonTip> first = QBalloonTip::current();
        QVERIFY(first && first->isVisible());
        QBalloonTip::showBalloon(QSystemTrayIcon::Warning, QStringLiteral("Title"),
                                 QStringLiteral("second"), QPoint(120, 120), 0, true);
        QVERIFY(first.isNull());
        QCOMPARE(balloonCount(), 1); // hideBalloon() removing it: cleanup()
    }

    void timeoutClosesUnlessTheMouseIsOver()
    {
        QBalloonTip::showBalloon(QStringLiteral("short"), QPoint(100, 100), 50);
        QPointer<QBalloonTip> tip = QBalloonTip::current();
        QVERIFY(tip);
        QTRY_VERIFY_WITH_TIMEOUT(tip.isNull(), 3000);
        QVERIFY(!QBalloonTip::current());

        QBalloonTip::showBalloon(QStringLiteral("stay"), QPoint(100, 100), 50);
        tip = QBalloonTip::current();
        QCursor::setPos(tip->geometry().center());
        QTRY_COMPARE_WITH_TIMEOUT(tip->timeoutTimerId(), -1, 3000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(tip && tip->isVisible());
        // It then stays until clicked.
        QTest::mouseClick(tip, Qt::LeftButton, Qt::NoModifier, tip->rect().center());
        QTRY_VERIFY_WITH_TIMEOUT(tip.isNull(), 3000);
    }

    void animationWithZeroTimeoutNeverCloses()
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
        QCOMPARE(started.count(), 1); // started by the show
    }

    // A click on the body closes it too: timeoutClosesUnlessTheMouseIsOver.
    void closeButtonOfTheTitleClosesTheBalloon()
    {
        QBalloonTip::showBalloon(QSystemTrayIcon::Information, QStringLiteral("Heads up"),
                                 QStringLiteral("body"), QPoint(100, 100), 0, true);
        QPointer<QBalloonTip> tip = QBalloonTip::current();
        QPushButton *close = tip->findChild<QPushButton *>();
        QVERIFY(close && close->isVisible());
        close->click();
        QTRY_VERIFY_WITH_TIMEOUT(tip.isNull(), 3000);
        QVERIFY(!QBalloonTip::current());
    }
};

QTEST_MAIN(TestQBalloonTip)
#include "tst_qballoontip.moc"
