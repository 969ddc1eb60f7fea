#include "traycontroller.h"

#include "mconfig.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

TrayController::TrayController(AppServices services, QMenu *menu, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_menu(menu)
{ }

QSystemTrayIcon *TrayController::icon()
{
    if (m_icon)
        return m_icon;
    m_icon = new QSystemTrayIcon(picture(), this);
    m_icon->setToolTip(tr("Double click to active program,right click to popup menu"));
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    m_menu->popup(QCursor::pos());
                else if (reason == QSystemTrayIcon::DoubleClick)
                    emit restoreRequested();
            });
    return m_icon;
}

QIcon TrayController::picture()
{
    // QIcon decodes every size a file holds: each is read when it is first shown.
    QIcon &picture = m_pictures[m_connectedState ? 1 : 0];
    if (picture.isNull()) {
        picture = QIcon(m_connectedState ? QStringLiteral(":/icon/main_icon_on.ico")
                                         : QStringLiteral(":/icon/ico_main.ico"));
    }
    return picture;
}

void TrayController::setConnected(bool connected)
{
    if (connected == m_connectedState)
        return;
    m_connectedState = connected;
    if (m_icon)
        m_icon->setIcon(picture());
}

void TrayController::show()
{
    icon()->show();
}

void TrayController::hide()
{
    if (m_icon)
        m_icon->hide();
}

bool TrayController::isVisible() const
{
    return m_icon && m_icon->isVisible();
}

void TrayController::showMessage(const QString &text)
{
    if (!isVisible())
        return;
    const QString title = MConfig::instance()->appName;
    if (m_services.trayMessage)
        m_services.trayMessage(title, text);
    else
        m_icon->showMessage(title, text, QSystemTrayIcon::Information, 10000);
}
