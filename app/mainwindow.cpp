#include "mainwindow.h"

#include "mconfig.h"
#include "mutils.h"
#include "mwidgetutils.h"

MainWindow *MainWindow::instance(QWidget *parent)
{
    // Owned by nobody on purpose: it lives until the process ends.
    static MainWindow *window = new MainWindow(parent);
    return window;
}

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(MConfig::instance()->appName);
    setFixedSize(int(322 * Ratio()), int(500 * Ratio()));

    const MConfig &config = *MConfig::instance();
    if (config.mainWndX == 0 && config.mainWndY == 0)
        ShowInCenter(this);
    else
        move(config.mainWndX, config.mainWndY);
}
