#pragma once

#include <QString>

// Makes sure `path` exists and only its owner may read or write it, without the file ever
// existing with wider permissions. False when the file cannot be created or restricted.
bool ensurePrivateFile(const QString &path);
