// Reading login replies and price lists, and the click limiter, without a window.

#include "accountreplies.h"
#include "clicklimiter.h"

#include <QTimer>
#include <QtTest>

class AccountRepliesTest : public QObject
{
    Q_OBJECT

private slots:
    void datesGetTheLocalOffset()
    {
        const LoginReply reply = readLoginReply(
            QStringLiteral("{\"error\":0,\"email\":\"a@b.example\",\"expire_date\":\"2030-01-01 "
                           "00:00:00\",\"payment_date\":\"2029-12-31 23:30:00\"}"),
            2 * 3600);
        QCOMPARE(reply.kind, LoginReply::Kind::Accepted);
        QCOMPARE(reply.email, QStringLiteral("a@b.example"));
        QCOMPARE(reply.expireDate.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                 QStringLiteral("2030-01-01 02:00:00"));
        // The offset moves the payment across midnight.
        QCOMPARE(reply.paymentDate, QStringLiteral("2030-01-01"));

        const LoginReply west = readLoginReply(
            QStringLiteral("{\"expire_date\":\"2030-01-01 00:00:00\"}"), -5 * 3600);
        QCOMPARE(west.kind, LoginReply::Kind::Accepted); // a missing "error" reads as 0
        QCOMPARE(west.expireDate.toString(QStringLiteral("yyyy-MM-dd")),
                 QStringLiteral("2029-12-31"));
    }

    void paymentDateVariants()
    {
        const char *none[] = {"\"None\"", "\"\"", "null", "17"};
        for (const char *value : none) {
            const LoginReply reply = readLoginReply(
                QStringLiteral("{\"error\":0,\"payment_date\":%1}").arg(QLatin1String(value)), 0);
            QCOMPARE(reply.kind, LoginReply::Kind::Accepted);
            QVERIFY2(reply.paymentDate.isEmpty(), value);
        }
        // Garbled dates: no expiry (the watchdog treats it as expired), payment shown as sent.
        const LoginReply odd = readLoginReply(
            QStringLiteral("{\"expire_date\":42,\"payment_date\":\"last week\"}"), 0);
        QVERIFY(!odd.expireDate.isValid());
        QCOMPARE(odd.paymentDate, QStringLiteral("last week"));
    }

    void repliesThatAreNotAccepted()
    {
        QCOMPARE(readLoginReply(QString(), 0).kind, LoginReply::Kind::Empty);
        const LoginReply array = readLoginReply(QStringLiteral("[]"), 0);
        QCOMPARE(array.kind, LoginReply::Kind::NotObject);
        QVERIFY(array.parseError.isEmpty());
        const LoginReply broken = readLoginReply(QStringLiteral("{\"error\":"), 0);
        QCOMPARE(broken.kind, LoginReply::Kind::NotObject);
        QVERIFY(!broken.parseError.isEmpty());
        const LoginReply refused = readLoginReply(QStringLiteral("{\"error\":-120}"), 0);
        QCOMPARE(refused.kind, LoginReply::Kind::Refused);
        QCOMPARE(refused.code, -120);

        // A reply that is no object is not blamed on the network.
        QVERIFY(loginFailureMessage(AccountRequest::Register, array).text
                != loginFailureMessage(AccountRequest::Register, LoginReply()).text);
        // Registration has no message for another device; login has.
        LoginReply otherDevice;
        otherDevice.kind = LoginReply::Kind::Refused;
        otherDevice.code = -111;
        QVERIFY(loginFailureMessage(AccountRequest::Register, otherDevice).isNull());
        QVERIFY(!loginFailureMessage(AccountRequest::Login, otherDevice).isNull());
    }

    void priceListEntries()
    {
        const QVector<PriceOffer> offers = readPriceList(QStringLiteral(
            "{\"price_data\":[{\"name\":\"90\",\"title\":\"Quarter\",\"price\":\"19.99\","
            "\"buy_url\":\"https://shop.example/q\"},{\"name\":\"7\",\"title\":\"Week\","
            "\"price\":\"1\"},\"junk\",{\"name\":360,\"title\":\"Long\",\"price\":59.5}]}"));
        QCOMPARE(offers.size(), 2);
        QCOMPARE(offers[0].button, 1);
        QCOMPARE(offers[0].caption, QStringLiteral("Quarter $19.99"));
        QCOMPARE(offers[0].buyUrl, QStringLiteral("https://shop.example/q"));
        // Numbers where text was expected are still read.
        QCOMPARE(offers[1].button, 2);
        QCOMPARE(offers[1].caption, QStringLiteral("Long $59.5"));

        QVERIFY(readPriceList(QString()).isEmpty());
        QVERIFY(readPriceList(QStringLiteral("{\"price_data\":")).isEmpty());
        QVERIFY(readPriceList(QStringLiteral("{\"price_data\":{\"name\":\"30\"}}")).isEmpty());
        for (const auto &[name, action] :
             {std::pair("30", "1Month"), std::pair("90", "6Month"), std::pair("360", "1Year")})
            QCOMPARE(offerAnalyticsAction(offerButtonForName(QLatin1String(name))),
                     QLatin1String(action));
        QCOMPARE(offerButtonForName(QStringLiteral("365")), -1);
    }

    void limiterServesCountsAndResets()
    {
        ClickLimiter limiter(3, 300000);
        QVERIFY(limiter.click() && limiter.click() && limiter.click());
        QVERIFY(!limiter.resetTimer()->isActive());
        QVERIFY(!limiter.click());
        QVERIFY(limiter.resetTimer()->isActive());
        const int remaining = limiter.resetTimer()->remainingTime();
        // Refused clicks neither serve nor push the reset further away.
        for (int i = 0; i < 1000; ++i)
            QVERIFY(!limiter.click());
        QVERIFY(limiter.resetTimer()->remainingTime() <= remaining);
        QCOMPARE(limiter.count(), 4);

        limiter.resetTimer()->start(1);
        QTRY_COMPARE_WITH_TIMEOUT(limiter.count(), 0, 2000);
        QVERIFY(limiter.click());
    }
};

QTEST_GUILESS_MAIN(AccountRepliesTest)
#include "tst_accountreplies.moc"
