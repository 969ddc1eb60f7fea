// The translations against the code: lupdate finds no text the .ts files lack, nothing is
// left unfinished, and every translation keeps its source's placeholders and accelerators.

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Message
{
    QString context, source, translation;
    bool finished = true;
};

QList<Message> readTs(const QString &path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            messages.append({context, xml.readElementText(), QString(), true});
        } else if (xml.name() == QLatin1String("translation") && !messages.isEmpty()) {
            messages.last().finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            messages.last().translation = xml.readElementText();
        }
    }
    return messages;
}

// Placeholders in order of number, and the accelerator count.
QString marks(const QString &text)
{
    QStringList found;
    auto placeholders = QRegularExpression(QStringLiteral("%\\d")).globalMatch(text);
    while (placeholders.hasNext())
        found << placeholders.next().captured();
    found.sort();
    return found.join(QLatin1Char(',')) + QLatin1Char('|')
        + QString::number(text.count(QRegularExpression(QStringLiteral("&(?=\\w)"))));
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsTranslatedAndKeepsItsMarks()
    {
        const QDir source(QStringLiteral(QUELLNET_SOURCE_DIR));
        QDir translations(source.filePath(QStringLiteral("resources/translations")));
        const QStringList names = translations.entryList({QStringLiteral("*.ts")});
        QCOMPARE(names.size(), 18);

        // lupdate over copies: a text in the code that the files lack would appear there.
        QTemporaryDir work;
        QStringList arguments = {QStringLiteral("-silent"),     QStringLiteral("-no-obsolete"),
                                 QStringLiteral("-locations"),  QStringLiteral("none"),
                                 QStringLiteral("-extensions"), QStringLiteral("cpp,h")};
        for (const char *folder :
             {"app", "account", "session", "servers", "widgets", "core", "net"})
            arguments << source.filePath(QLatin1String(folder));
        arguments << QStringLiteral("-ts");
        for (const QString &name : names) {
            QVERIFY(QFile::copy(translations.filePath(name), work.filePath(name)));
            arguments << work.filePath(name);
        }
        QProcess lupdate;
        lupdate.start(QStringLiteral("lupdate"), arguments);
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);

        for (const QString &name : names) {
            const QList<Message> committed = readTs(translations.filePath(name));
            const QList<Message> current = readTs(work.filePath(name));
            QVERIFY2(!committed.isEmpty(), qPrintable(name));
            QCOMPARE(current.size(), committed.size());
            for (const Message &m : current) {
                const QString where
                    = name + QLatin1Char(' ') + m.context + QLatin1Char(' ') + m.source;
                QVERIFY2(m.finished && !m.translation.isEmpty(), qPrintable(where));
                QVERIFY2(marks(m.translation) == marks(m.source),
                         qPrintable(where + QStringLiteral(" -> ") + m.translation));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
