#include "systemmenucontrol.h"

// X11 and Wayland windows have no system menu to bridge: every event passes on.

bool SystemMenuControl::nativeEventFilter(const QByteArray &eventType, void *message, long *result)
{
    Q_UNUSED(eventType)
    Q_UNUSED(message)
    Q_UNUSED(result)
    return false;
}

bool SystemMenuControl::popupSystemMenu(QWidget *mainWindow, const QPoint &globalPos)
{
    Q_UNUSED(mainWindow)
    Q_UNUSED(globalPos)
    return false;
}
