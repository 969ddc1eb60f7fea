// The backend's building blocks without the HTTP layer: command line, text helpers, password
// hashing, configuration encryption, the server folder and the database.
#include "backendcrypto.h"
#include "options.h"
#include "serverdir.h"
#include "store.h"
#include "textutil.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <openssl/evp.h>

#include <memory>

using namespace backend;

namespace {

std::vector<std::string> words(std::initializer_list<const char *> list)
{
    return std::vector<std::string>(list.begin(), list.end());
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The value of jsonString(text) as a JSON parser reads it; a null QString when it does not parse.
QString parsedJsonString(const std::string &text)
{
    const QByteArray document = QByteArray::fromStdString("[" + jsonString(text) + "]");
    QJsonParseError error{};
    const QJsonDocument parsed = QJsonDocument::fromJson(document, &error);
    if (error.error != QJsonParseError::NoError)
        return QString();
    return parsed.array().at(0).toString();
}

// Standard PKCS#7 decryption by OpenSSL, for checking the encrypting side.
QByteArray decryptWithKey(const std::string &cipher, const QByteArray &key16)
{
    const unsigned char iv[16] = {};
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                        EVP_CIPHER_CTX_free);
    QByteArray plain(int(cipher.size()) + 16, '\0');
    int written = 0;
    int tail = 0;
    if (EVP_DecryptInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr,
                           reinterpret_cast<const unsigned char *>(key16.constData()), iv)
            != 1
        || EVP_DecryptUpdate(ctx.get(), reinterpret_cast<unsigned char *>(plain.data()), &written,
                             reinterpret_cast<const unsigned char *>(cipher.data()),
                             int(cipher.size()))
            != 1
        || EVP_DecryptFinal_ex(ctx.get(), reinterpret_cast<unsigned char *>(plain.data()) + written,
                               &tail)
            != 1)
        return QByteArray("decryption failed");
    plain.resize(written + tail);
    return plain;
}

} // namespace

class BackendCoreTest : public QObject
{
    Q_OBJECT

private slots:
    void commandLineAcceptsBothValueForms();
    void commandLineRejectsBadInput_data();
    void commandLineRejectsBadInput();
    void percentDecodingIsStrict();
    void formTextKeepsOrderAndDecodes();
    void jsonStringsStayValidForAnyBytes();
    void ipv4AddressesAreRecognised();
    void utcTextUsesClientDateFormat();
    void fileNamesGiveCountryAndName();
    void remoteHostFollowsConfigurationSyntax();
    void serverFolderSkipsUnusableFiles();
    void serverListJsonCarriesEncryptedConfigurations();
    void passwordHashesAreSaltedAndVerified();
    void configEncryptionMatchesOpenSslCommandLine();
    void configKeyIsFifteenCharactersAndZero();
    void base64FollowsStandardVectors();
    void storeKeepsAccountsAndBindsOneDevice();
    void storeKeepsOffersHitsAndRequests();

private:
    QTemporaryDir m_dir;
};

void BackendCoreTest::commandLineAcceptsBothValueForms()
{
    ParsedCommandLine parsed = parseCommandLine(
        words({"--cert", "c.pem", "--key=k.pem", "--db", "x.sqlite", "--listen=127.0.0.9", "--port",
               "9443", "--serverlist-port=9430", "--collect-port", "9080", "--ovpn-dir", "servers",
               "--files-dir=files", "--demo", "--demo-password=secret!", "--debug-endpoints"}));
    QCOMPARE(int(parsed.action), int(ParsedCommandLine::Action::Run));
    const Options &o = parsed.options;
    QCOMPARE(o.cert, std::string("c.pem"));
    QCOMPARE(o.key, std::string("k.pem"));
    QCOMPARE(o.db, std::string("x.sqlite"));
    QCOMPARE(o.listen, std::string("127.0.0.9"));
    QCOMPARE(o.port, 9443);
    QCOMPARE(o.serverListPort, 9430);
    QCOMPARE(o.collectPort, 9080);
    QCOMPARE(o.ovpnDir, std::string("servers"));
    QCOMPARE(o.filesDir, std::string("files"));
    QVERIFY(o.demo);
    QCOMPARE(o.demoPassword, std::string("secret!"));
    QVERIFY(o.debugEndpoints);

    // Defaults: loopback only, no demo account, no debug endpoints.
    parsed = parseCommandLine(words({"--cert", "c", "--key", "k", "--db", "d"}));
    QCOMPARE(int(parsed.action), int(ParsedCommandLine::Action::Run));
    QCOMPARE(parsed.options.listen, std::string("127.0.0.1"));
    QVERIFY(!parsed.options.demo && !parsed.options.debugEndpoints);

    // Help wins over everything else on the line, even over errors after it.
    QCOMPARE(int(parseCommandLine(words({"--help", "--bogus"})).action),
             int(ParsedCommandLine::Action::Help));
    QCOMPARE(int(parseCommandLine(words({"-h"})).action), int(ParsedCommandLine::Action::Help));
    QCOMPARE(int(parseCommandLine(words({"--version"})).action),
             int(ParsedCommandLine::Action::Version));
}

