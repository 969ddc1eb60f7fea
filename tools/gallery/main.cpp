// Widget gallery: every framework widget and dialog on one screen, styled by the application
// style sheets, so the look can be reviewed from one screenshot.
//
//   quellnet_gallery [--screenshot FILE] [--delay MS]

#include "galleryframe.h"
#include "gallerywindows.h"
#include "mutils.h"
#include "qballoontip.h"
#include "resinit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quellnet_gallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Shows every framework widget and dialog."));
    parser.addHelpOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QCoreApplication::translate("main", "Grab the whole screen into FILE, then quit."),
        QStringLiteral("FILE"));
    const QCommandLineOption delay(
        QStringLiteral("delay"),
        QCoreApplication::translate("main", "Milliseconds to wait before the grab (1500)."),
        QStringLiteral("MS"), QStringLiteral("1500"));
    parser.addOption(screenshot);
    parser.addOption(delay);
    parser.process(app);

    quellnetInitResources();
    app.setStyleSheet(ReadFileX(QStringLiteral(":/light.qss"))
                      + ReadFileX(QStringLiteral(":/comm.qss")));

    GalleryFrame frame;
    frame.setGeometry(16, 16, 560, 868);
    frame.show();
    GalleryWindows::showBeside(&frame);

    if (parser.isSet(screenshot)) {
        const QString file = parser.value(screenshot);
        // Long enough for the dialogs' 300 ms fade-in and the balloon.
        const int wait = qMax(500, parser.value(delay).toInt());
        QTimer::singleShot(wait, &app, [file] {
            QScreen *screen = QGuiApplication::primaryScreen();
            const bool saved = screen && screen->grabWindow(0).save(file, "PNG");
            if (!saved)
                std::fprintf(stderr, "quellnet_gallery: cannot save %s\n", qPrintable(file));
            QBalloonTip::hideBalloon();
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    const int code = app.exec();
    QBalloonTip::hideBalloon();
    return code;
}
