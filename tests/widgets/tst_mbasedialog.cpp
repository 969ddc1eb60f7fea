#include "mbasedialog.h"
#include "mpanel.h"
#include "mtitlebar.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &globalPos)
{
    const Qt::MouseButtons held
        = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, widget->mapFromGlobal(globalPos), globalPos, Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// Runs action once the dialog is shown modally; a bounded number of tries.
void whenShown(QDialog *dialog, std::function<void()> action)
{
    auto *poll = new QTimer(dialog);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, dialog, [=] {
        if (dialog->isVisible() || ++*tries > 200) {
            poll->stop();
            poll->deleteLater();
            if (dialog->isVisible())
                action();
            else
                dialog->reject();
        }
    });
    poll->start(10);
}

int execClicking(MBaseDialog &dialog, int buttonIndex)
{
    whenShown(&dialog, [&dialog, buttonIndex] {
        QTest::mouseClick(dialog.getBtn(buttonIndex), Qt::LeftButton);
    });
    return dialog.exec();
}

} // namespace

class TestMBaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void freshDialogHasHiddenStyledButtons();
    void footerFollowsButtonSetCode();
    void sizesAndSpacingApplyOnlyWithButtons();
    void okAndYesAcceptCancelAndNoReject();
    void closeButtonSetAcceptsWithItsOneButton();
    void secondContentLayoutIsRefused();
    void contentWidgetGetsALayoutOnDemand();
    void titleIsShownAfterTwoSpaces();
    void bodyDragNeedsCanMoveable();
    void titleBarDragMovesDialog();
    void windowFlagsFollowTopAndTaskbarSettings();
    void fullScreenHidesChrome();
    void addWidgetGoesLeftOfStandardButtons();
    void destroyOnCloseDeletesDialog();
    void fadesInToFullOpacity();
};

void TestMBaseDialog::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestMBaseDialog::freshDialogHasHiddenStyledButtons()
{
    MBaseDialog dialog;
    // The names are the style sheet's selectors.
    QCOMPARE(dialog.getFooterPanel()->objectName(), QStringLiteral("DialogPanel"));
    QCOMPARE(dialog.getCenterPanel()->objectName(), QStringLiteral("DialogPanel"));
    QCOMPARE(dialog.getTitleBar()->getIconLabel()->objectName(), QStringLiteral("Dialog_Icon"));
    const QStringList names = {QStringLiteral("BtnDefault"), QStringLiteral("BtnDialog"),
                               QStringLiteral("BtnDefault"), QStringLiteral("BtnDialog")};
    for (int i = 0; i < 4; ++i) {
        QVERIFY(dialog.getBtn(i)->isHidden());
        QCOMPARE(dialog.getBtn(i)->objectName(), names[i]);
    }
    QVERIFY(!dialog.getBtn(4));
    QVERIFY(!dialog.getBtn(-1));
    QCOMPARE(dialog.getTitleBar()->getMainWindow(), &dialog);
    QVERIFY(!dialog.getTitleBar()->canMax());
}

void TestMBaseDialog::footerFollowsButtonSetCode()
{
    MBaseDialog dialog;
    MPanel *footer = dialog.getFooterPanel();
    auto shown = [&dialog] {
        QList<int> visible;
        for (int i = 0; i < 4; ++i) {
            if (!dialog.getBtn(i)->isHidden())
                visible << i;
        }
        return visible;
    };

    dialog.setBtns(DB_Ok);
    QCOMPARE(shown(), QList<int>{0});
    QCOMPARE(dialog.getBtn(0)->text(), QStringLiteral("Ok"));

    dialog.setBtns(DB_Close);
    QCOMPARE(shown(), QList<int>{0});
    QCOMPARE(dialog.getBtn(0)->text(), QStringLiteral("Close"));

    dialog.setBtns(DB_OkCancel);
    QCOMPARE(shown(), (QList<int>{0, 1}));

    dialog.setBtns(DB_YesNo);
    QCOMPARE(shown(), (QList<int>{2, 3}));
    QVERIFY(!footer->isHidden());

    dialog.setBtns(DialogButton(9));
    QVERIFY(shown().isEmpty());
    QVERIFY(!footer->isHidden());

    dialog.setBtns(DB_None);
    QVERIFY(shown().isEmpty());
    QVERIFY(footer->isHidden());

    // Footer order: Cancel, No, Ok, Yes from left to right.
    QBoxLayout *layout = footer->getLayout();
    QVERIFY(layout->indexOf(dialog.getBtn(1)) < layout->indexOf(dialog.getBtn(3)));
    QVERIFY(layout->indexOf(dialog.getBtn(3)) < layout->indexOf(dialog.getBtn(0)));
    QVERIFY(layout->indexOf(dialog.getBtn(0)) < layout->indexOf(dialog.getBtn(2)));
}

