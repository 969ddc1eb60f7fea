// The quick server-list reader against QJsonDocument: what it accepts the document reads with
// the same texts, and the list parse (which takes the quick path exactly when the reader
// accepts a text long enough to be a list, else the document) is valid exactly when the
// document is, with as many entries.
#include "fuzzsupport.h"
#include "serverlistloader.h"
#include "serverlistreader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    QVector<RawServerEntry> entries;
    const bool fast = readServerListFast(text, &entries);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    const bool valid = error.error == QJsonParseError::NoError;
    const QJsonValue listed = document.object().value(QLatin1String("Servers"));
    const QJsonArray servers = listed.toArray();
    FUZZ_CHECK(fast || entries.isEmpty());
    FUZZ_CHECK(!fast || (valid && listed.isArray() && entries.size() == servers.size()));
    const char *const keys[] = {"Ip", "Name", "Country", "Ovpn"};
    for (int i = 0; i < entries.size(); ++i) {
        const RawServerEntry &e = entries.at(i);
        const QString got[] = {e.ip, e.name, e.country, e.ovpn};
        for (int k = 0; k < 4; ++k) {
            const QString want = servers.at(i).toObject().value(QLatin1String(keys[k])).toString();
            FUZZ_CHECK(got[k] == want && got[k].isNull() == want.isNull());
        }
    }
    bool ok = false;
    const int fastReads = serverListFastReads();
    const ServerInfoList list = ServerListLoader::parseServerList(text, &ok);
    FUZZ_CHECK((serverListFastReads() != fastReads) == (fast && text.size() >= 30));
    FUZZ_CHECK(ok == (valid && text.size() >= 30));
    FUZZ_CHECK(list.size() == (ok ? servers.size() : 0));
    return 0;
}
