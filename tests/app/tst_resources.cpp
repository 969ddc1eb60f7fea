// The compiled-in look: every promised picture loads at its size with a twice-as-large partner
// for 2x screens, the icon files hold every size, the animations play, and both style sheets
// parse and reach the widgets they name. Runs on a 2x screen, where crispness is at stake.

#include "resinit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMovie>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QStyleOption>
#include <QVBoxLayout>
#include <QtTest>

#include <algorithm>
#include <cmath>

// Stand-ins named like the framework classes that the sheets select by type. This test links
// no widget library, so the names are free here.
class MTitleBar : public QWidget
{
    Q_OBJECT
public:
    explicit MTitleBar(QWidget *parent = nullptr)
        : QWidget(parent)
    { }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStyleOption option;
        option.initFrom(this);
        QPainter painter(this);
        style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    }
};

class MBaseDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MBaseDialog(QWidget *parent = nullptr)
        : QDialog(parent)
    { }
};

namespace {

constexpr qreal kScale = 2.0;

QString readResource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString appSheet()
{
    return readResource(QStringLiteral(":/light.qss")) + readResource(QStringLiteral(":/comm.qss"));
}

QString doubleName(const QString &path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

// WCAG relative luminance and contrast ratio.
double luminance(const QColor &c)
{
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool near(const QColor &a, const QColor &b, int tolerance = 3)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// Colour of the widget's own painting at a logical position.
QColor pixelAt(QWidget *widget, const QPoint &logical)
{
    const QImage image = widget->grab().toImage();
    const qreal dpr = image.devicePixelRatio();
    return image.pixelColor(int(logical.x() * dpr), int(logical.y() * dpr));
}

// A picture laid over white, as the title bar shows it, at device size.
QImage overWhite(const QString &path)
{
    QImage picture(path);
    picture.setDevicePixelRatio(1); // an @2x file loads as 2x; compare device pixels
    QImage out(picture.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, picture);
    painter.end();
    return out;
}

int largestChannelDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 256;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

QStringList g_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings << message;
}

// Applies a sheet to the application and polishes a widget, which is when Qt parses it.
QStringList warningsWhenApplied(const QString &sheet)
{
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    qApp->setStyleSheet(sheet);
    QWidget probe;
    probe.setObjectName(QStringLiteral("ContentPanel"));
    QPushButton button(&probe);
    button.setObjectName(QStringLiteral("BTNConnect"));
    probe.ensurePolished();
    button.ensurePolished();
    qInstallMessageHandler(previous);
    return g_warnings;
}

QPushButton *addButton(QWidget *parent, const QString &name, const QString &text = QString())
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    parent->layout()->addWidget(button);
    return button;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void init() { qApp->setStyleSheet(appSheet()); }

    void picturesLoadAtTheirPromisedSize_data();
    void picturesLoadAtTheirPromisedSize();
    void everyResourcePictureLoadsAndDoublesExactly();
    void iconFilesHoldEverySizeWithTransparency_data();
    void iconFilesHoldEverySizeWithTransparency();
    void animationsLoopThroughTwelveTransparentFrames_data();
    void animationsLoopThroughTwelveTransparentFrames();
    void moneyBackBadgeIsAVectorOfItsDisplaySize();
    void brokenSheetIsReported();
    void styleSheetsParseWithoutWarnings_data();
    void styleSheetsParseWithoutWarnings();
    void titleBarButtonsShowTheirDoubleSizePictures();
    void dialogPanelsAreNavyWithReadableButtons();
    void mainWindowPagesAreStyledAndReadable();
};

void TestResources::picturesLoadAtTheirPromisedSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (const char *name : {"min_0", "min_1", "max_0", "max_1", "max_2", "restore_0", "restore_1",
                             "close_0", "close_1"})
        QTest::newRow(name) << QStringLiteral(":/titlebar/btn_%1.png").arg(QLatin1String(name))
                            << QSize(30, 25);
    for (const char *name : {"setting_0", "setting_1"})
        QTest::newRow(name) << QStringLiteral(":/titlebar/btn_%1.png").arg(QLatin1String(name))
                            << QSize(20, 20);
    for (const char *name : {"error", "info", "question"})
        QTest::newRow(name) << QStringLiteral(":/MsgBox/%1.png").arg(QLatin1String(name))
                            << QSize(48, 48);
    for (const char *name : {"main_icon", "main_icon_on"})
        QTest::newRow(name) << QStringLiteral(":/icon/%1.png").arg(QLatin1String(name))
                            << QSize(20, 20);
    for (const char *name : {"circle_0", "circle_1", "circle_3", "gif_0"})
        QTest::newRow(name) << QStringLiteral(":/wnd/%1.png").arg(QLatin1String(name))
                            << QSize(160, 160);
    for (const char *name :
         {"btn_login_0", "btn_login_1", "btn_help_0", "btn_help_1", "btn_home_0", "btn_home_1"})
        QTest::newRow(name) << QStringLiteral(":/wnd/%1.png").arg(QLatin1String(name))
                            << QSize(25, 25);
    for (const char *name : {"check_0", "check_1"})
        QTest::newRow(name) << QStringLiteral(":/wnd/%1.png").arg(QLatin1String(name))
                            << QSize(16, 16);
}