void TestMBaseDialog::sizesAndSpacingApplyOnlyWithButtons()
{
    MBaseDialog dialog;
    MPanel *footer = dialog.getFooterPanel();
    const int spacingBefore = footer->getLayout()->spacing();

    dialog.setBtns(DB_None, 120, 30, 6);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(dialog.getBtn(i)->size(), QSize(100, 25));
    QCOMPARE(footer->getLayout()->spacing(), spacingBefore);

    dialog.setBtns(DB_OkCancel, 120, 30, 0);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(dialog.getBtn(i)->size(), QSize(120, 30));
    QCOMPARE(footer->getLayout()->spacing(), spacingBefore);

    dialog.setBtns(DB_OkCancel, -1, 40, 6);
    QCOMPARE(dialog.getBtn(0)->size(), QSize(120, 40));
    QCOMPARE(footer->getLayout()->contentsMargins(), QMargins(6, 6, 6, 6));
    QCOMPARE(footer->getLayout()->spacing(), 6);
}

void TestMBaseDialog::okAndYesAcceptCancelAndNoReject()
{
    struct Case
    {
        DialogButton set;
        int button;
        int exec;
        int clickCode;
    };
    const QList<Case> cases = {
        {DB_OkCancel, 0, QDialog::Accepted, 0},
        {DB_OkCancel, 1, QDialog::Rejected, -1},
        {DB_YesNo, 2, QDialog::Accepted, 0},
        {DB_YesNo, 3, QDialog::Rejected, -1},
    };
    for (const Case &c : cases) {
        MBaseDialog dialog;
        dialog.setBtns(c.set);
        QSignalSpy clicks(&dialog, &MBaseDialog::onBtnClick);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        QCOMPARE(execClicking(dialog, c.button), c.exec);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).toInt(), c.clickCode);
        QCOMPARE(accepted.count(), c.exec == QDialog::Accepted ? 1 : 0);
        QCOMPARE(rejected.count(), c.exec == QDialog::Accepted ? 0 : 1);
        QVERIFY(!dialog.isVisible());
    }
}

void TestMBaseDialog::closeButtonSetAcceptsWithItsOneButton()
{
    MBaseDialog dialog;
    dialog.setBtns(DB_Close);
    QCOMPARE(execClicking(dialog, 0), int(QDialog::Accepted));

    // Closing from the title bar is a rejection.
    MBaseDialog other;
    other.setBtns(DB_OkCancel);
    whenShown(&other, [&other] {
        QTest::mouseClick(other.getTitleBar()->getCloseButton(), Qt::LeftButton);
    });
    QCOMPARE(other.exec(), int(QDialog::Rejected));
}

void TestMBaseDialog::secondContentLayoutIsRefused()
{
    MBaseDialog dialog;
    auto *first = new QHBoxLayout;
    dialog.setContentLayout(first);
    QCOMPARE(dialog.getCenterPanel()->layout(), first);

    auto *second = new QHBoxLayout;
    QTest::ignoreMessage(QtInfoMsg, "CenterPanel had a layout.");
    dialog.setContentLayout(second);
    QCOMPARE(dialog.getCenterPanel()->layout(), first);
    QVERIFY(!second->parent());
    delete second;
}

