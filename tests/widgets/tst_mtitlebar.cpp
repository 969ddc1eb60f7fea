#include "mbaseframe.h"
#include "mpanel.h"
#include "mtitlebar.h"
#include "qballoontip.h"
#include "systemmenucontrol.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &globalPos,
               Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, widget->mapFromGlobal(globalPos), globalPos, button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// Drags the bar by delta in three steps.
void drag(QWidget *bar, const QPoint &delta)
{
    const QPoint start = bar->mapToGlobal(QPoint(60, 10));
    sendMouse(bar, QEvent::MouseButtonPress, start);
    sendMouse(bar, QEvent::MouseMove, start + delta / 2);
    sendMouse(bar, QEvent::MouseMove, start + delta);
    sendMouse(bar, QEvent::MouseButtonRelease, start + delta);
}

QRect availableArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Counts what reaches the window's own handlers past the bar's filter.
class CountingFrame : public MBaseFrame
{
public:
    int resizes = 0;
    int stateChanges = 0;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        ++resizes;
        MBaseFrame::resizeEvent(event);
    }
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange)
            ++stateChanges;
        MBaseFrame::changeEvent(event);
    }
};

} // namespace

class TestMTitleBar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void barPartsCarryTheStyleSheetNames();
    void titleShowsOnlyTextsLongerThanTwoCharacters();
    void centreTitleIsWidenedAndCentredFromSixCharacters();
    void secondCreateTitleBarReturnsTheFirstUnchanged();
    void minimiseAndCloseFlagsHideAndDisableButtons();
    void maximiseThenRestoreReturnsToDraggedGeometry();
    void restoreWithNearFullSavedGeometryOnlySwapsButtons();
    void doubleClickMaximisesOnlyWhenAllowed();
    void minimisingHidesBalloon();
    void closeButtonClosesWindow();
    void windowResizeAndStateEventsAreConsumed();
    void stateChangesPassWhenMaximiseIsOff();
    void barFollowsWindowWidthWhenShown();
    void addWidgetFillsSidePanels();
    void setIconScalesImageIntoIconLabel();
    void barWithoutMainWindowIsInert();
    void systemMenuStaysOffUntilEnabled();
};

void TestMTitleBar::init()
{
    QCursor::setPos(-100, -100);
}

