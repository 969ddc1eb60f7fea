#include "menus.h"

#include <QCoreApplication>

namespace {

QString trMain(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

} // namespace

QVector<MenuEntry> settingsMenuEntries()
{
    MenuEntry support = MenuEntry::action(QString(), trMain("Support"));
    support.children = {MenuEntry::action(QStringLiteral("id_about"), trMain("About Quellnet"))};
    return {support, MenuEntry::separator(),
            MenuEntry::action(QStringLiteral("id_tray"), trMain("Run as Tray Icon")),
            MenuEntry::action(QStringLiteral("id_exit"), trMain("Exit"))};
}

QVector<MenuEntry> trayMenuEntries()
{
    return {MenuEntry::action(QStringLiteral("id_show_main"), trMain("Show Main Window")),
            MenuEntry::action(QStringLiteral("id_exit"), trMain("Exit"))};
}
