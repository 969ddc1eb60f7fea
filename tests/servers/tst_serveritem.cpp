// The server page's list: a row shows its server's flag, name and speed once it is in view,
// whatever brings it there.

#include "resinit.h"
#include "serveritem.h"

#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QtTest>

namespace {

constexpr int kRowHeight = 26;
constexpr int kManyRows = 2000;

const char *const kCountries[] = {"JP", "DE", "FR"};

ServerInfoList makeServers(int count)
{
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

// What is wrong with the rows in view, if anything: exactly they are shown, each where the
// view has it, with its flag, name and speed; `expected` is among them.
QString rowsInViewProblem(const ServerListWidget &list, int expected)
{
    QCoreApplication::processEvents();
    for (int i = 0; i < list.count(); ++i) {
        const QRect rect = list.visualRect(list.model()->index(i, 0));
        const bool wanted = rect.isValid() && rect.intersects(list.viewport()->rect());
        ServerItem *row = list.existingRowWidget(i);
        if ((row && row->isVisible()) != wanted)
            return QStringLiteral("row %1: shown %2, in view %3").arg(i).arg(!wanted).arg(wanted);
        if (!wanted)
            continue;
        if (row->geometry() != rect || row->parentWidget() != list.viewport())
            return QStringLiteral("row %1 is not where the view has it").arg(i);
        const QPixmap flag = ServerItem::flagPixmap(QLatin1String(kCountries[i % 3]));
        if (flag.isNull() || row->flagLabel()->pixmap(Qt::ReturnByValue).toImage() != flag.toImage()
            || !row->nameLabel()->isVisible() || row->name() != QStringLiteral("Server %1").arg(i)
            || row->speed() != list.rowSpeed(i))
            return QStringLiteral("row %1 shows %2, %3").arg(i).arg(row->name(), row->speed());
    }
    const QRect rect = list.visualRect(list.model()->index(expected, 0));
    return rect.intersects(list.viewport()->rect())
        ? QString()
        : QStringLiteral("row %1 not in view").arg(expected);
}

} // namespace

class TestServerItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { quellnetInitResources(); }

    void rowsInViewShowTheirServers()
    {
        ServerListWidget list;
        list.resize(300, 200);
        const ServerInfoList servers = makeServers(kManyRows);
        fillServerRows(&list, servers, servers.at(1200), kRowHeight);
        list.show(); // filled while hidden, as while another page is on screen
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(list.currentRow(), 1200);
        QCOMPARE(rowsInViewProblem(list, 1200), QString());

        // A speed stored out of view shows when the row scrolls in, and changes in place.
        list.setRowSpeed(1500, QStringLiteral("42 ms"));
        list.scrollToItem(list.item(1500));
        QCOMPARE(rowsInViewProblem(list, 1500), QString());
        QCOMPARE(list.existingRowWidget(1500)->speed(), QStringLiteral("42 ms"));
        list.setRowSpeed(1500, QStringLiteral("7 ms"));
        QCOMPARE(list.existingRowWidget(1500)->speed(), QStringLiteral("7 ms"));

        list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum() / 3);
        QCOMPARE(rowsInViewProblem(list, list.indexAt(QPoint(10, 0)).row()), QString());
        list.resize(300, 600);
        QTRY_VERIFY(list.viewport()->height() > 500);
        QCOMPARE(rowsInViewProblem(list, list.indexAt(QPoint(10, 0)).row()), QString());
    }

    void refillDropsTheOldWidgets()
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
        const ServerInfoList fewer = makeServers(30);
        fillServerRows(&list, fewer, fewer.at(29), kRowHeight);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
        QCOMPARE(list.count(), 30);
        QCOMPARE(rowsInViewProblem(list, 29), QString());
    }
};

QTEST_MAIN(TestServerItem)
#include "tst_serveritem.moc"
