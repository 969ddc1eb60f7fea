// The server row widget: sizes, spacing and styles of its three labels, and its flag picture;
// the server list whose rows get their widgets only as they come into view.

#include "resinit.h"
#include "serveritem.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QScrollBar>
#include <QtTest>

namespace {

constexpr int kRowHeight = 26;
constexpr int kManyRows = 2000;

// Japan, Germany, France in turn: row r is JP when r % 3 == 0.
ServerInfoList makeServers(int count)
{
    static const char *const kCountries[] = {"JP", "DE", "FR"};
    ServerInfoList servers;
    for (int i = 0; i < count; ++i) {
        auto server = ServerInfoPtr::create();
        server->host = QStringLiteral("127.66.%1.%2").arg(i / 250).arg(i % 250 + 1);
        server->name = QStringLiteral("Server %1").arg(i);
        server->country = QLatin1String(kCountries[i % 3]);
        servers.append(server);
    }
    return servers;
}

ServerItem *itemWidgetOf(const QListWidget &list, int row)
{
    return qobject_cast<ServerItem *>(list.itemWidget(list.item(row)));
}

bool rowInView(const QListWidget &list, int row)
{
    const QRect rect = list.visualRect(list.model()->index(row, 0));
    return rect.isValid() && rect.intersects(list.viewport()->rect());
}

} // namespace

#define VERIFY_ROWS_IN_VIEW_COUNT(list, expected, inView)                  \
    do {                                                                   \
        const QString problem = rowsInViewProblem(list, expected, inView); \
        QVERIFY2(problem.isEmpty(), qPrintable(problem));                  \
    } while (false)
