#pragma once

#include "appservices.h"

#include <QIcon>
#include <QObject>

class QMenu;
class QSystemTrayIcon;

// The tray icon: its picture follows the connection, a click opens its menu, a double click
// asks for the window, balloons only while it is shown. GUI thread only.
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
    QSystemTrayIcon *icon() const { return m_icon; }
    QMenu *menu() const { return m_menu; }

signals:
    void restoreRequested();

private:
    AppServices m_services;
    QMenu *m_menu;
    QSystemTrayIcon *m_icon;
    QIcon m_normal;
    QIcon m_connected;
};
