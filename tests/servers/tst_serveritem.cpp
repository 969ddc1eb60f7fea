// The server page's list: rows hold their servers, and only the rows in view have widgets,
// placed where the view has them, whatever brings them into view.

#include "resinit.h"
#include "serveritem.h"

#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QtTest>

namespace {

constexpr int kRowHeight = 26;
constexpr int kManyRows = 2000;

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

// What is wrong with the rows in view, if anything: exactly the rows in view are shown, each
// where the view has it, with its name and speed; `expected` is among them. inView gets
// their number.
QString rowsInViewProblem(const ServerListWidget &list, int expected, int *inView = nullptr)
{
    QCoreApplication::processEvents();
    int shown = 0;
    for (int i = 0; i < list.count(); ++i) {
        const QRect rect = list.visualRect(list.model()->index(i, 0));
        const bool wanted = rect.isValid() && rect.intersects(list.viewport()->rect());
        ServerItem *row = list.existingRowWidget(i);
        if ((row && row->isVisible()) != wanted)
            return QStringLiteral("row %1: shown %2, in view %3").arg(i).arg(!wanted).arg(wanted);
        if (!wanted)
            continue;
        ++shown;
        if (row->geometry() != rect || row->parentWidget() != list.viewport())
            return QStringLiteral("row %1 is not where the view has it").arg(i);
        if (!row->nameLabel()->isVisible() || row->name() != QStringLiteral("Server %1").arg(i)
            || row->speed() != list.rowSpeed(i))
            return QStringLiteral("row %1 shows %2, %3").arg(i).arg(row->name(), row->speed());
    }
    const QRect rect = list.visualRect(list.model()->index(expected, 0));
    if (!rect.intersects(list.viewport()->rect()))
        return QStringLiteral("row %1 not in view").arg(expected);
    if (shown == 0 || shown > list.viewport()->height() / kRowHeight + 2)
        return QStringLiteral("%1 rows shown").arg(shown);
    if (inView)
        *inView = shown;
    return QString();
}

} // namespace

#define VERIFY_ROWS_IN_VIEW(list, expected, inView)                        \
    do {                                                                   \
        const QString problem = rowsInViewProblem(list, expected, inView); \
        QVERIFY2(problem.isEmpty(), qPrintable(problem));                  \
    } while (false)

class TestServerItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { quellnetInitResources(); }

    void onlyRowsInViewHaveWidgets()
    {
        ServerListWidget list;
        list.resize(300, 200);
        const ServerInfoList servers = makeServers(kManyRows);
        fillServerRows(&list, servers, servers.at(1200), kRowHeight);
        fillServerRows(&list, servers, servers.at(1200), kRowHeight); // replaces, never appends
        list.show(); // filled while hidden, as while another page is on screen
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(list.count(), kManyRows);
        for (int i = 0; i < kManyRows; i += 7) {
            QCOMPARE(list.item(i)->data(Qt::UserRole).toString(), servers.at(i)->host);
            QCOMPARE(list.item(i)->data(ServerListWidget::FlagRole).toString(),
                     servers.at(i)->country);
        }
        QCOMPARE(list.currentRow(), 1200);
        int inView = 0;
        VERIFY_ROWS_IN_VIEW(list, 1200, &inView);
        QVERIFY(list.findChildren<ServerItem *>().size() < 4 * inView);

        // A speed stored out of view makes no widget, and shows when the row scrolls in.
        list.setRowSpeed(1500, QStringLiteral("42 ms"));
        QVERIFY(!list.existingRowWidget(1500));
        list.scrollToItem(list.item(1500));
        VERIFY_ROWS_IN_VIEW(list, 1500, nullptr);
        ServerItem *row = list.existingRowWidget(1500);
        list.setRowSpeed(1500, QStringLiteral("7 ms"));
        QCOMPARE(row->speed(), QStringLiteral("7 ms"));

        list.scrollToBottom();
        VERIFY_ROWS_IN_VIEW(list, kManyRows - 1, nullptr);
        list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum() / 3);
        VERIFY_ROWS_IN_VIEW(list, list.indexAt(QPoint(10, 0)).row(), nullptr);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Home);
        VERIFY_ROWS_IN_VIEW(list, 0, nullptr);
        list.resize(300, 600);
        QTRY_VERIFY(list.viewport()->height() > 500);
        int more = 0;
        VERIFY_ROWS_IN_VIEW(list, 0, &more);
        QVERIFY(more > inView);
        // Back at a row seen before: the same widget, with the latest speed.
        list.setRowSpeed(1500, QStringLiteral(">1000 ms"));
        list.scrollToItem(list.item(1500));
        QCOMPARE(list.existingRowWidget(1500), row);
        VERIFY_ROWS_IN_VIEW(list, 1500, nullptr);
        // Made widgets stay with their rows, but there are never many.
        QVERIFY(list.findChildren<ServerItem *>().size() < 6 * more);
    }

    void refillOrRemovalTakesTheWidgetsAlong()
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
        QCOMPARE(list.rowOfWidget(old.data()), -1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
        VERIFY_ROWS_IN_VIEW(list, 29, nullptr);

        list.scrollToTop();
        QCoreApplication::processEvents();
        QPointer<ServerItem> second = list.existingRowWidget(2);
        ServerItem *third = list.existingRowWidget(3);
        QVERIFY(second && third);
        delete list.takeItem(2);
        QCOMPARE(list.rowOfWidget(third), 2); // the rows below move up with their widgets
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(second.isNull());
        QCOMPARE(third->name(), QStringLiteral("Server 3"));
    }
};

QTEST_MAIN(TestServerItem)
#include "tst_serveritem.moc"