void TestResources::picturesLoadAtTheirPromisedSize()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    const QPixmap plain(path);
    QVERIFY2(!plain.isNull(), qPrintable(path));
    QCOMPARE(plain.size(), size);

    const QPixmap doubled(doubleName(path));
    QVERIFY2(!doubled.isNull(), qPrintable(doubleName(path)));
    QCOMPARE(doubled.size(), size * 2);

    // QIcon finds the @2x partner by itself: what the widgets should use for a crisp picture.
    const QPixmap viaIcon = QIcon(path).pixmap(size);
    QCOMPARE(viaIcon.devicePixelRatio(), kScale);
    QCOMPARE(viaIcon.size(), size * 2);
    QCOMPARE(viaIcon.toImage().convertToFormat(QImage::Format_ARGB32),
             doubled.toImage().convertToFormat(QImage::Format_ARGB32));

    // Never an empty square: something is drawn, on a transparent ground.
    const QImage image = plain.toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) > 200 ? 1 : 0;
    QVERIFY2(opaque > 4, qPrintable(path));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void TestResources::everyResourcePictureLoadsAndDoublesExactly()
{
    const QSet<QString> pictureSuffixes{QStringLiteral("png"), QStringLiteral("ico"),
                                        QStringLiteral("gif"), QStringLiteral("svg")};
    const QStringList needDouble{QStringLiteral(":/titlebar/"), QStringLiteral(":/MsgBox/"),
                                 QStringLiteral(":/icon/"), QStringLiteral(":/wnd/")};
    int pictures = 0;
    QDirIterator it(QStringLiteral(":/"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.startsWith(QLatin1String(":/qt-project.org")))
            continue;
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (!pictureSuffixes.contains(suffix))
            continue;
        ++pictures;
        QImageReader reader(path);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(path + QStringLiteral(": ") + reader.errorString()));

        const bool isDouble = path.contains(QLatin1String("@2x."));
        if (isDouble) {
            const QString base = QString(path).remove(QStringLiteral("@2x"));
            const QSize baseSize = QImageReader(base).size();
            QVERIFY2(baseSize.isValid(), qPrintable(base));
            QCOMPARE(image.size(), baseSize * 2);
        } else if (suffix == QLatin1String("png")) {
            bool inDoubledFolder = false;
            for (const QString &folder : needDouble)
                inDoubledFolder = inDoubledFolder || path.startsWith(folder);
            if (inDoubledFolder)
                QVERIFY2(QFile::exists(doubleName(path)), qPrintable(path));
        }
    }
    // 28 pictures and their doubles, two icon files, two animations, one badge.
    QVERIFY2(pictures >= 61, qPrintable(QString::number(pictures)));
}

