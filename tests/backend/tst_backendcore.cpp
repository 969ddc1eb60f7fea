// The backend's building blocks without the HTTP layer: command line, text helpers, password
// hashing, configuration encryption and the attempt limiter.
#include "attemptlimiter.h"
#include "backendcrypto.h"
#include "options.h"
#include "textutil.h"

#include <QProcess>
#include <QtTest>

#include <openssl/evp.h>

using namespace backend;

namespace {

// PBKDF2-HMAC-SHA256 by OpenSSL, as lower-case hex.
std::string pbkdf2(const std::string &password, const QByteArray &salt, int rounds, int bytes)
{
    QByteArray out(bytes, '\0');
    PKCS5_PBKDF2_HMAC(password.data(), int(password.size()),
                      reinterpret_cast<const unsigned char *>(salt.constData()), salt.size(),
                      rounds, EVP_sha256(), bytes, reinterpret_cast<unsigned char *>(out.data()));
    return out.toHex().toStdString();
}

} // namespace

class BackendCoreTest : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error"); // empty: accepted
        const QStringList required{"--cert", "c", "--key", "k", "--db", "d"};
        QTest::newRow("both value forms")
            << (required + QStringList{"--port", "9443", "--collect-port=9080", "--demo"})
            << QString();
        QTest::newRow("unknown") << (required + QStringList{"--fast"})
                                 << "unknown argument: --fast";
        QTest::newRow("positional") << (required + QStringList{"x"}) << "unknown argument: x";
        QTest::newRow("no cert") << QStringList(required.mid(2)) << "--cert is required";
        QTest::newRow("missing value")
            << (required + QStringList{"--listen"}) << "--listen needs a value";
        QTest::newRow("empty value")
            << (required + QStringList{"--listen="}) << "--listen needs a non-empty value";
        for (const char *port : {"--port=0", "--port=+80", "--collect-port=65536"})
            QTest::newRow(port) << (required + QStringList{port}) << "not a port number";
        for (const char *count :
             {"--attempt-limit=0", "--attempt-window=86401", "--record-limit=1e3"})
            QTest::newRow(count) << (required + QStringList{count}) << "not a number from 1 to";
        QTest::newRow("same ports")
            << (required + QStringList{"--collect-port=4430"}) << "must differ";
        QTest::newRow("flag value") << (required + QStringList{"--debug-endpoints=1"})
                                    << "--debug-endpoints takes no value";
        QTest::newRow("short demo password")
            << (required + QStringList{"--demo-password", "12345"}) << "at least 6 characters";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        std::vector<std::string> args;
        for (const QString &argument : arguments)
            args.push_back(argument.toStdString());
        const ParsedCommandLine parsed = parseCommandLine(args);
        QCOMPARE(parsed.action == ParsedCommandLine::Action::Error, !error.isEmpty());
        QVERIFY2(QString::fromStdString(parsed.error).contains(error), parsed.error.c_str());
        if (error.isEmpty()) {
            QCOMPARE(parsed.options.port, 9443);
            QCOMPARE(parsed.options.collectPort, 9080);
            // Loopback only unless told otherwise.
            QCOMPARE(parsed.options.listen, std::string("127.0.0.1"));
        }
    }

    // Steps "KEYSECOND" or "KEYSECOND=WAIT": an attempt at that second and the seconds it
    // must wait (none: it goes ahead). Two attempts per 10 s window, two keys tracked.
    void attemptLimiter_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("per key") << "a0 a1 a2=8 b2";
        QTest::newRow("refusals do not count; a new window") << "a0 a1 a9=1 a10 a11 a12=8";
        QTest::newRow("least recently used forgotten") << "a0 a0 b1 c2 a3";
        QTest::newRow("refused key kept while trying") << "a0 a0 b1 a2=8 c3 a4=6";
    }

    void attemptLimiter()
    {
        QFETCH(QString, steps);
        AttemptLimiter limiter(2, std::chrono::seconds(10), 2);
        for (const QString &step : steps.split(QLatin1Char(' '))) {
            const QStringList parts = step.mid(1).split(QLatin1Char('='));
            const auto wait = limiter.take(step.left(1).toStdString(),
                                           AttemptLimiter::Clock::time_point()
                                               + std::chrono::seconds(parts[0].toInt()));
            QCOMPARE(std::chrono::duration_cast<std::chrono::seconds>(wait).count(),
                     qint64(parts.value(1).toInt()));
        }
    }

    void requestTextIsDecodedStrictly()
    {
        QCOMPARE(percentDecode("a%2Bb%40q.example+%C3%B6").value_or("?"),
                 std::string("a+b@q.example+\xC3\xB6"));
        for (const char *bad : {"%", "abc%4", "%G0", "%0g", "100%"})
            QVERIFY2(!percentDecode(bad), bad);
        const auto params = parseFormText("z=26&a=1&&flag&el=VPN%20a%26b&sp=x+y&bad=%zz&=empty&");
        QStringList got;
        for (const auto &param : params)
            got << QString::fromStdString(param.first + '=' + param.second);
        QCOMPARE(
            got,
            QStringList({"z=26", "a=1", "flag=", "el=VPN a&b", "sp=x y", "bad=%zz", "=empty"}));
    }

    // Any bytes as a JSON string QJsonDocument reads: fuzz/backendrequest.cpp.

    void passwordHashesArePbkdf2AndVerified()
    {
        const std::string stored = hashPassword("correct horse");
        QVERIFY(stored != hashPassword("correct horse")); // salted
        // Recomputed independently from the record's own salt.
        const QList<QByteArray> parts = QByteArray::fromStdString(stored).split('$');
        QCOMPARE(parts.size(), 4);
        QCOMPARE(parts[0], QByteArray("pbkdf2-sha256"));
        const QByteArray salt = QByteArray::fromHex(parts[2]);
        QCOMPARE(pbkdf2("correct horse", salt, 100000, parts[3].size() / 2),
                 parts[3].toStdString());
        // A record made outside accepts the password and nothing else.
        const QByteArray mySalt("0123456789abcdef");
        const std::string mine = "pbkdf2-sha256$100000$" + mySalt.toHex().toStdString() + '$'
            + pbkdf2("pässword", mySalt, 100000, 32);
        QVERIFY(verifyPassword("pässword", mine));
        QVERIFY(!verifyPassword("passwörd", mine));
        QVERIFY(verifyPassword("", hashPassword("")));

        // Damaged records never verify.
        std::string upperHex = stored;
        for (size_t i = upperHex.rfind('$'); i < upperHex.size(); ++i)
            upperHex[i] = char(std::toupper(static_cast<unsigned char>(upperHex[i])));
        std::string fewerRounds = stored;
        fewerRounds.replace(fewerRounds.find("$100000$"), 8, "$99999$");
        for (const std::string &bad :
             {std::string(), "sha999" + stored.substr(6), fewerRounds, upperHex,
              stored.substr(0, stored.size() - 1), std::string("pbkdf2-sha256$0$00$00"),
              std::string("pbkdf2-sha256$x$00$00"), stored + "$extra"})
            QVERIFY2(!verifyPassword("correct horse", bad), bad.c_str());
    }

    void configEncryptionMatchesOpenSslCommandLine_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("key"); // the client uses at most 15 characters, then zero
        // Short texts and a whole padding block: tst_backend decrypts such server files.
        QTest::newRow("empty") << QByteArray() << QByteArray("qN7vR2kT9wL4xZ8");
        QTest::newRow("long key is cut")
            << QByteArray("remote 127.0.0.1\n") << QByteArray("0123456789abcdefXYZ");
        QTest::newRow("short key is padded")
            << QByteArray("remote T\xC5\x8Dky\xC5\x8D\n") << QByteArray("short");
    }

    void configEncryptionMatchesOpenSslCommandLine()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, key);
        QByteArray key16 = key.left(15);
        key16 += QByteArray(16 - key16.size(), '\0');
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"enc", "-aes-128-cbc", "-K", QString::fromLatin1(key16.toHex()), "-iv",
                       QString(32, QLatin1Char('0'))});
        QVERIFY(openssl.waitForStarted(10000));
        openssl.write(plain);
        openssl.closeWriteChannel();
        QVERIFY(openssl.waitForFinished(10000));
        QCOMPARE(openssl.exitCode(), 0);
        QCOMPARE(QByteArray::fromStdString(encryptConfig(plain.toStdString(), key.toStdString())),
                 openssl.readAllStandardOutput());
    }

    // The account store (emails in any case, one device per account, persistence) is
    // driven through the running backend in tst_backend.
};

QTEST_GUILESS_MAIN(BackendCoreTest)
#include "tst_backendcore.moc"
