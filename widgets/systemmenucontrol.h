#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPoint>

class QWidget;

// Bridges the native system menu of the window behind a title bar: the menu opened from
// the icon, three extra commands (ids 2024 to 2026) reported through triggered(), and a
// double click on the icon closing the window. Disabled until setEnabled(true), which also
// registers it with the application; platforms without a system menu pass every event on.
class SystemMenuControl
    : public QObject
    , public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    SystemMenuControl(QWidget *titleBar, QWidget *mainWindow);
    ~SystemMenuControl() override;

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // Remembers when the icon opened the menu (milliseconds of a monotonic clock).
    void recordIconPress();
    qint64 lastIconPress() const { return m_iconPressTick; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

    // Opens mainWindow's native system menu at globalPos; false where there is none.
    static bool popupSystemMenu(QWidget *mainWindow, const QPoint &globalPos);

signals:
    void triggered(int id);

private:
    QWidget *m_titleBar = nullptr;
    QWidget *m_mainWindow = nullptr;
    bool m_enabled = false;
    qint64 m_iconPressTick = 0;
};
