// The compiled-in look: every picture loads, with a twice-as-large partner for 2x screens where
// the widgets need one; the icon files and animations are usable; both style sheets parse and
// name only pictures that exist.

#include "logcapture.h"
#include "resinit.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QImageReader>
#include <QMovie>
#include <QPushButton>
#include <QtTest>

namespace {

QString readResource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString doubleName(const QString &path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

// Pixels drawn (nearly) solid.
int opaquePixels(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x)
            count += qAlpha(argb.pixel(x, y)) > 200 ? 1 : 0;
    }
    return count;
}

} // namespace

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
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(),
                     qPrintable(path + QStringLiteral(": ") + reader.errorString()));
            if (path.contains(QLatin1String("@2x."))) {
                ++doubles;
                const QSize single
                    = QImageReader(QString(path).remove(QStringLiteral("@2x"))).size();
                QVERIFY2(single.isValid() && image.size() == single * 2, qPrintable(path));
            } else if (pixmap.match(path).hasMatch()) {
                QVERIFY2(QFile::exists(doubleName(path)), qPrintable(path));
                QVERIFY2(qAlpha(image.pixel(0, 0)) == 0 && opaquePixels(image) > 4,
                         qPrintable(path));
            }
        }
        QVERIFY(doubles > 0 && pictures > doubles);
    }

    void iconFilesHoldSeveralSizesWithTransparency_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("connected");
        QTest::newRow("normal") << QStringLiteral(":/icon/ico_main.ico") << false;
        QTest::newRow("connected") << QStringLiteral(":/icon/main_icon_on.ico") << true;
    }
    void iconFilesHoldSeveralSizesWithTransparency()
    {
        QFETCH(QString, path);
        QFETCH(bool, connected);
        QImageReader reader(path);
        QVERIFY(reader.imageCount() > 1);
        const QList<QSize> available = QIcon(path).availableSizes();
        QSet<int> sizes;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
            QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
            const int s = image.width();
            QCOMPARE(image.height(), s);
            sizes << s;
            // Window and tray take the size they need from the QIcon of the file.
            QVERIFY2(available.contains(image.size()), qPrintable(QString::number(s)));
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(s - 1, s - 1)), 0);
            // The shield just below its top: blue normally, green when connected.
            const QColor shield = image.pixelColor(s / 2, int(s * 0.14 + 0.5));
            QCOMPARE(shield.alpha(), 255);
            const int greenOverBlue = shield.green() - shield.blue();
            QVERIFY2(connected ? greenOverBlue > 40 : greenOverBlue < -40,
                     qPrintable(shield.name()));
        }
        QCOMPARE(sizes.size(), reader.imageCount());
    }

    void animationsLoopThroughMovingTransparentFrames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("loading") << QStringLiteral(":/wnd/loading.gif");
        QTest::newRow("inner") << QStringLiteral(":/Skin/loading_inner.gif");
    }
    void animationsLoopThroughMovingTransparentFrames()
    {
        QFETCH(QString, path);
        QMovie movie(path);
        QVERIFY(movie.isValid());
        QVERIFY(movie.frameCount() > 1);
        QCOMPARE(movie.loopCount(), -1); // for ever
        QImage previous;
        for (int i = 0; i < movie.frameCount(); ++i) {
            QVERIFY(movie.jumpToFrame(i));
            QVERIFY(movie.nextFrameDelay() > 0);
            const QImage frame = movie.currentImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(qAlpha(frame.pixel(0, 0)), 0);
            QVERIFY(opaquePixels(frame) > frame.width());
            QVERIFY2(frame != previous, "the spinner must move from frame to frame");
            previous = frame;
        }
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