void TestResources::iconFilesHoldEverySizeWithTransparency_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("green");
    QTest::newRow("normal") << QStringLiteral(":/icon/ico_main.ico") << false;
    QTest::newRow("connected") << QStringLiteral(":/icon/main_icon_on.ico") << true;
}

void TestResources::iconFilesHoldEverySizeWithTransparency()
{
    QFETCH(QString, path);
    QFETCH(bool, green);

    const QList<int> expected{16, 24, 32, 48, 64, 256};
    QImageReader reader(path);
    QCOMPARE(reader.imageCount(), expected.size());
    QList<int> found;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        const int s = image.width();
        found << s;
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(s - 1, s - 1)), 0);
        // The shield just below its top: blue normally, green when connected.
        const QColor shield = image.pixelColor(s / 2, int(s * 0.14 + 0.5));
        QCOMPARE(shield.alpha(), 255);
        if (green)
            QVERIFY2(shield.green() > shield.blue() + 40, qPrintable(shield.name()));
        else
            QVERIFY2(shield.blue() > shield.green() + 40, qPrintable(shield.name()));
    }
    std::sort(found.begin(), found.end());
    QCOMPARE(found, expected);

    // Window and tray icons are QIcons of the file: all sizes must reach them.
    const QList<QSize> sizes = QIcon(path).availableSizes();
    for (int s : expected)
        QVERIFY2(sizes.contains(QSize(s, s)), qPrintable(QString::number(s)));
}

void TestResources::animationsLoopThroughTwelveTransparentFrames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QTest::newRow("loading") << QStringLiteral(":/wnd/loading.gif") << 120;
    QTest::newRow("inner") << QStringLiteral(":/Skin/loading_inner.gif") << 32;
}

void TestResources::animationsLoopThroughTwelveTransparentFrames()
{
    QFETCH(QString, path);
    QFETCH(int, size);

    QMovie movie(path);
    QVERIFY(movie.isValid());
    QCOMPARE(movie.frameCount(), 12);
    QCOMPARE(movie.loopCount(), -1);
    QImage previous;
    for (int i = 0; i < movie.frameCount(); ++i) {
        QVERIFY(movie.jumpToFrame(i));
        QVERIFY(movie.nextFrameDelay() > 0);
        const QImage frame = movie.currentImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(frame.size(), QSize(size, size));
        QCOMPARE(qAlpha(frame.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(frame.pixel(size / 2, size / 2)), 0);
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                opaque += qAlpha(frame.pixel(x, y)) == 255 ? 1 : 0;
        QVERIFY(opaque > size);
        QVERIFY2(frame != previous, "the spinner must move from frame to frame");
        previous = frame;
    }
}

void TestResources::moneyBackBadgeIsAVectorOfItsDisplaySize()
{
    const QString path = QStringLiteral(":/wnd/money-back-software.svg");
    QImageReader reader(path);
    QCOMPARE(reader.size(), QSize(220, 51));
    // Drawn at twice the size for a 2x screen it must still be a full picture.
    reader.setScaledSize(QSize(440, 102));
    const QImage big = reader.read();
    QCOMPARE(big.size(), QSize(440, 102));
    QCOMPARE(big.pixelColor(52, 51).alpha(), 255); // inside the seal
}

void TestResources::brokenSheetIsReported()
{
    // Proves the detector below: Qt does warn about a sheet it cannot read.
    const QStringList warnings = warningsWhenApplied(QStringLiteral("QWidget { color: red; "));
    QVERIFY2(warnings.join(QLatin1Char('\n')).contains(QLatin1String("Could not parse")),
             qPrintable(warnings.join(QLatin1Char('\n'))));
}

void TestResources::styleSheetsParseWithoutWarnings_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::newRow("light") << readResource(QStringLiteral(":/light.qss"));
    QTest::newRow("comm") << readResource(QStringLiteral(":/comm.qss"));
    QTest::newRow("application") << appSheet();
}