void TestMTitleBar::cleanup()
{
    QBalloonTip::hideBalloon();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestMTitleBar::barPartsCarryTheStyleSheetNames()
{
    QWidget window;
    MTitleBar bar(&window, &window);
    const QList<QPair<QWidget *, QString>> parts = {
        {&bar, QStringLiteral("MTitleBar")},
        {bar.getIconLabel(), QStringLiteral("MainTitleBar_Icon")},
        {bar.getTitleLabel(), QStringLiteral("MainTitleBar_Title")},
        {bar.getCenterTitleLabel(), QStringLiteral("MainTitleBar_Title")},
        {bar.getMinButton(), QStringLiteral("MainTitleBar_Min")},
        {bar.getMaxButton(), QStringLiteral("MainTitleBar_Max")},
        {bar.getRestoreButton(), QStringLiteral("MainTitleBar_Restore")},
        {bar.getCloseButton(), QStringLiteral("MainTitleBar_Close")},
    };
    for (const auto &part : parts)
        QCOMPARE(part.first->objectName(), part.second);
    // Restore replaces maximise only while maximised.
    QVERIFY(bar.getRestoreButton()->isHidden());
    QVERIFY(!bar.getMaxButton()->isHidden());
    QVERIFY(!bar.IsMax());
}

void TestMTitleBar::titleShowsOnlyTextsLongerThanTwoCharacters()
{
    QWidget window;
    MTitleBar bar(&window, &window);
    bar.setTitle(QStringLiteral("ab"));
    QVERIFY(bar.getTitleLabel()->isHidden());
    QCOMPARE(bar.getTitleLabel()->text(), QStringLiteral("ab"));
    QCOMPARE(bar.windowTitle(), QStringLiteral("ab"));
    bar.setTitle(QStringLiteral("abc"));
    QVERIFY(!bar.getTitleLabel()->isHidden());
    bar.setTitle(QString());
    QVERIFY(bar.getTitleLabel()->isHidden());
}

void TestMTitleBar::centreTitleIsWidenedAndCentredFromSixCharacters()
{
    QWidget window;
    window.resize(400, 100);
    MTitleBar bar(&window, &window);
    bar.resize(398, 33);

    bar.setCenterTitle(QStringLiteral("ab"));
    QVERIFY(bar.getCenterTitleLabel()->isHidden());

    QLabel *centre = bar.getCenterTitleLabel();
    const int widthBefore = centre->maximumWidth();
    bar.setCenterTitle(QStringLiteral("abcde"));
    QVERIFY(!centre->isHidden());
    bar.refreshUI();
    QCOMPARE(centre->maximumWidth(), widthBefore); // not fixed

    const QString longTitle = QStringLiteral("Centred title");
    bar.setCenterTitle(longTitle);
    bar.refreshUI();
    const int expected = int(centre->fontMetrics().horizontalAdvance(longTitle) * 1.6);
    QCOMPARE(centre->width(), expected);
    QCOMPARE(centre->minimumWidth(), expected);
    QCOMPARE(centre->x(), (bar.width() - expected) / 2);
    QCOMPARE(centre->y(), (bar.height() - centre->height()) / 2);
    QCOMPARE(bar.width(), 398); // window width - 2 x side margin 1
}

void TestMTitleBar::secondCreateTitleBarReturnsTheFirstUnchanged()
{
    MBaseFrame frame;
    frame.setWindowTitle(QStringLiteral("Frame title"));
    MTitleBar *bar = frame.createTitleBar(QStringLiteral("MyIcon"), true, false, true);
    QCOMPARE(bar->getTitleLabel()->text(), QStringLiteral("Frame title"));
    QCOMPARE(bar->getIconLabel()->objectName(), QStringLiteral("MyIcon"));
    QCOMPARE(frame.getCentralPanel()->getLayout()->indexOf(bar), 0);

    frame.setWindowTitle(QStringLiteral("Other"));
    MTitleBar *again = frame.createTitleBar(QStringLiteral("OtherIcon"), false, true, false);
    QCOMPARE(again, bar);
    QCOMPARE(bar->getIconLabel()->objectName(), QStringLiteral("MyIcon"));
    QCOMPARE(bar->getTitleLabel()->text(), QStringLiteral("Frame title"));
    QVERIFY(bar->getMinButton()->isEnabled());
    QVERIFY(!bar->getMaxButton()->isEnabled());
    QVERIFY(!bar->canMax());
    QVERIFY(bar->getCloseButton()->isEnabled());
    QCOMPARE(frame.findChildren<MTitleBar *>().size(), 1);
}

void TestMTitleBar::minimiseAndCloseFlagsHideAndDisableButtons()
{
    MBaseFrame frame;
    MTitleBar *bar = frame.createTitleBar(QString(), false, true, false);
    QVERIFY(!bar->getMinButton()->isEnabled());
    QVERIFY(bar->getMinButton()->isHidden());
    QVERIFY(!bar->getCloseButton()->isEnabled());
    QVERIFY(bar->getCloseButton()->isHidden());
    QVERIFY(bar->getMaxButton()->isEnabled());
    QVERIFY(!bar->getMaxButton()->isHidden());

    bar->setCanMin(true);
    QVERIFY(bar->getMinButton()->isEnabled());
    QVERIFY(!bar->getMinButton()->isHidden());
}

void TestMTitleBar::maximiseThenRestoreReturnsToDraggedGeometry()
{
    MBaseFrame frame;
    MTitleBar *bar = frame.createTitleBar();
    frame.setCenterOnFirstShow(false);
    frame.setGeometry(100, 100, 400, 300);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QTRY_COMPARE(frame.geometry(), QRect(100, 100, 400, 300));

    drag(bar, QPoint(30, 20));
    const QRect dragged(130, 120, 400, 300);
    QTRY_COMPARE(frame.geometry(), dragged);
    QCOMPARE(bar->getSavedGeometry(), dragged);

    QSignalSpy maxSpy(bar, &MTitleBar::signalMax);
    QTest::mouseClick(bar->getMaxButton(), Qt::LeftButton);
    QCOMPARE(maxSpy.count(), 1);
    QVERIFY(bar->IsMax());
    QTRY_COMPARE(frame.geometry(), availableArea());
    QVERIFY(bar->getRestoreButton()->isVisible());
    QVERIFY(!bar->getMaxButton()->isVisible());

    QTest::mouseClick(bar->getRestoreButton(), Qt::LeftButton);
    QVERIFY(!bar->IsMax());
    QTRY_COMPARE(frame.geometry(), dragged);
    QVERIFY(!bar->getRestoreButton()->isVisible());
    QVERIFY(bar->getMaxButton()->isVisible());
}

void TestMTitleBar::restoreWithNearFullSavedGeometryOnlySwapsButtons()
{
    const QRect area = availableArea();
    MBaseFrame frame;
    MTitleBar *bar = frame.createTitleBar();
    frame.setCenterOnFirstShow(false);
    frame.setGeometry(area.x(), area.y(), area.width() - 5, area.height() - 40);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QTRY_COMPARE(frame.width(), area.width() - 5);

    bar->ShowMaximized();
    QTRY_COMPARE(frame.geometry(), area);
    bar->ShowNormal();
    QVERIFY(!bar->getRestoreButton()->isVisible());
    QVERIFY(bar->getMaxButton()->isVisible());
    QVERIFY(!bar->IsMax());
    QCoreApplication::processEvents();
    QCOMPARE(frame.geometry(), area);
}

void TestMTitleBar::doubleClickMaximisesOnlyWhenAllowed()
{
    MBaseFrame frame;
    MTitleBar *bar = frame.createTitleBar();
    frame.setCenterOnFirstShow(false);
    frame.setGeometry(50, 60, 300, 200);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QTRY_COMPARE(frame.geometry(), QRect(50, 60, 300, 200));
    QSignalSpy maxSpy(bar, &MTitleBar::signalMax);

    bar->setCanMax(false);
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(80, 10));
    QCoreApplication::processEvents();
    QCOMPARE(maxSpy.count(), 0);
    QVERIFY(!bar->IsMax());
    QCOMPARE(frame.geometry(), QRect(50, 60, 300, 200));
    QVERIFY(bar->getMaxButton()->isHidden());
    QVERIFY(bar->getRestoreButton()->isHidden());

    bar->setCanMax(true);
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(80, 10));
    QCOMPARE(maxSpy.count(), 1);
    QVERIFY(bar->IsMax());
    QTRY_COMPARE(frame.geometry(), availableArea());
}

