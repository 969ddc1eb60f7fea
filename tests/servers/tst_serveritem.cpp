// The server row widget: sizes, spacing and styles of its three labels, and its flag picture.

#include "resinit.h"
#include "serveritem.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QtTest>

class TestServerItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { quellnetInitResources(); }

    void labelsHaveTheirFixedSizesAndStyles()
    {
        ServerItem item(ServerItem::flagPixmap(QStringLiteral("JP")), QStringLiteral("Tokyo 1"),
                        QString());
        QCOMPARE(item.flagLabel()->minimumSize(), QSize(40, 25));
        QCOMPARE(item.flagLabel()->maximumSize(), QSize(40, 25));
        QCOMPARE(item.nameLabel()->minimumWidth(), 120);
        QCOMPARE(item.nameLabel()->maximumWidth(), 120);
        QCOMPARE(item.speedLabel()->minimumWidth(), 60);
        QCOMPARE(item.speedLabel()->maximumWidth(), 60);
        QCOMPARE(item.nameLabel()->styleSheet(), QStringLiteral("color:rgb(22,22,22);"));
        QCOMPARE(item.speedLabel()->styleSheet(), QStringLiteral("color:rgb(22,22,22);"));
        QVERIFY(item.flagLabel()->styleSheet().isEmpty());
        QCOMPARE(item.nameLabel()->text(), QStringLiteral("Tokyo 1"));
        QCOMPARE(item.name(), QStringLiteral("Tokyo 1"));
        QVERIFY(item.speed().isEmpty());
    }

    void layoutPlacesFlagNameAndSpeedLeftToRight()
    {
        ServerItem item(ServerItem::flagPixmap(QStringLiteral("DE")), QStringLiteral("Berlin"),
                        QStringLiteral("12 ms"));
        auto *layout = qobject_cast<QHBoxLayout *>(item.layout());
        QVERIFY(layout);
        QCOMPARE(layout->contentsMargins(), QMargins(0, 0, 0, 0));
        QCOMPARE(layout->spacing(), 1);
        // 2 px, flag, 2 px, name, 5 px, speed.
        QCOMPARE(layout->count(), 6);
        QCOMPARE(layout->itemAt(0)->spacerItem()->sizeHint().width(), 2);
        QCOMPARE(layout->itemAt(1)->widget(), item.flagLabel());
        QCOMPARE(layout->itemAt(2)->spacerItem()->sizeHint().width(), 2);
        QCOMPARE(layout->itemAt(3)->widget(), item.nameLabel());
        QCOMPARE(layout->itemAt(4)->spacerItem()->sizeHint().width(), 5);
        QCOMPARE(layout->itemAt(5)->widget(), item.speedLabel());

        // At its natural width: Qt puts the 1 px gap after each label, not after a spacer.
        QCOMPARE(item.sizeHint().width(), 2 + 40 + 1 + 2 + 120 + 1 + 5 + 60);
        item.resize(item.sizeHint().width(), 26);
        item.show();
        QVERIFY(QTest::qWaitForWindowExposed(&item));
        QCOMPARE(item.flagLabel()->x(), 2);
        QCOMPARE(item.flagLabel()->size(), QSize(40, 25));
        QCOMPARE(item.nameLabel()->x(), 2 + 40 + 1 + 2);
        QCOMPARE(item.speedLabel()->x(), 2 + 40 + 1 + 2 + 120 + 1 + 5);
        QCOMPARE(item.speedLabel()->width(), 60);

        // In a wider list row the labels keep their sizes and order.
        item.resize(300, 26);
        QTRY_COMPARE(item.width(), 300);
        QCOMPARE(item.flagLabel()->size(), QSize(40, 25));
        QCOMPARE(item.nameLabel()->width(), 120);
        QCOMPARE(item.speedLabel()->width(), 60);
        QVERIFY(item.flagLabel()->geometry().right() < item.nameLabel()->x());
        QVERIFY(item.nameLabel()->geometry().right() < item.speedLabel()->x());
        QCOMPARE(item.speedLabel()->text(), QStringLiteral("12 ms"));
    }

    void speedIsSetLater()
    {
        ServerItem item(QPixmap(), QStringLiteral("Oslo"), QString());
        item.setSpeed(QStringLiteral(">1000 ms"));
        QCOMPARE(item.speed(), QStringLiteral(">1000 ms"));
        QCOMPARE(item.speedLabel()->text(), QStringLiteral(">1000 ms"));
        item.setSpeed(QStringLiteral("7 ms"));
        QCOMPARE(item.speedLabel()->text(), QStringLiteral("7 ms"));
    }

    void flagPictureIsTheResourceStretchedToFiftyByTwentyFive()
    {
        const QPixmap flag = ServerItem::flagPixmap(QStringLiteral("JP"));
        QVERIFY(!flag.isNull());
        QCOMPARE(flag.size(), QSize(50, 25));
        // Japan: a red disc in the middle of white.
        const QImage image = flag.toImage();
        const QColor centre = image.pixelColor(25, 12);
        QVERIFY2(centre.red() > 150 && centre.green() < 80 && centre.blue() < 100,
                 qPrintable(centre.name()));
        const QColor corner = image.pixelColor(2, 2);
        QVERIFY2(corner.red() > 230 && corner.green() > 230 && corner.blue() > 230,
                 qPrintable(corner.name()));
        QVERIFY(ServerItem::flagPixmap(QStringLiteral("NOPE")).isNull());
    }

    void rowShowsTheFlagInItsFlagLabel()
    {
        ServerItem item(ServerItem::flagPixmap(QStringLiteral("JP")), QStringLiteral("Tokyo"),
                        QStringLiteral("3 ms"));
        item.resize(300, 26);
        const QImage shot = item.grab().toImage();
        const QPoint centre = item.flagLabel()->geometry().topLeft() + QPoint(25, 12);
        const QColor colour = shot.pixelColor(centre);
        QVERIFY2(colour.red() > 150 && colour.green() < 80, qPrintable(colour.name()));
        QCOMPARE(item.flagLabel()->pixmap(Qt::ReturnByValue).size(), QSize(50, 25));
    }

    void fillReplacesTheRowsAndMarksTheCurrentServer()
    {
        QListWidget list;
        ServerInfoList servers;
        for (int i = 0; i < 3; ++i) {
            auto server = ServerInfoPtr::create();
            server->host = QStringLiteral("127.66.0.%1").arg(i + 1);
            server->name = QStringLiteral("Server %1").arg(i + 1);
            server->country = QStringLiteral("JP");
            servers.append(server);
        }
        fillServerRows(&list, servers, servers.at(1), 26);
        fillServerRows(&list, servers, servers.at(1), 26); // a refill replaces, never appends
        QCOMPARE(list.count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(list.item(i)->data(Qt::UserRole).toString(), servers.at(i)->host);
            QCOMPARE(list.item(i)->sizeHint(), QSize(0, 26));
            auto *row = qobject_cast<ServerItem *>(list.itemWidget(list.item(i)));
            QVERIFY(row);
            QCOMPARE(row->name(), servers.at(i)->name);
            QVERIFY(row->speed().isEmpty());
        }
        QCOMPARE(list.currentRow(), 1);
        QVERIFY(list.updatesEnabled());
    }
};

QTEST_MAIN(TestServerItem)
#include "tst_serveritem.moc"