void TestMBaseDialog::contentWidgetGetsALayoutOnDemand()
{
    MBaseDialog dialog;
    auto *label = new QLabel(QStringLiteral("content"));
    dialog.setContentWidget(label);
    auto *layout = qobject_cast<QVBoxLayout *>(dialog.getCenterPanel()->layout());
    QVERIFY(layout);
    QCOMPARE(layout->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(layout->spacing(), 0);
    QCOMPARE(label->parentWidget(), dialog.getCenterPanel());

    auto *more = new QLabel(QStringLiteral("more"));
    dialog.setContentWidget(more);
    QCOMPARE(dialog.getCenterPanel()->layout(), layout);
    QCOMPARE(layout->count(), 2);
}

void TestMBaseDialog::titleIsShownAfterTwoSpaces()
{
    MBaseDialog dialog;
    dialog.setTitle(QStringLiteral("Hello"));
    QCOMPARE(dialog.getTitleBar()->getTitleLabel()->text(), QStringLiteral("  Hello"));
    QVERIFY(!dialog.getTitleBar()->getTitleLabel()->isHidden());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Hello"));

    dialog.setTitle(QString());
    QVERIFY(dialog.getTitleBar()->getTitleLabel()->isHidden());
}

void TestMBaseDialog::bodyDragNeedsCanMoveable()
{
    MBaseDialog dialog;
    dialog.setGeometry(100, 100, 300, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTRY_COMPARE(dialog.pos(), QPoint(100, 100));

    const QPoint start = dialog.mapToGlobal(QPoint(150, 100));
    sendMouse(&dialog, QEvent::MouseButtonPress, start);
    sendMouse(&dialog, QEvent::MouseMove, start + QPoint(40, 25));
    sendMouse(&dialog, QEvent::MouseButtonRelease, start + QPoint(40, 25));
    QCoreApplication::processEvents();
    QCOMPARE(dialog.pos(), QPoint(100, 100));

    dialog.setCanMoveable(true);
    sendMouse(&dialog, QEvent::MouseButtonPress, start);
    sendMouse(&dialog, QEvent::MouseMove, start + QPoint(20, 10));
    sendMouse(&dialog, QEvent::MouseMove, start + QPoint(40, 25));
    sendMouse(&dialog, QEvent::MouseButtonRelease, start + QPoint(40, 25));
    QTRY_COMPARE(dialog.pos(), QPoint(140, 125));

    // After the release, moves no longer drag.
    sendMouse(&dialog, QEvent::MouseMove, start + QPoint(90, 90));
    QCoreApplication::processEvents();
    QCOMPARE(dialog.pos(), QPoint(140, 125));
}

void TestMBaseDialog::titleBarDragMovesDialog()
{
    MBaseDialog dialog;
    dialog.setGeometry(100, 100, 300, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTRY_COMPARE(dialog.pos(), QPoint(100, 100));
    MTitleBar *bar = dialog.getTitleBar();
    const QPoint start = bar->mapToGlobal(QPoint(50, 10));
    sendMouse(bar, QEvent::MouseButtonPress, start);
    sendMouse(bar, QEvent::MouseMove, start + QPoint(-30, 15));
    sendMouse(bar, QEvent::MouseButtonRelease, start + QPoint(-30, 15));
    QTRY_COMPARE(dialog.pos(), QPoint(70, 115));
}

void TestMBaseDialog::windowFlagsFollowTopAndTaskbarSettings()
{
    MBaseDialog dialog;
    dialog.setHideInTaskbar(true);
    QCOMPARE(dialog.windowType(), Qt::Tool);
    QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    dialog.setAlwaysOnTheTop(false);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowStaysOnTopHint));
    QCOMPARE(dialog.windowType(), Qt::Tool);
    dialog.setHideInTaskbar(false);
    QCOMPARE(dialog.windowType(), Qt::Dialog);
    dialog.setResizable(true);
    QVERIFY(dialog.isSizeGripEnabled());
}

void TestMBaseDialog::fullScreenHidesChrome()
{
    MBaseDialog dialog;
    dialog.setBtns(DB_OkCancel);
    dialog.setFullScreen(true, DB_Ok);
    QVERIFY(dialog.getTitleBar()->isHidden());
    QVERIFY(dialog.getFooterPanel()->isHidden());
    for (int i = 0; i < 4; ++i)
        QVERIFY(dialog.getBtn(i)->isHidden());
    QCOMPARE(dialog.layout()->contentsMargins(), QMargins(0, 0, 0, 0));

    dialog.setFullScreen(false, DB_Ok);
    QVERIFY(!dialog.getTitleBar()->isHidden());
    QVERIFY(!dialog.getFooterPanel()->isHidden());
    QVERIFY(!dialog.getBtn(0)->isHidden());
    QVERIFY(dialog.getBtn(1)->isHidden());
    QCOMPARE(dialog.layout()->contentsMargins(), QMargins(1, 1, 1, 1));
}

void TestMBaseDialog::addWidgetGoesLeftOfStandardButtons()
{
    MBaseDialog dialog;
    dialog.setBtns(DB_Ok);
    auto *extra = new QPushButton(QStringLiteral("Extra"));
    dialog.addWidget(extra);
    QCOMPARE(extra->parentWidget(), dialog.getFooterPanel());
    dialog.resize(400, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTRY_VERIFY(extra->geometry().right() < dialog.getBtn(0)->geometry().left());
}

void TestMBaseDialog::destroyOnCloseDeletesDialog()
{
    QPointer<MBaseDialog> dialog = new MBaseDialog;
    dialog->setDestoryOnClose(true);
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
    dialog->show();
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialog.isNull());
}

void TestMBaseDialog::fadesInToFullOpacity()
{
    MBaseDialog dialog;
    QVERIFY(dialog.windowOpacity() < 1.0);
    QTRY_COMPARE_WITH_TIMEOUT(dialog.windowOpacity(), 1.0, 3000);
}

QTEST_MAIN(TestMBaseDialog)
#include "tst_mbasedialog.moc"