void TestMTitleBar::minimisingHidesBalloon()
{
    MBaseFrame frame;
    MTitleBar *bar = frame.createTitleBar();
    frame.resize(300, 200);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QBalloonTip::showBalloon(QStringLiteral("note"), QPoint(100, 100), 0);
    QPointer<QBalloonTip> tip = QBalloonTip::current();
    QVERIFY(tip);

    QSignalSpy minSpy(bar, &MTitleBar::signalMin);
    bar->ShowMaximized();
    QVERIFY(bar->IsMax());
    QTest::mouseClick(bar->getMinButton(), Qt::LeftButton);
    QCOMPARE(minSpy.count(), 1);
    QVERIFY(tip.isNull());
    QVERIFY(!QBalloonTip::current());
    QVERIFY(!bar->IsMax());
    QTRY_VERIFY(frame.windowState() & Qt::WindowMinimized);
}

void TestMTitleBar::closeButtonClosesWindow()
{
    MBaseFrame frame;
    MTitleBar *bar = frame.createTitleBar();
    frame.resize(300, 200);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QSignalSpy closeSpy(bar, &MTitleBar::windowClose);
    QTest::mouseClick(bar->getCloseButton(), Qt::LeftButton);
    QCOMPARE(closeSpy.count(), 1);
    QVERIFY(!frame.isVisible());
}

void TestMTitleBar::windowResizeAndStateEventsAreConsumed()
{
    CountingFrame frame;
    auto *content = new QWidget;
    frame.createTitleBar();
    frame.setContentPanel(content);
    frame.resize(300, 200);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.resize(360, 240);
    QTRY_COMPARE(frame.size(), QSize(360, 240));
    QCOMPARE(frame.resizes, 0);
    // The layout still follows the window.
    QTRY_COMPARE(frame.getCentralPanel()->size(), QSize(360, 240));

    QBalloonTip::showBalloon(QStringLiteral("note"), QPoint(100, 100), 0);
    QPointer<QBalloonTip> tip = QBalloonTip::current();
    frame.showMinimized();
    QTRY_VERIFY(frame.windowState() & Qt::WindowMinimized);
    QCOMPARE(frame.stateChanges, 0);
    QVERIFY(tip.isNull());
}

void TestMTitleBar::stateChangesPassWhenMaximiseIsOff()
{
    CountingFrame frame;
    frame.createTitleBar(QString(), true, false, true);
    frame.resize(300, 200);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QBalloonTip::showBalloon(QStringLiteral("note"), QPoint(100, 100), 0);
    frame.showMinimized();
    QTRY_COMPARE(frame.stateChanges, 1);
    QVERIFY(QBalloonTip::current()); // only the bar's own minimise hides it then
}

