#pragma once

#include "backendprotocol.h"

#include <QDateTime>
#include <QString>
#include <QVector>

// A login or registration reply, read by the rules both pages share.
struct LoginReply
{
    enum class Kind { Empty, NotObject, Refused, Accepted };
    Kind kind = Kind::Empty;
    QString parseError; // NotObject: the parser's text (empty for an array or a scalar)
    int code = 0; // Refused: the "error" member
    QString email; // Accepted: the reply's "email", may be empty
    // Accepted: "expire_date" in local time (offset added); invalid when missing or garbled.
    QDateTime expireDate;
    // Accepted: "payment_date" plus the offset as "yyyy-MM-dd"; empty when there is none.
    QString paymentDate;
};

// timeOffsetSeconds is the local offset from UTC; the backend's dates are UTC.
LoginReply readLoginReply(const QString &reply, int timeOffsetSeconds);

// A message box to show: title and text already translated. Empty title: show nothing.
struct AccountMessage
{
    QString title;
    QString text;
    bool isNull() const { return title.isEmpty(); }
};

// What a refused, empty or unreadable login (Login) or registration (Register) reply shows.
AccountMessage loginFailureMessage(AccountRequest request, const LoginReply &reply);
// What a password-recovery reply shows. An empty reply is a failed request, not a sent link.
AccountMessage findPasswordMessage(const QString &reply);

// One entry of the backend's "/price.json" that belongs to an offer button.
struct PriceOffer
{
    int button = -1; // 0 "1 Month", 1 "3 Months", 2 "2 Years"
    QString caption; // title + " $" + price
    QString buyUrl;
};

// The entries of a price list that name an offer button ("30", "90", "360"); others are
// skipped. Empty for an empty or unreadable list (a parse error is logged).
QVector<PriceOffer> readPriceList(const QString &text);
int offerButtonForName(const QString &name);
// The analytics action of an offer button's click.
QString offerAnalyticsAction(int button);
