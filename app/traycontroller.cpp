#include "traycontroller.h"

#include "mconfig.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

TrayController::TrayController(AppServices services, QMenu *menu, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_menu(menu)
    , m_normal(QStringLiteral(":/icon/ico_main.ico"))
    , m_connected(QStringLiteral(":/icon/main_icon_on.ico"))
{
    m_icon = new QSystemTrayIcon(m_normal, this);
    m_icon->setToolTip(tr("Double click to active program,right click to popup menu"));
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    m_menu->popup(QCursor::pos());
                else if (reason == QSystemTrayIcon::DoubleClick)
                    emit restoreRequested();
            });
}

void TrayController::setConnected(bool connected)
{
    m_icon->setIcon(connected ? m_connected : m_normal);
}

void TrayController::show()
{
    m_icon->show();
}

void TrayController::hide()
{
    m_icon->hide();
}

bool TrayController::isVisible() const
{
    return m_icon->isVisible();
}

void TrayController::showMessage(const QString &text)
{
    if (!m_icon->isVisible())
        return;
    const QString title = MConfig::instance()->appName;
    if (m_services.trayMessage)
        m_services.trayMessage(title, text);
    else
        m_icon->showMessage(title, text, QSystemTrayIcon::Information, 10000);
}
