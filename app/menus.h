#pragma once

#include "menumodel.h"

// The entries of the title bar's settings menu and of the tray icon's menu.
QVector<MenuEntry> settingsMenuEntries();
QVector<MenuEntry> trayMenuEntries();
