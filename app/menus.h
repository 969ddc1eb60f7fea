#pragma once

#include "menumodel.h"

// The entries of the title bar's settings menu and of the tray icon's menu.
QVector<MenuEntry> settingsMenuEntries();
QVector<MenuEntry> trayMenuEntries();

// The interface languages: each one's own name and its translation file.
struct LanguageEntry
{
    const char *name;
    const char *file;
};
const QVector<LanguageEntry> &interfaceLanguages();

// The check marks the settings store asks for: kill-switch entries and the current language.
void applySettingsChecks(MenuModel *model);
