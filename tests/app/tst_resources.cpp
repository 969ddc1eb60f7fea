// The compiled-in look: every picture loads, with a twice-as-large partner for 2x screens where
// the widgets need one; icon files hold several sizes and animations loop and move; both style
// sheets parse and name only pictures that exist.

#include "logcapture.h"
#include "resinit.h"

#include <QApplication>
#include <QDirIterator>
#include <QImageReader>
#include <QMovie>
#include <QPushButton>
#include <QtTest>

static QString readResource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

static QString doubleName(const QString &path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { quellnetInitResources(); }

    void everyPictureLoadsAndDoubles()
    {
        // Shown as pixmaps: each needs its @2x partner, and draws on a transparent ground.
        const QRegularExpression pixmap(QStringLiteral("^:/(titlebar|MsgBox|icon|wnd)/.*\\.png$"));
        int pictures = 0;
        int doubles = 0;
        QDirIterator it(QStringLiteral(":/"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString suffix = QFileInfo(path).suffix().toLower();
            if (path.startsWith(QLatin1String(":/qt-project.org"))
                || !QStringList({"png", "ico", "gif", "svg"}).contains(suffix))
                continue;
            ++pictures;
            QImageReader reader(path);
            const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
            QVERIFY2(!image.isNull(),
                     qPrintable(path + QStringLiteral(": ") + reader.errorString()));
            if (path.contains(QLatin1String("@2x."))) {
                ++doubles;
                const QSize single
                    = QImageReader(QString(path).remove(QStringLiteral("@2x"))).size();
                QVERIFY2(single.isValid() && image.size() == single * 2, qPrintable(path));
            } else if (pixmap.match(path).hasMatch()) {
                QVERIFY2(QFile::exists(doubleName(path)), qPrintable(path));
                QImage blank(image.size(), image.format());
                blank.fill(Qt::transparent);
                QVERIFY2(qAlpha(image.pixel(0, 0)) == 0 && image != blank, qPrintable(path));
            }
            // Window and tray take the size they need from an icon file.
            if (suffix == QLatin1String("ico"))
                QVERIFY2(reader.imageCount() > 1, qPrintable(path));
            if (suffix == QLatin1String("gif")) {
                QMovie movie(path);
                QCOMPARE(movie.loopCount(), -1); // for ever
                QVERIFY(movie.frameCount() > 1 && movie.jumpToFrame(0));
                const QImage first = movie.currentImage();
                QVERIFY2(movie.jumpToFrame(1) && movie.currentImage() != first, qPrintable(path));
            }
        }
        QVERIFY(doubles > 0 && pictures > doubles);
    }

    void styleSheetsParseAndNamePicturesThatExist_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<bool>("broken");
        const QString light = readResource(QStringLiteral(":/light.qss"));
        const QString comm = readResource(QStringLiteral(":/comm.qss"));
        QTest::newRow("light") << light << false;
        QTest::newRow("comm") << comm << false;
        QTest::newRow("application") << light + comm << false;
        // Proves the detector: Qt does warn about a sheet it cannot read.
        QTest::newRow("broken") << QStringLiteral("QWidget { color: red; ") << true;
    }
    void styleSheetsParseAndNamePicturesThatExist()
    {
        QFETCH(QString, sheet);
        QFETCH(bool, broken);
        QVERIFY(!sheet.isEmpty());
        {
            // Qt parses a sheet when it polishes a widget under it.
            LogCapture log;
            qApp->setStyleSheet(sheet);
            QWidget probe;
            QPushButton button(&probe);
            button.ensurePolished();
            const QString warnings = LogCapture::joined();
            QVERIFY2(warnings.contains(QLatin1String("Could not parse")) == broken,
                     qPrintable(warnings));
            QVERIFY2(broken || warnings.isEmpty(), qPrintable(warnings));
        }
        // A missing picture shows nothing, silently.
        const QRegularExpression url(QStringLiteral("url\\(\\s*['\"]?([^'\")]+)"));
        for (auto it = url.globalMatch(sheet); it.hasNext();) {
            const QString picture = it.next().captured(1).trimmed();
            QVERIFY2(QFile::exists(picture) && QFile::exists(doubleName(picture)),
                     qPrintable(picture));
        }
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
