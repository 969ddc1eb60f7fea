#include "systemmenucontrol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

SystemMenuControl::SystemMenuControl(QWidget *titleBar, QWidget *mainWindow)
    : QObject(titleBar)
    , m_titleBar(titleBar)
    , m_mainWindow(mainWindow)
{ }

SystemMenuControl::~SystemMenuControl()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

void SystemMenuControl::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    if (enabled)
        app->installNativeEventFilter(this);
    else
        app->removeNativeEventFilter(this);
}

void SystemMenuControl::recordIconPress()
{
    QElapsedTimer clock;
    clock.start();
    m_iconPressTick = clock.msecsSinceReference();
}
