#include "menus.h"

#include "mconfig.h"
#include "startup.h"

#include <QCoreApplication>

namespace {

QString trMain(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

MenuEntry submenu(const QString &text, QVector<MenuEntry> children)
{
    MenuEntry entry = MenuEntry::action(QString(), text);
    entry.children = std::move(children);
    return entry;
}

MenuEntry item(const char *id, const char *text, bool checkable = false)
{
    return MenuEntry::action(QLatin1String(id), trMain(text), checkable);
}

} // namespace

const QVector<LanguageEntry> &interfaceLanguages()
{
    // Each language under its own name; never translated.
    static const QVector<LanguageEntry> languages = {
        {"English (US)", "en.qm"}, {"Deutsch", "de.qm"},     {"Français", "fr.qm"},
        {"Italiano", "it.qm"},     {"Español", "es.qm"},     {"日本語", "ja.qm"},
        {"한국어", "ko.qm"},       {"Português", "pt.qm"},   {"Русский", "ru.qm"},
        {"Nederlands", "nl.qm"},   {"Polski", "pl.qm"},      {"עברית", "he.qm"},
        {"Suomi", "fi.qm"},        {"Dansk", "da.qm"},       {"Gaeilge", "ga.qm"},
        {"Norsk", "no.qm"},        {"繁體中文", "zh-TW.qm"}, {"简体中文", "zh-CN.qm"},
    };
    return languages;
}

QVector<MenuEntry> settingsMenuEntries()
{
    QVector<MenuEntry> languages;
    for (const LanguageEntry &language : interfaceLanguages()) {
        MenuEntry entry;
        entry.text = QString::fromUtf8(language.name);
        entry.lang = QLatin1String(language.file);
        entry.checkable = true;
        languages.append(entry);
    }
    return {
        MenuEntry::separator(),
        submenu(trMain(QT_TRANSLATE_NOOP("MainWindow", "Language")), languages),
        MenuEntry::separator(),
        item("id_speed", QT_TRANSLATE_NOOP("MainWindow", "Speed Test")),
        submenu(trMain(QT_TRANSLATE_NOOP("MainWindow", "Kill Switch")),
                {item("id_killswitch_off", QT_TRANSLATE_NOOP("MainWindow", "Off"), true),
                 item("id_killswitch_both", QT_TRANSLATE_NOOP("MainWindow", "On"), true),
                 MenuEntry::separator(),
                 item("id_killswitch_disc",
                      QT_TRANSLATE_NOOP("MainWindow", "Block While Disconnected"), true),
                 item("id_killswitch_local",
                      QT_TRANSLATE_NOOP("MainWindow", "Allow Traffic to Local Networks"), true)}),
        MenuEntry::separator(),
        submenu(trMain(QT_TRANSLATE_NOOP("MainWindow", "Support")),
                {item("id_help_desk", QT_TRANSLATE_NOOP("MainWindow", "Helpdesk")),
                 item("id_online", QT_TRANSLATE_NOOP("MainWindow", "Online Help")),
                 item("id_log", QT_TRANSLATE_NOOP("MainWindow", "Open Log")),
                 MenuEntry::separator(),
                 item("id_fix_tap", QT_TRANSLATE_NOOP("MainWindow", "Fix Tap")),
                 item("id_check_ip", QT_TRANSLATE_NOOP("MainWindow", "IP Address Checker")),
                 item("id_dns_leak", QT_TRANSLATE_NOOP("MainWindow", "DNS Leak Test")),
                 MenuEntry::separator(),
                 item("id_about", QT_TRANSLATE_NOOP("MainWindow", "About Quellnet"))}),
        MenuEntry::separator(),
        item("id_tray", QT_TRANSLATE_NOOP("MainWindow", "Run as Tray Icon")),
        item("id_exit", QT_TRANSLATE_NOOP("MainWindow", "Exit")),
    };
}

QVector<MenuEntry> trayMenuEntries()
{
    return {item("id_show_main", QT_TRANSLATE_NOOP("MainWindow", "Show Main Window")),
            item("id_exit", QT_TRANSLATE_NOOP("MainWindow", "Exit"))};
}

void applySettingsChecks(MenuModel *model)
{
    const MConfig &config = *MConfig::instance();
    model->setChecked(QStringLiteral("id_killswitch_off"),
                      config.killSwitch == QLatin1String("id_killswitch_off"));
    model->setChecked(QStringLiteral("id_killswitch_both"),
                      config.killSwitch == QLatin1String("id_killswitch_both"));
    model->setChecked(QStringLiteral("id_killswitch_disc"), config.killSwithDisc == 1);
    model->setChecked(QStringLiteral("id_killswitch_local"), config.killSwithAllLocal >= 0);
    const QString current = normalizedLanguageFile(config.lang);
    for (const LanguageEntry &language : interfaceLanguages()) {
        const QString file = QLatin1String(language.file);
        model->setChecked(file, file.compare(current, Qt::CaseInsensitive) == 0);
    }
}