#define VERIFY_ROWS_IN_VIEW(list, expected) VERIFY_ROWS_IN_VIEW_COUNT(list, expected, nullptr)

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
        // Thousands of rows share a few flags: scaled once, then the same picture.
        QCOMPARE(ServerItem::flagPixmap(QStringLiteral("JP")).cacheKey(), flag.cacheKey());
        QVERIFY(ServerItem::flagPixmap(QStringLiteral("DE")).cacheKey() != flag.cacheKey());
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
            QCOMPARE(list.item(i)->data(ServerListWidget::NameRole).toString(),
                     servers.at(i)->name);
            QCOMPARE(list.item(i)->data(ServerListWidget::FlagRole).toString(),
                     QStringLiteral("JP"));
            // A plain list has a widget for every row.
            ServerItem *row = itemWidgetOf(list, i);
            QVERIFY(row);
            QCOMPARE(row->name(), servers.at(i)->name);
            QVERIFY(row->speed().isEmpty());
        }
        QCOMPARE(list.currentRow(), 1);
        QVERIFY(list.updatesEnabled());
    }

    void manyRowsGetWidgetsOnlyInViewAsTheListScrolls()
    {
        ServerListWidget list;
        list.resize(300, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const ServerInfoList servers = makeServers(kManyRows);
        fillServerRows(&list, servers, servers.first(), kRowHeight);
        QCoreApplication::processEvents();
        QCOMPARE(list.count(), kManyRows);
        // Every row holds its server; only the rows in view have widgets, whatever the length.
        for (int i = 0; i < kManyRows; ++i) {
            const QListWidgetItem *item = list.item(i);
            QCOMPARE(item->data(Qt::UserRole).toString(), servers.at(i)->host);
            QCOMPARE(item->data(ServerListWidget::NameRole).toString(), servers.at(i)->name);
            QCOMPARE(item->data(ServerListWidget::FlagRole).toString(),
                     QLatin1String(i % 3 == 0       ? "JP"
                                       : i % 3 == 1 ? "DE"
                                                    : "FR"));
            QCOMPARE(item->sizeHint(), QSize(0, kRowHeight));
            QVERIFY(list.rowSpeed(i).isEmpty());
        }
        int inView = 0;
        VERIFY_ROWS_IN_VIEW_COUNT(list, 0, &inView);
        QCOMPARE(list.findChildren<ServerItem *>().size(), inView);

        list.scrollToItem(list.item(kManyRows / 2), QAbstractItemView::PositionAtCenter);
        QCoreApplication::processEvents();
        VERIFY_ROWS_IN_VIEW(list, kManyRows / 2);
        list.scrollToBottom();
        QCoreApplication::processEvents();
        VERIFY_ROWS_IN_VIEW(list, kManyRows - 1);
        // The scroll bar dragged to a third of the list.
        list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum() / 3);
        QCoreApplication::processEvents();
        const int firstInView = list.indexAt(QPoint(10, 0)).row();
        QVERIFY(firstInView > 0);
        VERIFY_ROWS_IN_VIEW(list, firstInView);
        list.scrollToTop();
        QCoreApplication::processEvents();
        VERIFY_ROWS_IN_VIEW(list, 0);
        // Made widgets stay with their rows, but only the ones in view are in the viewport.
        VERIFY_ROWS_IN_VIEW_COUNT(list, 0, &inView);
        QCOMPARE(list.viewport()
                     ->findChildren<ServerItem *>(QString(), Qt::FindDirectChildrenOnly)
                     .size(),
                 inView);
        QVERIFY(list.findChildren<ServerItem *>().size() < 6 * inView);
    }

    void aFarRowGetsItsWidgetWhenAskedAndItStaysOffScreen()
    {
        ServerListWidget list;
        list.resize(300, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        fillServerRows(&list, makeServers(kManyRows), ServerInfoPtr(), kRowHeight);
        QCoreApplication::processEvents();
        int inView = 0;
        VERIFY_ROWS_IN_VIEW_COUNT(list, 0, &inView);
        // Only the rows in view have made their labels.
        QCOMPARE(list.findChildren<QLabel *>().size(), 3 * inView);

        const int farRow = kManyRows - 5;
        QVERIFY(!list.existingRowWidget(farRow));
        QCOMPARE(list.rowOfWidget(nullptr), -1);
        ServerItem *far = list.rowWidget(farRow);
        QVERIFY(far);
        QCOMPARE(list.rowWidget(farRow), far);
        QCOMPARE(list.existingRowWidget(farRow), far);
        QCOMPARE(list.rowOfWidget(far), farRow);
        QVERIFY(!far->isVisible());
        QVERIFY(far->parentWidget() != list.viewport());
        QCOMPARE(far->nameLabel()->text(), QStringLiteral("Server %1").arg(farRow));
        QCOMPARE(far->flagLabel()->pixmap(Qt::ReturnByValue).size(), QSize(50, 25));
        QVERIFY(far->speedLabel()->text().isEmpty());
        QVERIFY(!far->nameLabel()->isVisible());
        // Made out of view, it changes nothing in view.
        VERIFY_ROWS_IN_VIEW(list, 0);

        QVERIFY(!list.rowWidget(-1));
        QVERIFY(!list.rowWidget(kManyRows));
        QVERIFY(!list.existingRowWidget(kManyRows));
        list.setRowSpeed(kManyRows, QStringLiteral("1 ms"));
        QVERIFY(list.rowSpeed(kManyRows).isEmpty());
        ServerItem foreign(QPixmap(), QStringLiteral("Elsewhere"), QString());
        QCOMPARE(list.rowOfWidget(&foreign), -1);
    }

    void speedOfARowOutOfViewShowsWhenScrolledIn()
    {
        ServerListWidget list;
        list.resize(300, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        fillServerRows(&list, makeServers(kManyRows), ServerInfoPtr(), kRowHeight);
        QCoreApplication::processEvents();

        const int target = 1500;
        list.setRowSpeed(target, QStringLiteral("42 ms"));
        QCOMPARE(list.rowSpeed(target), QStringLiteral("42 ms"));
        QVERIFY(!list.existingRowWidget(target)); // storing a speed makes no widget
        // Shown with its labels by the scroll itself, not some later event.
        list.scrollToItem(list.item(target));
        ServerItem *row = list.existingRowWidget(target);
        QVERIFY(row);
        QVERIFY(row->isVisible());
        QCOMPARE(row->geometry(), list.visualRect(list.model()->index(target, 0)));
        QVERIFY(row->speedLabel()->isVisible());
        QCOMPARE(row->speedLabel()->text(), QStringLiteral("42 ms"));
        QCOMPARE(row->speed(), QStringLiteral("42 ms"));
        QVERIFY(row->nameLabel()->isVisible());
        QCOMPARE(row->nameLabel()->text(), QStringLiteral("Server %1").arg(target));
        // A row with a widget takes a new speed at once.
        list.setRowSpeed(target, QStringLiteral("7 ms"));
        QCOMPARE(row->speedLabel()->text(), QStringLiteral("7 ms"));
        QCOMPARE(list.rowSpeed(target), QStringLiteral("7 ms"));

        // Out of view again, then back: the same widget, with the latest speed.
        list.scrollToTop();
        QCoreApplication::processEvents();
        QVERIFY(!row->isVisible());
        list.setRowSpeed(target, QStringLiteral(">1000 ms"));
        list.scrollToItem(list.item(target));
        QCoreApplication::processEvents();
        QCOMPARE(list.existingRowWidget(target), row);
        QVERIFY(row->isVisible());
        QCOMPARE(row->speedLabel()->text(), QStringLiteral(">1000 ms"));
        // Its neighbour kept its own (empty) speed.
        QVERIFY(list.rowSpeed(target - 1).isEmpty());
        QVERIFY(list.existingRowWidget(target - 1));
        QVERIFY(list.existingRowWidget(target - 1)->speed().isEmpty());
    }

    void currentRowAndKeysBringTheirRowsIntoView()
    {
        ServerListWidget list;
        list.resize(300, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const ServerInfoList servers = makeServers(kManyRows);
        fillServerRows(&list, servers, servers.at(1200), kRowHeight);
        QCoreApplication::processEvents();
        QCOMPARE(list.currentRow(), 1200);
        VERIFY_ROWS_IN_VIEW(list, 1200);

        list.setFocus();
        QTest::keyClick(&list, Qt::Key_End);
        QCOMPARE(list.currentRow(), kManyRows - 1);
        VERIFY_ROWS_IN_VIEW(list, kManyRows - 1);
        QTest::keyClick(&list, Qt::Key_Home);
        QCOMPARE(list.currentRow(), 0);
        VERIFY_ROWS_IN_VIEW(list, 0);
        QVERIFY(!list.existingRowWidget(kManyRows - 1)->isVisible());
        const int pageBottom = list.indexAt(list.viewport()->rect().bottomLeft()).row();
        for (int i = 0; i < pageBottom + 3; ++i)
            QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.currentRow(), pageBottom + 3);
        VERIFY_ROWS_IN_VIEW(list, pageBottom + 3);
        QTest::keyClick(&list, Qt::Key_PageDown);
        VERIFY_ROWS_IN_VIEW(list, list.currentRow());
        QTest::keyClick(&list, Qt::Key_Up);
        VERIFY_ROWS_IN_VIEW(list, list.currentRow());
    }

    void resizingShowsTheRowsThatComeIntoView()
    {
        ServerListWidget list;
        list.resize(300, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        fillServerRows(&list, makeServers(kManyRows), ServerInfoPtr(), kRowHeight);
        QCoreApplication::processEvents();
        int before = 0;
        VERIFY_ROWS_IN_VIEW_COUNT(list, 0, &before);
        list.resize(360, 600);
        QTRY_VERIFY(list.viewport()->height() > 500);
        int after = 0;
        VERIFY_ROWS_IN_VIEW_COUNT(list, 0, &after);
        QVERIFY2(after > before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        list.resize(300, 120);
        QTRY_VERIFY(list.viewport()->height() < 130);
        VERIFY_ROWS_IN_VIEW_COUNT(list, 0, &after);
        QVERIFY2(after < before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
    }

    void filledBeforeShownThenShown()
    {
        // The window fills its page while another page is on screen.
        ServerListWidget list;
        list.resize(300, 400);
        const ServerInfoList servers = makeServers(kManyRows);
        fillServerRows(&list, servers, servers.at(700), kRowHeight);
        QVERIFY(list.findChildren<ServerItem *>().size() < 40);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QVERIFY(list.viewport()->isVisible());
        QCoreApplication::processEvents();
        list.scrollToItem(list.item(700));
        QCoreApplication::processEvents();
        VERIFY_ROWS_IN_VIEW(list, 700);
    }

    void refillReplacesTheRowsAndTheirWidgets()
    {
        ServerListWidget list;
        list.resize(300, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        fillServerRows(&list, makeServers(kManyRows), ServerInfoPtr(), kRowHeight);
        list.scrollToItem(list.item(900));
        QCoreApplication::processEvents();
        QPointer<ServerItem> old = list.existingRowWidget(900);
        QVERIFY(old && old->isVisible());
        list.setRowSpeed(900, QStringLiteral("5 ms"));

        const ServerInfoList fewer = makeServers(30);
        fillServerRows(&list, fewer, fewer.at(29), kRowHeight);
        // Gone for the list at once, deleted on the next turn of the loop.
        QCOMPARE(list.rowOfWidget(old.data()), -1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QVERIFY(old.isNull());
        QCOMPARE(list.count(), 30);
        QCOMPARE(list.currentRow(), 29);
        for (int i = 0; i < 30; ++i)
            QVERIFY(list.rowSpeed(i).isEmpty());
        int inView = 0;
        VERIFY_ROWS_IN_VIEW_COUNT(list, 29, &inView);
        QCOMPARE(list.findChildren<ServerItem *>().size(), inView);
    }

    void removedRowTakesItsWidgetAlong()
    {
        ServerListWidget list;
        list.resize(300, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        fillServerRows(&list, makeServers(100), ServerInfoPtr(), kRowHeight);
        QCoreApplication::processEvents();
        QPointer<ServerItem> second = list.existingRowWidget(2);
        ServerItem *third = list.existingRowWidget(3);
        QVERIFY(second && third);

        delete list.takeItem(2);
        QCOMPARE(list.rowOfWidget(second.data()), -1);
        // The rows below move up with their widgets.
        QCOMPARE(list.rowOfWidget(third), 2);
        QCOMPARE(list.existingRowWidget(2), third);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(second.isNull());
        QCoreApplication::processEvents();
        QCOMPARE(list.item(2)->data(ServerListWidget::NameRole).toString(),
                 QStringLiteral("Server 3"));
        QVERIFY(third->isVisible());
        QCOMPARE(third->geometry(), list.visualRect(list.model()->index(2, 0)));
        QCOMPARE(third->name(), QStringLiteral("Server 3"));
    }

private:
    // What is wrong with the rows in view, if anything: the rows in view, and only those, must
    // be shown where the view has them, labels on screen (rows out of view have no widget or a
    // hidden one); row `expected` must be among them; and the screen must show the rows'
    // flags. inView gets their number.
    static QString rowsInViewProblem(const ServerListWidget &list, int expected,
                                     int *inView = nullptr)
    {
        QCoreApplication::processEvents();
        int shown = 0;
        for (int i = 0; i < list.count(); ++i) {
            ServerItem *row = list.existingRowWidget(i);
            const bool visible = row && row->isVisible();
            if (visible != rowInView(list, i))
                return QStringLiteral("row %1: %2, in view %3")
                    .arg(i)
                    .arg(row ? (visible ? "shown" : "hidden") : "no widget")
                    .arg(rowInView(list, i));
            if (!visible)
                continue;
            ++shown;
            const QRect rect = list.visualRect(list.model()->index(i, 0));
            if (row->geometry() != rect)
                return QStringLiteral("row %1 at %2,%3 %4x%5, view has it at %6,%7 %8x%9")
                    .arg(i)
                    .arg(row->x())
                    .arg(row->y())
                    .arg(row->width())
                    .arg(row->height())
                    .arg(rect.x())
                    .arg(rect.y())
                    .arg(rect.width())
                    .arg(rect.height());
            if (row->parentWidget() != list.viewport())
                return QStringLiteral("row %1 is not in the viewport").arg(i);
            if (!row->nameLabel()->isVisible()
                || row->nameLabel()->text() != QStringLiteral("Server %1").arg(i))
                return QStringLiteral("row %1 shows no name").arg(i);
            if (row->speed() != list.rowSpeed(i))
                return QStringLiteral("row %1 shows speed %2, has %3")
                    .arg(i)
                    .arg(row->speed(), list.rowSpeed(i));
        }
        if (!rowInView(list, expected))
            return QStringLiteral("row %1 not in view").arg(expected);
        if (shown == 0 || shown > list.viewport()->height() / kRowHeight + 2)
            return QStringLiteral("%1 rows shown").arg(shown);

        // On screen: the red disc of a Japanese row, the white middle of a French one.
        const QImage shot = list.viewport()->grab().toImage();
        for (int i = 0; i < list.count(); ++i) {
            ServerItem *row = list.existingRowWidget(i);
            if (!row || !row->isVisible() || i % 3 == 1)
                continue;
            const QPoint centre = row->mapTo(
                list.viewport(), row->flagLabel()->geometry().topLeft() + QPoint(25, 12));
            if (!shot.rect().contains(centre))
                continue;
            const QColor colour = shot.pixelColor(centre);
            const bool red = colour.red() > 150 && colour.green() < 80 && colour.blue() < 100;
            const bool white = colour.red() > 200 && colour.green() > 200 && colour.blue() > 200;
            if (i % 3 == 0 ? !red : !white)
                return QStringLiteral("row %1 shows %2 in its flag").arg(i).arg(colour.name());
        }
        if (inView)
            *inView = shown;
        return QString();
    }
};

QTEST_MAIN(TestServerItem)
#include "tst_serveritem.moc"
