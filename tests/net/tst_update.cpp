// Updates end to end against the reference backend: which offer counts, ranged downloads into
// one file (and every way a server can get them wrong), and the signature check that comes
// before anything is done with the package.

#include "mdeploy.h"
#include "mdownloaddlg.h"
#include "mnetwork.h"
#include "modaldriver.h"
#include "mutils.h"
#include "testbackend.h"
#include "updatecheck.h"
#include "updatesigning.h"

#include <QtTest>

class TestUpdate : public QObject
{
    Q_OBJECT

    TestBackend m_backend;
    QString m_quirk = QStringLiteral("none");
    QTemporaryDir m_files;
    QTemporaryDir m_out;

    bool backendWith(const QString &quirk)
    {
        if (quirk == m_quirk && m_backend.isRunning())
            return true;
        m_backend.stop();
        TestBackend::Options options;
        options.extra = QStringList{QStringLiteral("--files-dir"), m_files.path(),
                                    QStringLiteral("--updates"), m_files.filePath("updates.json")};
        if (!quirk.isEmpty())
            options.extra << QStringLiteral("--download-quirk") << quirk;
        m_quirk = quirk;
        return m_backend.start(options);
    }
    QString url(const QString &name) const
    {
        return QStringLiteral("https://%1/download/%2").arg(m_backend.hostWithPort(), name);
    }
    // Bytes with a period (251) no part boundary shares, so a shifted part shows.
    QByteArray makeFile(const QString &name, int size)
    {
        QByteArray bytes;
        for (int i = 0; i < size; ++i)
            bytes += char(i % 251);
        QFile out(m_files.filePath(name));
        return out.open(QIODevice::WriteOnly) && out.write(bytes) == size ? bytes : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.isValid() && m_out.isValid());
        MNetwork::globalInit();
    }
    void cleanupTestCase() { MNetwork::globalClean(); }

    void offers_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("version");
        using R = UpdateCheck::Result;
        // An entry offering version at url for id; an empty id: the reply is the url itself.
        const auto row
            = [](const char *name, const char *id, const char *version, const char *url, R result) {
                  const QByteArray entry = QByteArray("{\"update_data\":[{\"id\":\"") + id
                      + "\",\"version\":\"" + version + "\",\"download_url\":\"" + url + "\"}]}";
                  QTest::newRow(name) << (*id ? entry : QByteArray(url)) << int(result)
                                      << QString(result == R::Newer ? version : "");
              };
        row("newer", "quellnet", "2.1.0.0", "https://h/q.deb", R::Newer);
        row("numeric parts", "quellnet", "2.0.10.0", "https://h/q.deb", R::Newer);
        row("older", "quellnet", "2.0.8.9", "https://h/q.deb", R::UpToDate);
        row("other id", "other", "9.0", "https://h/q.deb", R::UpToDate);
        row("short address", "quellnet", "9.0", "h.de", R::UpToDate);
        row("not a package", "quellnet", "9.0", "https://h/q.exe", R::UpToDate);
        row("version with a path", "quellnet", "9.0/../x", "https://h/q.deb", R::UpToDate);
        row("empty", "", "", "", R::Failed);
        row("[]", "", "", "[]", R::Malformed);
        row("not JSON", "", "", "<html>", R::Malformed);
    }
    void offers()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, result);
        QFETCH(QString, version);
        UpdateOffer offer;
        QCOMPARE(int(UpdateCheck::evaluate(QString::fromUtf8(reply), QStringLiteral("quellnet"),
                                           QStringLiteral("2.0.9.0"), &offer)),
                 result);
        QCOMPARE(offer.version, version);
    }

    // What the download leaves: the exact file, or no file and the reason.
    void download_data()
    {
        QTest::addColumn<QString>("quirk");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("parts");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("error");
        QTest::newRow("four parts") << "" << 10000 << 4 << false << "";
        QTest::newRow("one part, small file") << "" << 1500 << 1 << false << "";
        QTest::newRow("ranged, too small") << "" << 1500 << 4 << false << "Remote file size is 0";
        QTest::newRow("ranges ignored")
            << "ignore-ranges" << 10000 << 4 << false << "did not send the requested part";
        QTest::newRow("wrong range")
            << "wrong-range" << 10000 << 4 << false << "another part of the file";
        QTest::newRow("stalled") << "stall" << 10000 << 4 << false << "Network error:Timeout";
        QTest::newRow("cancelled") << "stall" << 10000 << 4 << true << "";
    }
    void download()
    {
        QFETCH(QString, quirk);
        QFETCH(int, size);
        QFETCH(int, parts);
        QFETCH(bool, cancel);
        QFETCH(QString, error);
        QVERIFY(backendWith(quirk));
        const QByteArray bytes = makeFile(QStringLiteral("f.bin"), size);
        QVERIFY(m_backend.resetRequests());
        const QString target = m_out.filePath(QStringLiteral("out.bin"));
        QFile::remove(target);

        MMultiDownload job(nullptr, target);
        job.setPartTimeout(500);
        QSignalSpy ended(&job, &MMultiDownload::signalEnd);
        QSignalSpy failed(&job, &MMultiDownload::signalError);
        QSignalSpy finished(&job, &MMultiDownload::signalFinished);
        QSignalSpy progress(&job, &MMultiDownload::signalProgress);
        if (cancel)
            connect(&job, &MMultiDownload::signalStart, &job, &MMultiDownload::stop,
                    Qt::QueuedConnection);
        job.start(QUrl(url(QStringLiteral("f.bin"))), parts);
        QVERIFY(ended.wait(10000));
        QCOMPARE(ended.size(), 1);
        for (const QList<QVariant> &p : qAsConst(progress))
            QVERIFY(p.at(0).toInt() >= 0 && p.at(0).toInt() <= 100);
        if (!error.isEmpty() || cancel) {
            QVERIFY(finished.isEmpty() && !QFile::exists(target));
            QCOMPARE(failed.size(), cancel ? 0 : 1);
            if (!cancel)
                QVERIFY2(failed.at(0).at(0).toString().contains(error),
                         qPrintable(failed.at(0).at(0).toString()));
            return;
        }
        QCOMPARE(finished.size(), 1);
        QFile out(target);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY(out.readAll() == bytes);
        QStringList ranges;
        for (const TestBackend::Request &r : m_backend.requests())
            for (const auto &h : r.wireHeaders)
                if (h.first.compare(QLatin1String("Range"), Qt::CaseInsensitive) == 0)
                    ranges << h.second;
        ranges.sort();
        const QStringList expected = parts == 1
            ? QStringList()
            : QStringList{"Bytes=0-2500", "Bytes=2499-5000", "Bytes=4999-7500", "Bytes=7499-10000"};
        QCOMPARE(ranges, expected);
    }

    // The cancel question is open while the download ends: the answer decides, and the dialog
    // is not torn down under the question.
    void downloadEndsWhileCancelIsAsked()
    {
        QVERIFY(backendWith(QString()));
        for (const bool cancel : {true, false}) {
            makeFile(QStringLiteral("f.bin"), 10000);
            const QString target = m_out.filePath(QStringLiteral("dialog.bin"));
            QPointer<MDownloadDlg> dialog = new MDownloadDlg(QStringLiteral("t"));
            QSignalSpy finished(dialog.data(), &MDownloadDlg::signalFinished);
            dialog->show();
            dialog->startDownload(url(QStringLiteral("f.bin")), target, 4);
            QSignalSpy jobEnded(dialog->job(), &MMultiDownload::signalEnd);
            ModalDriver driver([&](QWidget *box) {
                QTRY_VERIFY_WITH_TIMEOUT(!jobEnded.isEmpty(), 10000);
                ModalDriver::click(cancel ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)(box);
            });
            dialog->cancelImport();
            QVERIFY(driver.answered());
            QTRY_VERIFY(dialog.isNull());
            QCOMPARE(finished.size(), cancel ? 0 : 1);
            QCOMPARE(QFile::exists(target), !cancel);
        }
    }

    void signature_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("valid") << "";
        QTest::newRow("forged file") << "file";
        QTest::newRow("wrong signature") << "signature";
        QTest::newRow("wrong size") << "size";
        QTest::newRow("other version") << "version";
        QTest::newRow("missing signature") << "missing";
        QTest::newRow("other key") << "key";
    }
    void signature()
    {
        QFETCH(QString, fault);
        const QString file = m_out.filePath(QStringLiteral("package.deb"));
        QVERIFY(SaveFile(file, QStringLiteral("the package")));
        UpdateOffer offer = signedOffer(file, QStringLiteral("2.1.0.0"));
        QByteArray key = Deploy::updatePublicKey();
        if (fault == "file")
            QVERIFY(SaveFile(file, QStringLiteral("the pachage")));
        else if (fault == "signature")
            offer.signature = QString::fromLatin1(
                QByteArray::fromBase64(offer.signature.toLatin1()).replace(0, 1, "x").toBase64());
        else if (fault == "size")
            offer.size += 1;
        else if (fault == "version")
            offer.version = QStringLiteral("2.1.0.1");
        else if (fault == "missing")
            offer.signature.clear();
        else if (fault == "key")
            key[0] = char(key[0] ^ 1);
        QCOMPARE(UpdatePackage::verify(file, offer, key).isEmpty(), fault.isEmpty());
    }

    // The demo's path: the backend offers a signed package, it downloads in five parts,
    // verifies, and reaches the (stand-in) installer.
    void offeredPackageDownloadsVerifiesAndReachesTheInstaller()
    {
        QVERIFY(backendWith(QString()));
        makeFile(QStringLiteral("quellnet_2.1.0.0_all.deb"), 300000);
        QFile updates(m_files.filePath(QStringLiteral("updates.json")));
        QVERIFY(updates.open(QIODevice::WriteOnly));
        updates.write("{\"update_data\":[{\"id\":\"quellnet\",\"version\":\"2.1.0.0\","
                      "\"download_url\":\"/download/quellnet_2.1.0.0_all.deb\"}]}");
        updates.close();
        UpdateOffer offer;
        QCOMPARE(UpdateCheck::run(QStringLiteral("quellnet"), QStringLiteral("2.0.9.0"), &offer),
                 UpdateCheck::Result::Newer);
        const QString target = UpdatePackage::downloadFolder() + QStringLiteral("/New.deb");
        MMultiDownload job(nullptr, target);
        QSignalSpy finished(&job, &MMultiDownload::signalFinished);
        job.start(QUrl(offer.url), 5);
        QVERIFY(finished.wait(10000));
        QCOMPARE(UpdatePackage::verify(target, offer, Deploy::updatePublicKey()), QString());

        const QString marker = m_out.filePath(QStringLiteral("handed"));
        QVERIFY(useStandInInstaller(m_out.filePath(QStringLiteral("installer")), marker));
        QVERIFY(UpdatePackage::handOver(target));
        QTRY_COMPARE_WITH_TIMEOUT(ReadFileX(marker).trimmed(), target, 10000);
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
