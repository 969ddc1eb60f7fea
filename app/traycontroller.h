#pragma once

#include "appservices.h"

#include <QIcon>
#include <QObject>

class QMenu;
class QSystemTrayIcon;

// The tray icon: its picture follows the connection, a click opens its menu, a double click
// asks for the window, balloons only while it is shown. The icon (and the desktop's tray
// service behind it) is made on the first show, not at start. GUI thread only.
class TrayController : public QObject
{
    Q_OBJECT

public:
    TrayController(AppServices services, QMenu *menu, QObject *parent);

    void setConnected(bool connected);
    void show();
    void hide();
    bool isVisible() const;
    // A balloon titled with the application name, only while the icon is shown.
    void showMessage(const QString &text);
    // Made on the first call.
    QSystemTrayIcon *icon();
    QMenu *menu() const { return m_menu; }

signals:
    void restoreRequested();

private:
    QIcon picture();

    AppServices m_services;
    QMenu *m_menu;
    QSystemTrayIcon *m_icon = nullptr;
    bool m_connectedState = false;
    QIcon m_pictures[2]; // disconnected, connected; each read when first shown
};
