#include "accountreplies.h"

#include <QCoreApplication>
#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QTimer>

namespace {

const char kDateTimeFormat[] = "yyyy-MM-dd HH:mm:ss";

QString tr(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

QDateTime backendDate(const QJsonValue &value, int timeOffsetSeconds)
{
    const QDateTime date
        = QDateTime::fromString(value.toString(), QString::fromLatin1(kDateTimeFormat));
    return date.isValid() ? date.addSecs(timeOffsetSeconds) : date;
}

// Texts of the backend's JSON; a number where text was expected is taken as its digits.
QString jsonText(const QJsonValue &value)
{
    return value.isDouble() ? QString::number(value.toDouble()) : value.toString();
}

AccountMessage fromTable(AccountRequest request, int code)
{
    const ResultMessage message = resultMessage(request, code);
    if (!message.show)
        return {};
    QString text = tr(message.text);
    if (message.secondLine)
        text += QStringLiteral(",<br/>") + tr(message.secondLine);
    return {tr(message.title), text};
}

} // namespace

LoginReply readLoginReply(const QString &reply, int timeOffsetSeconds)
{
    LoginReply result;
    if (reply.isEmpty())
        return result;
    QJsonObject object;
    if (!parseJsonObject(reply, result.parseError, object)) {
        result.kind = LoginReply::Kind::NotObject;
        return result;
    }
    result.code = object.value(QStringLiteral("error")).toInt(0);
    if (result.code != 0) {
        result.kind = LoginReply::Kind::Refused;
        return result;
    }
    result.kind = LoginReply::Kind::Accepted;
    result.email = object.value(QStringLiteral("email")).toString();
    result.expireDate = backendDate(object.value(QStringLiteral("expire_date")), timeOffsetSeconds);
    const QJsonValue payment = object.value(QStringLiteral("payment_date"));
    if (!payment.toString().isEmpty() && payment.toString() != QLatin1String("None")) {
        const QDateTime paid = backendDate(payment, timeOffsetSeconds);
        // A date the backend garbled is shown as it came rather than dropped.
        result.paymentDate
            = paid.isValid() ? paid.toString(QStringLiteral("yyyy-MM-dd")) : payment.toString();
    }
    return result;
}

AccountMessage loginFailureMessage(AccountRequest request, const LoginReply &reply)
{
    const bool login = request == AccountRequest::Login;
    switch (reply.kind) {
    case LoginReply::Kind::Empty:
        return login ? AccountMessage{tr(QT_TRANSLATE_NOOP("MainWindow", "Login failed.")),
                                      tr(QT_TRANSLATE_NOOP("MainWindow",
                                                           "Sorry, login failed, please check "
                                                           "your network and try it again."))}
                     : AccountMessage{tr(QT_TRANSLATE_NOOP("MainWindow", "Register failed.")),
                                      tr(QT_TRANSLATE_NOOP("MainWindow",
                                                           "Sorry, Register failed, please check "
                                                           "your network and try it again."))};
    case LoginReply::Kind::NotObject:
        return login
            ? AccountMessage{tr(QT_TRANSLATE_NOOP("MainWindow", "Login failed.")),
                             tr(QT_TRANSLATE_NOOP("MainWindow", "Sorry, login failed, error"))
                                 + QLatin1Char(':') + reply.parseError}
            : AccountMessage{tr(QT_TRANSLATE_NOOP("MainWindow", "Register failed.")),
                             tr(QT_TRANSLATE_NOOP("MainWindow", "Sorry, Register failed, error"))
                                 + QLatin1Char(':') + reply.parseError};
    case LoginReply::Kind::Refused:
        return fromTable(request, reply.code);
    case LoginReply::Kind::Accepted:
        break;
    }
    return {};
}

AccountMessage findPasswordMessage(const QString &reply)
{
    if (reply.isEmpty()) {
        return {tr(QT_TRANSLATE_NOOP("MainWindow", "Find password")),
                tr(QT_TRANSLATE_NOOP("MainWindow",
                                     "Sorry, find password failed, please check your network "
                                     "and try it again."))};
    }
    QString error;
    QJsonObject object;
    if (!parseJsonObject(reply, error, object)) {
        return {tr(QT_TRANSLATE_NOOP("MainWindow", "Failed")),
                tr(QT_TRANSLATE_NOOP("MainWindow", "Sorry, find password failed, error"))
                    + QLatin1Char(':') + error};
    }
    return fromTable(AccountRequest::FindPassword, object.value(QStringLiteral("error")).toInt(0));
}

int offerButtonForName(const QString &name)
{
    if (name == QLatin1String("30"))
        return 0;
    if (name == QLatin1String("90"))
        return 1;
    if (name == QLatin1String("360"))
        return 2;
    return -1;
}

QString offerAnalyticsAction(int button)
{
    switch (button) {
    case 0:
        return QStringLiteral("1Month");
    case 1:
        return QStringLiteral("6Month");
    case 2:
        return QStringLiteral("1Year");
    default:
        return QString();
    }
}

QVector<PriceOffer> readPriceList(const QString &text)
{
    QVector<PriceOffer> offers;
    if (text.isEmpty())
        return offers;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        qInfo().noquote() << "QJsonParseError:" << error.errorString();
        return offers;
    }
    const QJsonArray entries = document.object().value(QStringLiteral("price_data")).toArray();
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        PriceOffer offer;
        offer.button = offerButtonForName(jsonText(entry.value(QStringLiteral("name"))));
        if (offer.button < 0)
            continue;
        offer.caption = jsonText(entry.value(QStringLiteral("title"))) + QStringLiteral(" $")
            + jsonText(entry.value(QStringLiteral("price")));
        offer.buyUrl = entry.value(QStringLiteral("buy_url")).toString();
        offers.append(offer);
    }
    return offers;
}
