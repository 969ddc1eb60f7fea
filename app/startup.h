#pragma once

#include <QString>
#include <QStringList>

class QApplication;

// The entry point's steps, kept out of main() so that tests can drive them.

// Returns true for a normal start, false when a maintenance switch was handled and the
// process is to end (with exit code 0).
bool handleCommandLine(QApplication &app, const QStringList &arguments);
QString languageFileForName(const QString &name);
// The stored language file with the three repairs the translator needs.
QString normalizedLanguageFile(const QString &lang);
void logEnvironment();
void sendStartupEvents();
// Loads the translation for lang from ":/lang/" into a translator installed on the
// application; logs "Load Lang Failed:" when there is none.
void installTranslation(QApplication &app, const QString &lang);