void TestMTitleBar::barFollowsWindowWidthWhenShown()
{
    MBaseFrame frame;
    MTitleBar *bar = frame.createTitleBar();
    bar->setMargin(3);
    frame.resize(420, 200);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QTRY_COMPARE(bar->width(), 420 - 2 * 3);
    QCOMPARE(bar->maximumWidth(), 414);
}

void TestMTitleBar::addWidgetFillsSidePanels()
{
    QWidget window;
    MTitleBar bar(&window, &window);
    bar.addWidget(nullptr, true);
    QVERIFY(bar.getLeftPanel()->isHidden());

    auto *left = new QPushButton(QStringLiteral("L"));
    bar.addWidget(left, true);
    QVERIFY(!bar.getLeftPanel()->isHidden());
    QCOMPARE(left->parentWidget(), bar.getLeftPanel());
    QVERIFY(bar.getRightPanel()->isHidden());

    auto *right = new QPushButton(QStringLiteral("R"));
    bar.addWidget(right, false);
    QVERIFY(!bar.getRightPanel()->isHidden());
    // Right-hand widgets sit after the panel's initial stretch, against the buttons.
    QCOMPARE(bar.getRightPanel()->getLayout()->indexOf(right), 1);
}

void TestMTitleBar::setIconScalesImageIntoIconLabel()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(Qt::green);
    const QString path = dir.filePath(QStringLiteral("icon.png"));
    QVERIFY(image.save(path));

    QWidget window;
    MTitleBar bar(&window, &window);
    bar.setShowIcon(false);
    QVERIFY(bar.getIconLabel()->isHidden());
    bar.setIcon(dir.filePath(QStringLiteral("none.png")));
    QVERIFY(bar.getIconLabel()->pixmap(Qt::ReturnByValue).isNull());
    bar.setIcon(path);
    QCOMPARE(bar.getIconLabel()->pixmap(Qt::ReturnByValue).size(), QSize(20, 10));
    QVERIFY(!bar.getIconLabel()->isHidden());
}

void TestMTitleBar::barWithoutMainWindowIsInert()
{
    QTest::ignoreMessage(QtInfoMsg, "MTitleBar::MTitleBar,mainWindow ==nullptr");
    MTitleBar bar(nullptr, nullptr);
    QVERIFY(bar.children().isEmpty());
    QVERIFY(!bar.getCloseButton());
    bar.setTitle(QStringLiteral("title"));
    bar.setCenterTitle(QStringLiteral("centre title"));
    bar.setCanMax(false);
    bar.addWidget(nullptr, true);
    bar.ShowMaximized();
    bar.ShowNormal();
    bar.ShowMinimized();
    bar.CloseWindow();
    bar.refreshUI();
    QVERIFY(!bar.IsMax());
    QVERIFY(bar.children().isEmpty());

    // Dragging such a bar reports the delta instead of moving anything.
    QSignalSpy moved(&bar, &MTitleBar::windowMove);
    sendMouse(&bar, QEvent::MouseButtonPress, QPoint(10, 10));
    sendMouse(&bar, QEvent::MouseMove, QPoint(15, 17));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toPoint(), QPoint(5, 7));
}

void TestMTitleBar::systemMenuStaysOffUntilEnabled()
{
    MBaseFrame frame;
    MTitleBar *bar = frame.createTitleBar();
    frame.resize(300, 200);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    SystemMenuControl *control = bar->getSystemMenuControl();
    QLabel *icon = bar->getIconLabel();
    QCursor::setPos(icon->mapToGlobal(icon->rect().center()));

    QTest::mousePress(icon, Qt::LeftButton, Qt::NoModifier, icon->rect().center());
    QCOMPARE(control->lastIconPress(), qint64(0));

    control->setEnabled(true);
    QTest::mousePress(icon, Qt::LeftButton, Qt::NoModifier, icon->rect().center());
    QVERIFY(control->lastIconPress() > 0);
    // Nothing native to bridge here: events pass on.
    long result = 0;
    QVERIFY(
        !control->nativeEventFilter(QByteArrayLiteral("xcb_generic_event_t"), nullptr, &result));
    QVERIFY(!SystemMenuControl::popupSystemMenu(&frame, QPoint(1, 1)));
    control->setEnabled(false);
    QVERIFY(!control->isEnabled());
}

QTEST_MAIN(TestMTitleBar)
#include "tst_mtitlebar.moc"