void BackendCoreTest::commandLineRejectsBadInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QStringList required
        = {QStringLiteral("--cert"), QStringLiteral("c"),    QStringLiteral("--key"),
           QStringLiteral("k"),      QStringLiteral("--db"), QStringLiteral("d")};
    QTest::newRow("unknown") << (required + QStringList{QStringLiteral("--fast")})
                             << QStringLiteral("unknown argument: --fast");
    QTest::newRow("positional") << (required + QStringList{QStringLiteral("extra")})
                                << QStringLiteral("unknown argument: extra");
    QTest::newRow("no cert") << QStringList{QStringLiteral("--key"), QStringLiteral("k"),
                                            QStringLiteral("--db"), QStringLiteral("d")}
                             << QStringLiteral("--cert is required");
    QTest::newRow("no key") << QStringList{QStringLiteral("--cert"), QStringLiteral("c"),
                                           QStringLiteral("--db"), QStringLiteral("d")}
                            << QStringLiteral("--key is required");
    QTest::newRow("missing value") << (required + QStringList{QStringLiteral("--listen")})
                                   << QStringLiteral("--listen needs a value");
    QTest::newRow("empty value") << (required + QStringList{QStringLiteral("--listen=")})
                                 << QStringLiteral("--listen needs a non-empty value");
    QTest::newRow("port zero") << (required + QStringList{QStringLiteral("--port=0")})
                               << QStringLiteral("--port: not a port number");
    QTest::newRow("port sign") << (required + QStringList{QStringLiteral("--port=+80")})
                               << QStringLiteral("--port: not a port number");
    QTest::newRow("port big") << (required + QStringList{QStringLiteral("--collect-port=65536")})
                              << QStringLiteral("--collect-port: not a port number");
    QTest::newRow("same ports") << (required + QStringList{QStringLiteral("--collect-port=4430")})
                                << QStringLiteral("must differ");
    QTest::newRow("flag value") << (required + QStringList{QStringLiteral("--debug-endpoints=1")})
                                << QStringLiteral("--debug-endpoints takes no value");
    QTest::newRow("short demo password")
        << (required + QStringList{QStringLiteral("--demo-password"), QStringLiteral("12345")})
        << QStringLiteral("at least 6 characters");
}

void BackendCoreTest::commandLineRejectsBadInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    std::vector<std::string> args;
    for (const QString &argument : arguments)
        args.push_back(argument.toStdString());
    const ParsedCommandLine parsed = parseCommandLine(args);
    QCOMPARE(int(parsed.action), int(ParsedCommandLine::Action::Error));
    QVERIFY2(QString::fromStdString(parsed.error).contains(message), parsed.error.c_str());
}

void BackendCoreTest::percentDecodingIsStrict()
{
    QCOMPARE(percentDecode("a%2Bb%40quellnet.example").value_or("?"),
             std::string("a+b@quellnet.example"));
    QCOMPARE(percentDecode("2024-01-02%2003%3a04%3A05").value_or("?"),
             std::string("2024-01-02 03:04:05"));
    QCOMPARE(percentDecode("a+b").value_or("?"), std::string("a+b"));
    QCOMPARE(percentDecode("%C3%B6").value_or("?"), std::string("\xC3\xB6"));
    QCOMPARE(percentDecode("").value_or("?"), std::string());
    for (const char *bad : {"%", "abc%4", "%G0", "%0g", "100%"})
        QVERIFY2(!percentDecode(bad), bad);
}

