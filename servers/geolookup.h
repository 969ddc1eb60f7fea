#pragma once

#include <QString>

// Country of a public IPv4 address from the geo-IP database (file-index search, the file
// opened and closed per call). Runs on the calling thread.
//
// Returns the trimmed first "|"-separated part of the region text, or "unknown" when the
// database cannot be opened or the address is in no range. Unless the database could not be
// opened, `address` receives the region text with "|" replaced by "," (empty when not found).
QString lookupCountry(const QString &dbPath, const QString &ip, QString &address);
// The same with the database geoDatabasePath(appDir()) names.
QString lookupCountry(const QString &ip, QString &address);

// "ip.db" beside the program (build folder, demo), else the installed
// "<programDir>/../share/quellnet/ip.db"; the first when neither exists.
QString geoDatabasePath(const QString &programDir);