void TestResources::styleSheetsParseWithoutWarnings()
{
    QFETCH(QString, sheet);
    QVERIFY(sheet.size() > 1000);
    const QStringList warnings = warningsWhenApplied(sheet);
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

void TestResources::titleBarButtonsShowTheirDoubleSizePictures()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *bar = new MTitleBar(&window);
    bar->setObjectName(QStringLiteral("MTitleBar"));
    bar->setFixedSize(200, 33);
    layout->addWidget(bar);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 2, 2, 2);
    row->addStretch();
    auto *title = new QLabel(QStringLiteral("Quellnet"), bar);
    title->setObjectName(QStringLiteral("MainTitleBar_Title"));
    row->insertWidget(0, title);
    QPushButton *buttons[3];
    const char *names[] = {"MainTitleBar_Min", "MainTitleBar_Max", "MainTitleBar_Close"};
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new QPushButton(bar);
        buttons[i]->setObjectName(QLatin1String(names[i]));
        buttons[i]->setFlat(true);
        buttons[i]->setFixedSize(30, 25);
        row->addWidget(buttons[i]);
    }
    buttons[1]->setEnabled(false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(near(pixelAt(bar, QPoint(100, 3)), Qt::white, 0));
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0x1e, 0x1e, 0x1e));

    // Pixel for pixel the @2x picture, not the 1x one blown up.
    const QImage minimise = buttons[0]->grab().toImage();
    QCOMPARE(minimise.size(), QSize(60, 50));
    QCOMPARE(largestChannelDifference(minimise,
                                      overWhite(QStringLiteral(":/titlebar/btn_min_0@2x.png"))),
             0);
    QCOMPARE(largestChannelDifference(buttons[1]->grab().toImage(),
                                      overWhite(QStringLiteral(":/titlebar/btn_max_2@2x.png"))),
             0);
    QCOMPARE(largestChannelDifference(buttons[2]->grab().toImage(),
                                      overWhite(QStringLiteral(":/titlebar/btn_close_0@2x.png"))),
             0);
}

void TestResources::dialogPanelsAreNavyWithReadableButtons()
{
    MBaseDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *panel = new QWidget(&dialog);
    panel->setObjectName(QStringLiteral("DialogPanel"));
    panel->setFixedSize(360, 120);
    layout->addWidget(panel);
    auto *inner = new QVBoxLayout(panel);
    auto *label = new QLabel(QStringLiteral("Your account has expired."), panel);
    inner->addWidget(label);
    auto *later = addButton(panel, QStringLiteral("BtnDialog"), QStringLiteral("Later"));
    auto *buy = addButton(panel, QStringLiteral("BtnBuyNow"), QStringLiteral("Buy Now"));
    later->setFixedSize(100, 25);
    buy->setFixedSize(100, 25);

    MBaseDialog box;
    box.setObjectName(QStringLiteral("MessageBoxPanel"));
    auto *boxLayout = new QVBoxLayout(&box);
    auto *boxPanel = new QWidget(&box);
    boxPanel->setObjectName(QStringLiteral("DialogPanel"));
    boxLayout->addWidget(boxPanel);
    new QVBoxLayout(boxPanel);
    auto *yes = addButton(boxPanel, QStringLiteral("BtnDefault"), QStringLiteral("Yes"));
    yes->setFixedSize(100, 25);

    dialog.show();
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    const QColor navy(0x20, 0x26, 0x35);
    QVERIFY(near(pixelAt(panel, QPoint(350, 110)), navy, 0));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(contrast(Qt::white, navy) > 12);

    // Ordinary dialog button: surface face, white text; "Buy Now" green.
    const QColor surface(0x2d, 0x36, 0x4c);
    QVERIFY(near(pixelAt(later, QPoint(4, 12)), surface, 0));
    QCOMPARE(later->palette().color(QPalette::ButtonText), QColor(Qt::white));
    QVERIFY(near(pixelAt(buy, QPoint(4, 12)), QColor(12, 183, 84), 0));
    QCOMPARE(buy->palette().color(QPalette::ButtonText), QColor(Qt::white));

    // Message box buttons write in rgb(22,22,22): their face must be light enough to read it.
    const QColor text = yes->palette().color(QPalette::ButtonText);
    QCOMPARE(text, QColor(22, 22, 22));
    const QColor face = pixelAt(yes, QPoint(4, 12));
    QVERIFY2(contrast(text, face) >= 7, qPrintable(face.name()));
}

