#include "mpanel.h"

#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Bounding box of the pixels of one colour in the rendered panel.
QRect areaOf(MPanel &panel, const QColor &color)
{
    QImage image(panel.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    panel.render(&image);
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

QString writeImage(const QTemporaryDir &dir, const QString &name, const QColor &color)
{
    QImage image(QSize(20, 10), QImage::Format_ARGB32);
    image.fill(color);
    const QString path = dir.filePath(name);
    return image.save(path) ? path : QString();
}

} // namespace

class TestMPanel : public QObject
{
    Q_OBJECT

private slots:
    void cleanWidgetRemovesAndDeletesRecordedWidgets()
    {
        MPanel panel(Qt::Vertical, nullptr);
        panel.addSpacing(5);
        QPointer<QLabel> label
            = panel.addText(QStringLiteral("t"), QString(), 9, 0, QStringLiteral("id"));
        QCOMPARE(panel.getTextLabel(QStringLiteral("id")), label.data());
        QPointer<QWidget> widget = new QWidget(&panel);
        panel.addWidget(widget);
        panel.addWidget(nullptr);
        QCOMPARE(panel.getLayout()->count(), 3);

        panel.cleanWidget();
        QCOMPARE(panel.getLayout()->count(), 1); // the spacing stays: it is no widget
        QVERIFY(!panel.getTextLabel(QStringLiteral("id")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(label.isNull() && widget.isNull());
    }

    void backgroundImageIsCentredOrStretchedAndSwappedOnHover()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString red = writeImage(dir, QStringLiteral("red.png"), Qt::red);
        const QString blue = writeImage(dir, QStringLiteral("blue.png"), Qt::blue);
        MPanel panel(Qt::Vertical, nullptr);
        panel.resize(100, 50);
        panel.setBackgroundImage(red, blue);
        QCOMPARE(areaOf(panel, Qt::red), QRect(40, 20, 20, 10));

        panel.setImageMargin(5, 10);
        panel.setDrawType(1);
        QCOMPARE(areaOf(panel, Qt::red), QRect(10, 5, 80, 40));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(&panel, &enter);
        QCOMPARE(areaOf(panel, Qt::blue), QRect(10, 5, 80, 40));
        QVERIFY(areaOf(panel, Qt::red).isNull());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&panel, &leave);
        QCOMPARE(areaOf(panel, Qt::red), QRect(10, 5, 80, 40));
    }

    void leftPressClicksAtItsPosition()
    {
        MPanel panel(Qt::Vertical, nullptr);
        panel.resize(50, 50);
        QSignalSpy clicked(&panel, &MPanel::clicked);
        QSignalSpy clickAt(&panel, &MPanel::signalMouseClick);
        for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
            QMouseEvent press(QEvent::MouseButtonPress, QPoint(7, 9),
                              panel.mapToGlobal(QPoint(7, 9)), button, button, Qt::NoModifier);
            QCoreApplication::sendEvent(&panel, &press);
        }
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clickAt.count(), 1);
        QCOMPARE(clickAt.at(0).at(0).toInt(), 7);
        QCOMPARE(clickAt.at(0).at(1).toInt(), 9);
    }
};

QTEST_MAIN(TestMPanel)
#include "tst_mpanel.moc"
