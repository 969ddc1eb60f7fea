#include "mwidgetutils.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void ShowInCenter(QWidget *widget)
{
    if (!widget)
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desk = screen->geometry();
    widget->move(desk.x() + desk.width() / 2 - widget->width() / 2,
                 desk.y() + desk.height() / 2 - widget->height() / 2);
}

void ShowInCenterEx(QWidget *widget, QWidget *parent)
{
    if (!widget)
        return;
    if (!parent) {
        ShowInCenter(widget);
        return;
    }
    // A window is placed in screen coordinates, a child in its parent's.
    const QRect area = widget->isWindow() ? QRect(parent->mapToGlobal(QPoint(0, 0)), parent->size())
                                          : parent->rect();
    widget->move(area.x() + area.width() / 2 - widget->width() / 2,
                 area.y() + area.height() / 2 - widget->height() / 2);
}
