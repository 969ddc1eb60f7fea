#include "mbaseframe.h"
#include "mtitlebar.h"
#include "qballoontip.h"

#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &globalPos)
{
    const Qt::MouseButtons held
        = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, widget->mapFromGlobal(globalPos), globalPos, Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

QRect availableArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

class TestMTitleBar : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_frame.reset(new MBaseFrame);
        m_bar = m_frame->createTitleBar();
        m_frame->setCenterOnFirstShow(false);
        m_frame->setGeometry(100, 100, 400, 300);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        QTRY_COMPARE(m_frame->geometry(), QRect(100, 100, 400, 300));
    }
    void cleanup()
    {
        QBalloonTip::hideBalloon();
        m_frame.reset();
    }

    void dragMovesAndMaximiseRestoresTheDraggedGeometry()
    {
        const QPoint start = m_bar->mapToGlobal(QPoint(60, 10));
        sendMouse(m_bar, QEvent::MouseButtonPress, start);
        sendMouse(m_bar, QEvent::MouseMove, start + QPoint(15, 10));
        sendMouse(m_bar, QEvent::MouseMove, start + QPoint(30, 20));
        sendMouse(m_bar, QEvent::MouseButtonRelease, start + QPoint(30, 20));
        const QRect dragged(130, 120, 400, 300);
        QTRY_COMPARE(m_frame->geometry(), dragged);

        QSignalSpy maxSpy(m_bar, &MTitleBar::signalMax);
        QTest::mouseClick(m_bar->getMaxButton(), Qt::LeftButton);
        QCOMPARE(maxSpy.count(), 1);
        QTRY_COMPARE(m_frame->geometry(), availableArea());
        QVERIFY(m_bar->getRestoreButton()->isVisible() && !m_bar->getMaxButton()->isVisible());

        QTest::mouseClick(m_bar->getRestoreButton(), Qt::LeftButton);
        QVERIFY(!m_bar->IsMax());
        QTRY_COMPARE(m_frame->geometry(), dragged);
        QVERIFY(!m_bar->getRestoreButton()->isVisible() && m_bar->getMaxButton()->isVisible());
    }

    void doubleClickMaximisesOnlyWhenAllowed()
    {
        QSignalSpy maxSpy(m_bar, &MTitleBar::signalMax);
        m_bar->setCanMax(false);
        QTest::mouseDClick(m_bar, Qt::LeftButton, Qt::NoModifier, QPoint(80, 10));
        QCoreApplication::processEvents();
        QCOMPARE(maxSpy.count(), 0);
        QCOMPARE(m_frame->geometry(), QRect(100, 100, 400, 300));
        QVERIFY(m_bar->getMaxButton()->isHidden() && m_bar->getRestoreButton()->isHidden());

        m_bar->setCanMax(true);
        QTest::mouseDClick(m_bar, Qt::LeftButton, Qt::NoModifier, QPoint(80, 10));
        QCOMPARE(maxSpy.count(), 1);
        QTRY_COMPARE(m_frame->geometry(), availableArea());
    }

    void minimiseHidesTheBalloonAndCloseClosesTheWindow()
    {
        QBalloonTip::showBalloon(QStringLiteral("note"), QPoint(100, 100), 0);
        QPointer<QBalloonTip> tip = QBalloonTip::current();
        QVERIFY(tip);
        QTest::mouseClick(m_bar->getMinButton(), Qt::LeftButton);
        QVERIFY(tip.isNull());
        QTRY_VERIFY(m_frame->windowState() & Qt::WindowMinimized);

        QSignalSpy closeSpy(m_bar, &MTitleBar::windowClose);
        QTest::mouseClick(m_bar->getCloseButton(), Qt::LeftButton);
        QCOMPARE(closeSpy.count(), 1);
        QVERIFY(!m_frame->isVisible());
    }

private:
    std::unique_ptr<MBaseFrame> m_frame;
    MTitleBar *m_bar = nullptr;
};

QTEST_MAIN(TestMTitleBar)
#include "tst_mtitlebar.moc"