void TestResources::mainWindowPagesAreStyledAndReadable()
{
    QWidget window;
    window.setObjectName(QStringLiteral("MainWindow"));
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *page = new QWidget(&window);
    page->setObjectName(QStringLiteral("ContentPanel"));
    page->setFixedSize(322, 420);
    layout->addWidget(page);
    auto *pageLayout = new QVBoxLayout(page);
    auto *label = new QLabel(QStringLiteral("Email:"), page);
    pageLayout->addWidget(label);
    auto *edit = new QLineEdit(QStringLiteral("someone@example.org"), page);
    pageLayout->addWidget(edit);
    auto *check = new QCheckBox(QStringLiteral("Login automatically"), page);
    pageLayout->addWidget(check);
    auto *connect = addButton(page, QStringLiteral("BTNConnect"), QStringLiteral("Connect"));
    auto *buy = addButton(page, QStringLiteral("BTNBuy"), QStringLiteral("Premium"));
    auto *list = new QListWidget(page);
    list->setObjectName(QStringLiteral("ServerList"));
    list->addItem(QStringLiteral("Frankfurt"));
    pageLayout->addWidget(list);
    auto *statusBar = new QStatusBar(&window);
    auto *status = new QLabel(QStringLiteral("Ready to Connect"), statusBar);
    status->setObjectName(QStringLiteral("LbDisplay"));
    statusBar->addWidget(status);
    layout->addWidget(statusBar);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Page text on the page's dark ground (checked at the ground's lightest point, the top).
    const QColor ground = pixelAt(page, QPoint(300, 2));
    QVERIFY2(luminance(ground) < 0.05, qPrintable(ground.name()));
    QVERIFY(contrast(label->palette().color(QPalette::WindowText), ground) >= 7);
    QVERIFY(contrast(check->palette().color(QPalette::WindowText), ground) >= 7);

    const QColor field = pixelAt(edit, QPoint(edit->width() - 4, edit->height() / 2));
    QVERIFY(contrast(edit->palette().color(QPalette::Text), field) >= 7);

    // The connect pill starts cyan; the buy button is the green of every purchase action.
    QVERIFY(connect->height() >= 40);
    const QColor pill = pixelAt(connect, QPoint(connect->width() / 2, connect->height() / 2 - 12));
    QVERIFY2(pill.blue() > 180 && pill.green() > 110 && pill.red() < 90, qPrintable(pill.name()));
    QCOMPARE(connect->palette().color(QPalette::ButtonText), QColor(Qt::white));
    QVERIFY(near(pixelAt(buy, QPoint(buy->width() / 2, 3)), QColor(12, 183, 84), 0));

    // Server rows write in rgb(22,22,22) on a light card.
    const QColor card = pixelAt(
        list->viewport(), QPoint(list->viewport()->width() - 4, list->viewport()->height() - 4));
    QVERIFY2(contrast(QColor(22, 22, 22), card) >= 7, qPrintable(card.name()));

    const QColor bar = pixelAt(statusBar, QPoint(statusBar->width() - 2, statusBar->height() / 2));
    QVERIFY(contrast(status->palette().color(QPalette::WindowText), bar) >= 7);
}

int main(int argc, char *argv[])
{
    // Everything is checked on a 2x screen, where a missing @2x picture would show.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    quellnetInitResources();
    TestResources test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_resources.moc"
