#pragma once

#include <QString>

// Start at login, the desktop's way: an autostart entry for the program.
// On Linux the freedesktop entry "$XDG_CONFIG_HOME/autostart/quellnet.desktop".

// Writes the entry for program (a full path), enabled; false on a write failure.
bool enableLaunchAtLogin(const QString &program);
// Keeps the entry but marks it disabled; false on a write failure.
bool disableLaunchAtLogin();
// True when an enabled entry names a program file that exists.
bool launchAtLoginEnabled();
// Where the entry lives.
QString launchAtLoginFile();
