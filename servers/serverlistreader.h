#pragma once

#include <QString>
#include <QVector>

// The four texts of one element of "Servers", untrimmed. A member that is missing or not a
// string, or an element that is not an object, leaves a null text, as QJsonValue::toString()
// gives.
struct RawServerEntry
{
    QString ip;
    QString name;
    QString country;
    QString ovpn;
};

// Reads {"Servers":[...]} straight from the UTF-16 text, without a document. Refuses (false,
// out emptied) anything but strict JSON with an object on top and a "Servers" array in it,
// and whatever QJsonDocument might read differently: lone surrogates, non-characters and
// byte-order marks, control characters in strings, repeated "Servers" or repeated fields in
// an element, deep nesting. The caller then takes the QJsonDocument path, the reference.
bool readServerListFast(const QString &text, QVector<RawServerEntry> *out);

// Texts readServerListFast() accepted in this process; tests see which path a parse took.
int serverListFastReads();
