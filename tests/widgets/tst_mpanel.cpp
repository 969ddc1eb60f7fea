#include "mpanel.h"

#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QImage renderPanel(MPanel &panel)
{
    QImage image(panel.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    panel.render(&image);
    return image;
}

QString writeImage(const QTemporaryDir &dir, const QString &name, const QSize &size,
                   const QColor &color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

// Bounding box of the pixels of one colour.
QRect areaOf(const QImage &image, const QColor &color)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButton button)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

class TestMPanel : public QObject
{
    Q_OBJECT

private slots:
    void constructorsChooseTheLayout();
    void addTextStylesFromArgumentsAndPanelFont();
    void addTextRecordsLabelsById();
    void addTextExtFixesWidthAndAlignment();
    void addWidgetAlignsByFlagAndIgnoresNull();
    void commandButtonWidthCountsOnlyWidgetsVisibleWhenAdded();
    void cleanWidgetRemovesAndDeletesRecordedWidgets();
    void addLineBuildsBorderStyleSheet();
    void backgroundColourNamesThePanelForItsSelector();
    void borderSetsLayoutMarginsAndIsDrawnOnTheEdges();
    void dashedBorderLeavesGaps();
    void imageRectCentresOrStretchesInsideMargins();
    void imageIsDrawnAtComputedOffsetsWithHoverVariant();
    void mouseEventsEmitPanelSignals();
};

void TestMPanel::constructorsChooseTheLayout()
{
    MPanel vertical(nullptr);
    QVERIFY(qobject_cast<QVBoxLayout *>(vertical.getLayout()));
    MPanel horizontal(Qt::Horizontal, nullptr);
    QVERIFY(qobject_cast<QHBoxLayout *>(horizontal.getLayout()));

    MPanel bare(Qt::Horizontal, nullptr, true);
    QVERIFY(!bare.getLayout());
    QVERIFY(!bare.layout());
    bare.setStrech(0, 3); // without a layout this must be harmless
    QVERIFY(!bare.layout());
}

void TestMPanel::addTextStylesFromArgumentsAndPanelFont()
{
    MPanel panel(Qt::Vertical, nullptr);
    QFont font = panel.font();
    font.setPointSize(11);
    panel.setFont(font);

    QLabel *plain = panel.addText(QStringLiteral("hello"), QString());
    QCOMPARE(plain->text(), QStringLiteral("hello"));
    QCOMPARE(plain->parentWidget(), &panel);
    QCOMPARE(plain->styleSheet(), QStringLiteral("color:#2b2b2b;font-size:11pt;padding-left:0px"));

    QLabel *big = panel.addText(QStringLiteral("big"), QStringLiteral("#ff0000"), 12, 7);
    QCOMPARE(big->styleSheet(), QStringLiteral("color:#ff0000;font-size:12pt;padding-left:7px"));

    QCOMPARE(panel.getLayout()->count(), 2);
    QCOMPARE(panel.getLayout()->indexOf(big), 1);
    QCOMPARE(*panel.getSubWidgetList(), (QList<QWidget *>{plain, big}));
}

void TestMPanel::addTextRecordsLabelsById()
{
    MPanel panel(Qt::Vertical, nullptr);
    QLabel *first = panel.addText(QStringLiteral("a"), QString(), 9, 0, QStringLiteral("name"));
    QLabel *anonymous = panel.addText(QStringLiteral("b"), QString());
    QCOMPARE(panel.getTextLabel(QStringLiteral("name")), first);
    QVERIFY(!panel.getTextLabel(QString()));
    QVERIFY(!panel.getTextLabel(QStringLiteral("other")));
    QVERIFY(anonymous);

    QLabel *second = panel.addText(QStringLiteral("c"), QString(), 9, 0, QStringLiteral("name"));
    QCOMPARE(panel.getTextLabel(QStringLiteral("name")), second);
    QCOMPARE(panel.getSubWidgetList()->size(), 3);
}

void TestMPanel::addTextExtFixesWidthAndAlignment()
{
    MPanel panel(Qt::Horizontal, nullptr);
    QLabel *label = panel.addTextExt(QStringLiteral("x"), QStringLiteral("#123456"), 80);
    QCOMPARE(label->minimumWidth(), 80);
    QCOMPARE(label->maximumWidth(), 80);
    QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    QVERIFY(label->styleSheet().contains(QStringLiteral("color:#123456;")));

    QLabel *right = panel.addTextExt(QStringLiteral("y"), QString(), 40, Qt::AlignRight);
    QCOMPARE(right->alignment(), Qt::Alignment(Qt::AlignRight));
}

void TestMPanel::addWidgetAlignsByFlagAndIgnoresNull()
{
    MPanel panel(Qt::Horizontal, nullptr);
    const QList<QPair<int, Qt::Alignment>> cases = {{0, Qt::AlignLeft},
                                                    {1, Qt::AlignCenter},
                                                    {2, Qt::AlignRight},
                                                    {-1, Qt::Alignment()},
                                                    {7, Qt::Alignment()}};
    for (const auto &c : cases) {
        auto *widget = new QWidget(&panel);
        panel.addWidget(widget, c.first);
        const int index = panel.getLayout()->indexOf(widget);
        QVERIFY(index >= 0);
        QCOMPARE(panel.getLayout()->itemAt(index)->alignment(), c.second);
        QCOMPARE(panel.getLayout()->stretch(index), 0);
    }
    QCOMPARE(panel.getSubWidgetList()->size(), cases.size());
    panel.addWidget(nullptr, 1);
    QCOMPARE(panel.getSubWidgetList()->size(), cases.size());
    QCOMPARE(panel.getLayout()->count(), cases.size());
}

void TestMPanel::commandButtonWidthCountsOnlyWidgetsVisibleWhenAdded()
{
    MPanel panel(Qt::Horizontal, nullptr);
    panel.resize(400, 40);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    auto *shown = new QPushButton(QStringLiteral("a"), &panel);
    shown->setGeometry(0, 0, 40, 20);
    shown->show();
    auto *hidden = new QPushButton(QStringLiteral("b"), &panel);
    hidden->setGeometry(0, 0, 70, 20);
    hidden->hide();

    panel.addWidget(hidden);
    QCOMPARE(panel.getCmdButtonWidth(), 0);
    panel.addWidget(shown);
    QCOMPARE(panel.getCmdButtonWidth(), 40);

    // Later size changes do not reach the recorded sum.
    shown->setFixedWidth(100);
    hidden->show();
    QTRY_COMPARE_WITH_TIMEOUT(shown->width(), 100, 2000);
    QCOMPARE(panel.getCmdButtonWidth(), 40);

    // A label made while the panel is shown is not visible yet when it is recorded.
    panel.addText(QStringLiteral("late"), QString());
    QCOMPARE(panel.getCmdButtonWidth(), 40);
}

void TestMPanel::cleanWidgetRemovesAndDeletesRecordedWidgets()
{
    MPanel panel(Qt::Vertical, nullptr);
    panel.cleanWidget();
    QVERIFY(panel.getSubWidgetList()->isEmpty());
    QCOMPARE(panel.getLayout()->count(), 0);

    panel.addSpacing(5);
    QPointer<QLabel> label
        = panel.addText(QStringLiteral("t"), QString(), 9, 0, QStringLiteral("id"));
    QPointer<QWidget> widget = new QWidget(&panel);
    panel.addWidget(widget);
    panel.addLine(1, QStringLiteral("#000000"), 0);
    QCOMPARE(panel.getLayout()->count(), 4);

    panel.cleanWidget();
    QVERIFY(panel.getSubWidgetList()->isEmpty());
    QCOMPARE(panel.getLayout()->count(), 1); // the spacing stays: it is no widget
    QVERIFY(!panel.getTextLabel(QStringLiteral("id")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(label.isNull());
    QVERIFY(widget.isNull());
}

void TestMPanel::addLineBuildsBorderStyleSheet()
{
    MPanel panel(Qt::Vertical, nullptr);
    panel.addLine(2, QStringLiteral("#abcdef"), 0);
    panel.addLine(3, QStringLiteral("red"), 1, Qt::Vertical);
    const QList<QWidget *> lines = *panel.getSubWidgetList();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0]->styleSheet(),
             QStringLiteral("border-bottom-width: 2px;border-bottom-color: #abcdef;"
                            "border-bottom-style: solid;"));
    QCOMPARE(lines[1]->styleSheet(),
             QStringLiteral("border-left-width: 3px;border-left-color: red;"
                            "border-left-style: dashed;"));
}

void TestMPanel::backgroundColourNamesThePanelForItsSelector()
{
    MPanel panel(Qt::Vertical, nullptr);
    panel.setBackgroundColor(QColor());
    QVERIFY(panel.objectName().startsWith(QStringLiteral("XYZ_")));
    QVERIFY(panel.objectName().size() > 4);
    QVERIFY(panel.styleSheet().isEmpty());

    const QString name = panel.objectName();
    panel.setBackgroundColor(QColor(10, 20, 30, 51));
    QCOMPARE(panel.objectName(), name);
    QCOMPARE(panel.styleSheet(),
             QStringLiteral("#%1{background-color:rgba(10,20,30,0.2);}").arg(name));

    MPanel named(Qt::Vertical, nullptr);
    named.setObjectName(QStringLiteral("MyPanel"));
    named.setBackgroundColor(QColor(1, 2, 3));
    QCOMPARE(named.styleSheet(), QStringLiteral("#MyPanel{background-color:rgba(1,2,3,1);}"));
    named.setBackgroundColor(QColor());
    QCOMPARE(named.styleSheet(), QStringLiteral("#MyPanel{background-color:rgba(1,2,3,1);}"));
}

void TestMPanel::borderSetsLayoutMarginsAndIsDrawnOnTheEdges()
{
    MPanel panel(Qt::Vertical, nullptr);
    panel.resize(60, 40);
    panel.setBorder(1, QColor(Qt::blue));
    QCOMPARE(panel.getLayout()->contentsMargins(), QMargins(1, 1, 1, 1));
    const QImage image = renderPanel(panel);
    const QColor blue(Qt::blue);
    QCOMPARE(image.pixelColor(30, 0), blue);
    QCOMPARE(image.pixelColor(59, 20), blue);
    QCOMPARE(image.pixelColor(30, 39), blue);
    QCOMPARE(image.pixelColor(0, 20), blue);
    QCOMPARE(image.pixelColor(30, 20), QColor(Qt::white));
    QCOMPARE(image.pixelColor(30, 1), QColor(Qt::white));

    panel.setBorder(0, QColor(Qt::blue));
    QCOMPARE(panel.getLayout()->contentsMargins(), QMargins(0, 0, 0, 0));
    QVERIFY(areaOf(renderPanel(panel), blue).isNull());

    // An invalid colour keeps the margins but draws nothing.
    panel.setBorder(1, QColor());
    QCOMPARE(panel.getLayout()->contentsMargins(), QMargins(1, 1, 1, 1));
    QCOMPARE(areaOf(renderPanel(panel), QColor(Qt::white)), QRect(0, 0, 60, 40));
}

void TestMPanel::dashedBorderLeavesGaps()
{
    MPanel panel(Qt::Vertical, nullptr);
    panel.resize(60, 40);
    panel.setBorder(1, QColor(Qt::red), 1);
    const QImage image = renderPanel(panel);
    int red = 0;
    int white = 0;
    for (int x = 0; x < 59; ++x)
        (image.pixelColor(x, 0) == QColor(Qt::red) ? red : white)++;
    QVERIFY2(red > 10 && white > 5, qPrintable(QStringLiteral("%1 %2").arg(red).arg(white)));
}

void TestMPanel::imageRectCentresOrStretchesInsideMargins()
{
    // Centred: ((W - 2h - iw) / 2, (H - 2v - ih) / 2), size (iw - 2h) x (ih - 2v).
    QCOMPARE(panelImageRect(QSize(100, 50), QSize(20, 10), 0, 0, 0), QRect(40, 20, 20, 10));
    QCOMPARE(panelImageRect(QSize(100, 50), QSize(20, 10), 2, 3, 0), QRect(37, 18, 14, 6));
    // Larger than the panel: negative offsets.
    QCOMPARE(panelImageRect(QSize(20, 10), QSize(41, 31), 0, 0, 0), QRect(-10, -10, 41, 31));
    // Stretched inside the margins.
    QCOMPARE(panelImageRect(QSize(100, 50), QSize(20, 10), 5, 10, 1), QRect(10, 5, 80, 40));
    QCOMPARE(panelImageRect(QSize(100, 50), QSize(20, 10), 0, 0, -4), QRect(0, 0, 100, 50));
}

void TestMPanel::imageIsDrawnAtComputedOffsetsWithHoverVariant()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString red = writeImage(dir, QStringLiteral("red.png"), QSize(20, 10), Qt::red);
    const QString blue = writeImage(dir, QStringLiteral("blue.png"), QSize(20, 10), Qt::blue);

    MPanel panel(Qt::Vertical, nullptr);
    panel.resize(100, 50);
    panel.setBackgroundImage(QString(), blue);
    QVERIFY2(areaOf(renderPanel(panel), Qt::blue).isNull(), "hover image without normal image");

    panel.setBackgroundImage(red);
    QCOMPARE(areaOf(renderPanel(panel), Qt::red), QRect(40, 20, 20, 10));

    panel.setImageMargin(5, 10);
    panel.setDrawType(1);
    QCOMPARE(panel.drawType(), 1);
    QCOMPARE(areaOf(renderPanel(panel), Qt::red), QRect(10, 5, 80, 40));

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(&panel, &enter);
    QVERIFY(panel.isHovered());
    QImage hovered = renderPanel(panel);
    QCOMPARE(areaOf(hovered, Qt::blue), QRect(10, 5, 80, 40));
    QVERIFY(areaOf(hovered, Qt::red).isNull());

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&panel, &leave);
    QVERIFY(!panel.isHovered());
    QCOMPARE(areaOf(renderPanel(panel), Qt::red), QRect(10, 5, 80, 40));

    // A named file replaces the image even when it cannot be read.
    panel.setBackgroundImage(dir.filePath(QStringLiteral("missing.png")));
    QVERIFY(areaOf(renderPanel(panel), Qt::red).isNull());
}