void BackendCoreTest::formTextKeepsOrderAndDecodes()
{
    const auto params = parseFormText("z=26&a=1&&flag&el=VPN%20a%26b&sp=x+y&bad=%zz&=empty&");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"z", "26"},   {"a", "1"},     {"flag", ""},  {"el", "VPN a&b"},
        {"sp", "x y"}, {"bad", "%zz"}, {"", "empty"},
    };
    QCOMPARE(params.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(params[i].first, expected[i].first);
        QCOMPARE(params[i].second, expected[i].second);
    }
    QVERIFY(parseFormText("").empty());
}

void BackendCoreTest::jsonStringsStayValidForAnyBytes()
{
    QCOMPARE(parsedJsonString("plain"), QStringLiteral("plain"));
    QCOMPARE(parsedJsonString("q\"b\\s/"), QStringLiteral("q\"b\\s/"));
    QCOMPARE(parsedJsonString("tab\tnl\ncr\r\x01\x1f\x7f"),
             QStringLiteral("tab\tnl\ncr\r\x01\x1f\x7f"));
    QCOMPARE(parsedJsonString("T\xC5\x8Dky\xC5\x8D \xF0\x9F\x98\x80"),
             QString::fromUtf8("T\xC5\x8Dky\xC5\x8D \xF0\x9F\x98\x80"));
    QCOMPARE(parsedJsonString(std::string("nul\0byte", 8)), QString::fromLatin1("nul\0byte", 8));
    // Bytes that are not UTF-8 come through as their Latin-1 characters.
    QCOMPARE(parsedJsonString("\xFF"), QString(QChar(0xFF)));
    QCOMPARE(parsedJsonString("cut \xE2\x82"), QStringLiteral("cut ") + QChar(0xE2) + QChar(0x82));
    QCOMPARE(parsedJsonString("\xC0\xAF"), QString(QChar(0xC0)) + QChar(0xAF)); // overlong
    QCOMPARE(parsedJsonString("\xED\xA0\x80"),
             QString(QChar(0xED)) + QChar(0xA0) + QChar(0x80)); // surrogate
    QCOMPARE(parsedJsonString("\xF4\x90\x80\x80"),
             QString(QChar(0xF4)) + QChar(0x90) + QChar(0x80) + QChar(0x80)); // past U+10FFFF
}

void BackendCoreTest::ipv4AddressesAreRecognised()
{
    QCOMPARE(plainIpv4("127.0.0.5").value_or("?"), std::string("127.0.0.5"));
    QCOMPARE(plainIpv4("::ffff:10.1.2.3").value_or("?"), std::string("10.1.2.3"));
    QCOMPARE(plainIpv4("::FFFF:10.1.2.3").value_or("?"), std::string("10.1.2.3"));
    for (const char *bad : {"::1", "1.2.3", "256.1.1.1", "", "localhost", "1.2.3.4 "})
        QVERIFY2(!plainIpv4(bad), bad);
}

