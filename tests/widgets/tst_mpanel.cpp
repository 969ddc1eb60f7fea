#include "mpanel.h"

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

class TestMPanel : public QObject
{
    Q_OBJECT

private slots:
    void addedWidgetsAreChildrenUntilCleaned()
    {
        MPanel panel(Qt::Horizontal, nullptr);
        panel.addSpacing(5);
        QPointer<QLabel> label
            = panel.addText(QStringLiteral("t"), QString(), 9, 0, QStringLiteral("id"));
        QCOMPARE(panel.getTextLabel(QStringLiteral("id")), label.data());
        QPointer<QWidget> widget = new QWidget;
        panel.addWidget(widget);
        panel.addWidget(nullptr);
        auto *sub = new QVBoxLayout;
        panel.addLayout(sub);
        QCOMPARE(panel.getLayout()->count(), 4);
        QVERIFY(widget->parentWidget() == &panel && sub->parentWidget() == &panel);

        panel.cleanWidget();
        QCOMPARE(panel.getLayout()->count(), 2); // spacing and sub-layout are no widgets
        QVERIFY(!panel.getTextLabel(QStringLiteral("id")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(label.isNull() && widget.isNull());
    }

    void leftPressClicksAtItsPosition()
    {
        MPanel panel(Qt::Vertical, nullptr);
        QSignalSpy clicked(&panel, &MPanel::clicked);
        QSignalSpy clickAt(&panel, &MPanel::signalMouseClick);
        QTest::mousePress(&panel, Qt::RightButton, {}, QPoint(7, 9));
        QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(7, 9));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clickAt.count(), 1);
        QCOMPARE(clickAt.at(0), QVariantList({7, 9}));
    }
};

QTEST_MAIN(TestMPanel)
#include "tst_mpanel.moc"