void TestMPanel::mouseEventsEmitPanelSignals()
{
    MPanel panel(Qt::Vertical, nullptr);
    panel.resize(50, 50);
    QSignalSpy clicked(&panel, &MPanel::clicked);
    QSignalSpy clickAt(&panel, &MPanel::signalMouseClick);
    QSignalSpy moved(&panel, &MPanel::signalMouseEnter);
    int dragLeaves = 0;
    QDragLeaveEvent *leaveEvent = reinterpret_cast<QDragLeaveEvent *>(&panel);
    connect(&panel, &MPanel::onDragLeave, this, [&](QDragLeaveEvent *event) {
        ++dragLeaves;
        leaveEvent = event;
    });

    sendMouse(&panel, QEvent::MouseButtonPress, QPoint(7, 9), Qt::RightButton);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(clickAt.count(), 0);

    sendMouse(&panel, QEvent::MouseButtonPress, QPoint(7, 9), Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clickAt.count(), 1);
    QCOMPARE(clickAt.at(0).at(0).toInt(), 7);
    QCOMPARE(clickAt.at(0).at(1).toInt(), 9);

    // Tracking is off, so moves arrive while a button is held.
    sendMouse(&panel, QEvent::MouseMove, QPoint(8, 9), Qt::LeftButton);
    QCOMPARE(moved.count(), 1);

    sendMouse(&panel, QEvent::MouseButtonRelease, QPoint(8, 9), Qt::LeftButton);
    QCOMPARE(dragLeaves, 1);
    QVERIFY(!leaveEvent);
}

QTEST_MAIN(TestMPanel)
#include "tst_mpanel.moc"