void BackendCoreTest::utcTextUsesClientDateFormat()
{
    QCOMPARE(utcText(0), std::string("1970-01-01 00:00:00"));
    QCOMPARE(utcText(1704164645), std::string("2024-01-02 03:04:05"));
    const QDateTime now = QDateTime::fromString(QString::fromStdString(utcNowText()),
                                                QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY(now.isValid());
}

void BackendCoreTest::fileNamesGiveCountryAndName()
{
    struct Case
    {
        const char *base;
        const char *name;
        const char *country;
    };
    const Case cases[] = {
        {"jp-tokyo-1", "Tokyo 1", "JP"},     {"us-new-york-1", "New York 1", "US"},
        {"De-frankfurt", "Frankfurt", "DE"}, {"tokyo", "tokyo", ""},
        {"usa-east", "usa-east", ""},        {"de-", "de-", ""},
        {"jp--osaka", "Osaka", "JP"},        {"12-x", "12-x", ""},
    };
    for (const Case &c : cases) {
        std::string name;
        std::string country;
        nameFromFileBase(c.base, name, country);
        QCOMPARE(name, std::string(c.name));
        QCOMPARE(country, std::string(c.country));
    }
}

void BackendCoreTest::remoteHostFollowsConfigurationSyntax()
{
    QCOMPARE(remoteHost("client\n# remote 1.1.1.1\n; remote 2.2.2.2\n  remote   \"host.example\""
                        " 1194\nremote 3.3.3.3\n"),
             std::string("host.example"));
    QCOMPARE(remoteHost("--remote a.example 443 tcp"), std::string("a.example"));
    QCOMPARE(remoteHost("\xEF\xBB\xBFremote bom.example 1194\n"), std::string("bom.example"));
    QCOMPARE(remoteHost("remote crlf.example 1194\r\n"), std::string("crlf.example"));
    QCOMPARE(remoteHost("\tremote\t10.8.0.1\n"), std::string("10.8.0.1"));
    QCOMPARE(remoteHost("remote-random\nremote\nremote-cert-tls server\n"), std::string());
    QCOMPARE(remoteHost(""), std::string());
}

void BackendCoreTest::serverFolderSkipsUnusableFiles()
{
    const QString folder = m_dir.filePath(QStringLiteral("servers"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFile(folder + QStringLiteral("/b-second.ovpn"), "remote 127.1.0.2\n"));
    QVERIFY(writeFile(folder + QStringLiteral("/a-first.ovpn"), "remote 127.1.0.1 1194\n"));
    QVERIFY(writeFile(folder + QStringLiteral("/c-sidecar.ovpn"), "remote 127.1.0.3\n"));
    QVERIFY(writeFile(folder + QStringLiteral("/c-sidecar.info"),
                      "# comment\nNAME = Side Car\ncountry=Janpanese\nip=127.1.0.30\nnoise\n"));
    QVERIFY(writeFile(folder + QStringLiteral("/d-noremote.ovpn"), "client\n"));
    QVERIFY(writeFile(folder + QStringLiteral("/e-ip-only.ovpn"), "client\n"));
    QVERIFY(writeFile(folder + QStringLiteral("/e-ip-only.info"), "ip=127.1.0.5\n"));
    QVERIFY(writeFile(folder + QStringLiteral("/f-huge.ovpn"),
                      "remote 127.1.0.6\n" + QByteArray(int(kMaxConfigBytes), '#')));
    QVERIFY(writeFile(folder + QStringLiteral("/readme.txt"), "remote 127.1.0.7\n"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/g-folder.ovpn")));

    std::vector<ServerEntry> entries;
    std::vector<std::string> warnings;
    QVERIFY(loadServerFolder(folder.toStdString(), entries, warnings));
    QCOMPARE(entries.size(), size_t(4));
    QCOMPARE(entries[0].file, std::string("a-first.ovpn"));
    QCOMPARE(entries[0].ip, std::string("127.1.0.1"));
    QCOMPARE(entries[0].country, std::string());
    QCOMPARE(entries[0].name, std::string("a-first"));
    QCOMPARE(entries[0].config, std::string("remote 127.1.0.1 1194\n"));
    QCOMPARE(entries[1].file, std::string("b-second.ovpn"));
    QCOMPARE(entries[2].name, std::string("Side Car"));
    QCOMPARE(entries[2].country, std::string("Janpanese"));
    QCOMPARE(entries[2].ip, std::string("127.1.0.30"));
    QCOMPARE(entries[3].file, std::string("e-ip-only.ovpn"));
    QCOMPARE(entries[3].ip, std::string("127.1.0.5"));

    QString joined;
    for (const std::string &warning : warnings)
        joined += QString::fromStdString(warning) + QLatin1Char('\n');
    QVERIFY2(joined.contains(QStringLiteral("d-noremote.ovpn: no \"remote\" line")),
             qPrintable(joined));
    QVERIFY2(joined.contains(QStringLiteral("f-huge.ovpn: larger than")), qPrintable(joined));

    entries.push_back(ServerEntry());
    warnings.clear();
    QVERIFY(!loadServerFolder(m_dir.filePath(QStringLiteral("absent")).toStdString(), entries,
                              warnings));
    QVERIFY(entries.empty());
    QCOMPARE(warnings.size(), size_t(1));
}

void BackendCoreTest::serverListJsonCarriesEncryptedConfigurations()
{
    std::vector<ServerEntry> entries(2);
    entries[0] = {"a.ovpn", "127.1.0.1", "Quote \" Name", "JP", "remote 127.1.0.1\n"};
    entries[1] = {"b.ovpn", "127.1.0.2", "B", "", std::string()};
    const std::string key = "abcdefghijklmno";
    QJsonParseError error{};
    const QJsonDocument document
        = QJsonDocument::fromJson(QByteArray::fromStdString(serverListJson(entries, key)), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray servers = document.object().value(QStringLiteral("Servers")).toArray();
    QCOMPARE(servers.size(), 2);
    const QJsonObject first = servers.at(0).toObject();
    QCOMPARE(first.keys(),
             QStringList({QStringLiteral("Country"), QStringLiteral("Ip"), QStringLiteral("Name"),
                          QStringLiteral("Ovpn")}));
    QCOMPARE(first.value(QStringLiteral("Name")).toString(), QStringLiteral("Quote \" Name"));
    const QByteArray key16 = QByteArray::fromStdString(key) + '\0';
    const QByteArray cipher
        = QByteArray::fromBase64(first.value(QStringLiteral("Ovpn")).toString().toLatin1());
    QCOMPARE(decryptWithKey(cipher.toStdString(), key16), QByteArray("remote 127.1.0.1\n"));
    // An empty configuration still encrypts to one block of padding.
    QCOMPARE(QByteArray::fromBase64(
                 servers.at(1).toObject().value(QStringLiteral("Ovpn")).toString().toLatin1())
                 .size(),
             16);
    QCOMPARE(serverListJson({}, key), std::string("{\"Servers\":[]}"));
}

void BackendCoreTest::passwordHashesAreSaltedAndVerified()
{
    const std::string first = hashPassword("correct horse");
    const std::string second = hashPassword("correct horse");
    QVERIFY(first.rfind("pbkdf2-sha256$100000$", 0) == 0);
    QVERIFY(first != second);
    QVERIFY(first.find("correct") == std::string::npos);
    QVERIFY(verifyPassword("correct horse", first));
    QVERIFY(verifyPassword("correct horse", second));
    QVERIFY(!verifyPassword("correct horsE", first));
    QVERIFY(!verifyPassword("", first));
    QVERIFY(verifyPassword("", hashPassword("")));

    // Damaged records never verify.
    std::string otherScheme = first;
    otherScheme.replace(0, 6, "sha999");
    std::string fewerRounds = first;
    fewerRounds.replace(fewerRounds.find("$100000$"), 8, "$99999$");
    std::string upperHex = first;
    for (size_t i = upperHex.rfind('$'); i < upperHex.size(); ++i)
        upperHex[i] = char(std::toupper(static_cast<unsigned char>(upperHex[i])));
    for (const std::string &bad :
         {std::string(), otherScheme, fewerRounds, upperHex, first.substr(0, first.size() - 1),
          std::string("pbkdf2-sha256$0$00$00"), std::string("pbkdf2-sha256$x$00$00"),
          std::string("pbkdf2-sha256$1$00$"), first + "$extra"})
        QVERIFY2(!verifyPassword("correct horse", bad), bad.c_str());
}

void BackendCoreTest::configEncryptionMatchesOpenSslCommandLine()
{
    const std::string key = "qN7vR2kT9wL4xZ8";
    const QByteArray keyHex = QByteArray::fromStdString(key).toHex() + "00";
    for (const QByteArray &plain :
         {QByteArray("0123456789"), QByteArray("0123456789abcdef"),
          QByteArray("remote 127.0.0.1\n# T\xC5\x8Dky\xC5\x8D\n"), QByteArray()}) {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("enc"), QStringLiteral("-aes-128-cbc"), QStringLiteral("-K"),
                       QString::fromLatin1(keyHex), QStringLiteral("-iv"),
                       QString(32, QLatin1Char('0'))});
        QVERIFY(openssl.waitForStarted(10000));
        openssl.write(plain);
        openssl.closeWriteChannel();
        QVERIFY(openssl.waitForFinished(10000));
        QCOMPARE(openssl.exitCode(), 0);
        const std::string mine = encryptConfig(plain.toStdString(), key);
        QCOMPARE(QByteArray::fromStdString(mine), openssl.readAllStandardOutput());
        QCOMPARE(int(mine.size()), (plain.size() + 16) / 16 * 16);
    }
}

void BackendCoreTest::configKeyIsFifteenCharactersAndZero()
{
    const std::string plain = "remote 127.0.0.1\n";
    const std::string fifteen = encryptConfig(plain, "0123456789abcde");
    QCOMPARE(encryptConfig(plain, "0123456789abcdefXYZ"), fifteen);
    QCOMPARE(decryptWithKey(fifteen, QByteArray("0123456789abcde") + '\0'),
             QByteArray::fromStdString(plain));
    QVERIFY(decryptWithKey(fifteen, QByteArray("0123456789abcdef"))
            != QByteArray::fromStdString(plain));
    // A shorter key text is padded with zero bytes.
    QCOMPARE(
        decryptWithKey(encryptConfig(plain, "short"), QByteArray("short") + QByteArray(11, '\0')),
        QByteArray::fromStdString(plain));
}

void BackendCoreTest::base64FollowsStandardVectors()
{
    const std::pair<const char *, const char *> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto &[plain, encoded] : vectors)
        QCOMPARE(base64Encode(plain), std::string(encoded));
    // Long inputs stay on one line: the client's reader stops at the first foreign character.
    const std::string long64 = base64Encode(std::string(1000, '\xFB'));
    QVERIFY(long64.find('\n') == std::string::npos);
    QCOMPARE(QByteArray::fromBase64(QByteArray::fromStdString(long64)), QByteArray(1000, '\xFB'));
    QCOMPARE(randomHex(16).size(), size_t(32));
    QVERIFY(randomHex(16) != randomHex(16));
}

void BackendCoreTest::storeKeepsAccountsAndBindsOneDevice()
{
    const std::string path = m_dir.filePath(QStringLiteral("accounts.sqlite")).toStdString();
    std::string error;
    {
        Store store;
        QVERIFY2(store.open(path, error), error.c_str());
        Account account;
        account.email = "Someone@Quellnet.example";
        account.passwordHash = "hash-1";
        account.expireDate = "2030-01-01 00:00:00";
        QCOMPARE(int(store.createAccount(account)), int(Store::CreateResult::Created));
        account.email = "someone@quellnet.EXAMPLE";
        QCOMPARE(int(store.createAccount(account)), int(Store::CreateResult::Exists));

        std::optional<Account> found = store.findAccount("SOMEONE@quellnet.example");
        QVERIFY(found);
        QCOMPARE(found->email, std::string("Someone@Quellnet.example"));
        QCOMPARE(found->paymentDate, std::string());
        QCOMPARE(found->machineId, std::string());
        QVERIFY(!store.findAccount("nobody@quellnet.example"));

        QCOMPARE(store.bindMachine(found->id, "machine-A"), std::string("machine-A"));
        // A later binder does not replace the first device.
        QCOMPARE(store.bindMachine(found->id, "machine-B"), std::string("machine-A"));

        QCOMPARE(store.passwordResetCount(found->id), 0);
        QVERIFY(store.addPasswordReset(found->id, "token"));
        QCOMPARE(store.passwordResetCount(found->id), 1);

        // Re-seeding resets password, period, payment and device.
        Account seeded;
        seeded.email = "someone@quellnet.example";
        seeded.passwordHash = "hash-2";
        seeded.expireDate = "2031-02-03 04:05:06";
        seeded.paymentDate = "2030-12-31 23:59:59";
        QVERIFY(store.putAccount(seeded));
        found = store.findAccount("someone@quellnet.example");
        QVERIFY(found);
        QCOMPARE(found->passwordHash, std::string("hash-2"));
        QCOMPARE(found->expireDate, std::string("2031-02-03 04:05:06"));
        QCOMPARE(found->paymentDate, std::string("2030-12-31 23:59:59"));
        QCOMPARE(found->machineId, std::string());
        QVERIFY(store.putAccount([] {
            Account fresh;
            fresh.email = "fresh@quellnet.example";
            fresh.passwordHash = "hash-3";
            fresh.expireDate = "2032-01-01 00:00:00";
            return fresh;
        }()));
    }
    Store reopened;
    QVERIFY2(reopened.open(path, error), error.c_str());
    QVERIFY(reopened.findAccount("fresh@quellnet.example"));
    QCOMPARE(reopened.findAccount("someone@quellnet.example")->passwordHash, std::string("hash-2"));

    Store broken;
    QVERIFY(
        !broken.open(m_dir.filePath(QStringLiteral("no/such/dir/x.sqlite")).toStdString(), error));
    QVERIFY(!error.empty());
}

void BackendCoreTest::storeKeepsOffersHitsAndRequests()
{
    Store store;
    std::string error;
    QVERIFY2(store.open(m_dir.filePath(QStringLiteral("records.sqlite")).toStdString(), error),
             error.c_str());

    QVERIFY(store.replacePrices({{"90", "Q", "19.99", "/q"}, {"30", "M", "9.99", "/m"}}));
    QVERIFY(store.replacePrices({{"360", "Y", "79.99", "/y"}, {"30", "M", "8.99", "/m"}}));
    const std::vector<PriceEntry> prices = store.prices();
    QCOMPARE(prices.size(), size_t(2));
    QCOMPARE(prices[0].name, std::string("360"));
    QCOMPARE(prices[1].price, std::string("8.99"));
    QVERIFY(store.replaceUpdates({{"quellnet", "2.1.0.0", "https://x/y"}}));
    QCOMPARE(store.updates().size(), size_t(1));
    QCOMPARE(store.updates()[0].version, std::string("2.1.0.0"));

    HitRecord hit;
    hit.received = "2024-01-02 03:04:05";
    hit.listener = "main";
    hit.remoteAddr = "127.0.0.1";
    hit.method = "GET";
    hit.raw = "b=2&a=1";
    hit.params = {{"b", "2"}, {"a", std::string("1\0x", 3)}};
    QVERIFY(store.addHit(hit));
    QVERIFY(store.addHit(hit));
    std::vector<HitRecord> hits = store.hits();
    QCOMPARE(hits.size(), size_t(2));
    QVERIFY(hits[0].id < hits[1].id);
    QCOMPARE(hits[1].params.size(), size_t(2));
    QCOMPARE(hits[1].params[0].first, std::string("b"));
    QCOMPARE(hits[1].params[1].second, std::string("1\0x", 3));

    RequestRecord request;
    request.received = "2024-01-02 03:04:05";
    request.listener = "servers";
    request.remoteAddr = "127.0.0.1";
    request.method = "GET";
    request.path = "/servers";
    request.target = "/servers?x=1";
    request.requestLine = "GET /servers?x=1 HTTP/1.1";
    request.headers = {{"Host", "h"}, {"Identity", "v"}};
    request.wireHeaders = {{"Identity", "v"}, {"Host", "h"}};
    QVERIFY(store.addRequest(request));
    const std::vector<RequestRecord> requests = store.requests();
    QCOMPARE(requests.size(), size_t(1));
    QCOMPARE(requests[0].target, std::string("/servers?x=1"));
    QCOMPARE(requests[0].requestLine, request.requestLine);
    QCOMPARE(requests[0].headers, request.headers);
    QCOMPARE(requests[0].wireHeaders, request.wireHeaders);

    QVERIFY(store.clearRecords());
    QVERIFY(store.hits().empty());
    QVERIFY(store.requests().empty());
    QCOMPARE(store.prices().size(), size_t(2)); // offers are not records
}

QTEST_GUILESS_MAIN(BackendCoreTest)
#include "tst_backendcore.moc"
