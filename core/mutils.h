#pragma once

#include <QString>

// Free helpers shared by the whole program. They hold no state of their own and report
// failures through their results and the log. Window-centring helpers live in widgets/.

QString appDir();
QString getVer();
float Ratio();
double DPIRatio();

void MakeDir(const QString &path, bool recursive);
QString ReadFileX(const QString &path);
bool SaveFile(const QString &path, const QString &text);
bool SaveFile(const QString &path, const QString &text, QString &error);

bool StrEquals(const QString &a, const QString &b);
// Appends the interface language as "lang=" to web-page addresses.
QString UrlWithLang(const QString &url);

// uuidBased: 10 upper-case hexadecimal characters; otherwise a random 32-bit number as text.
QString Rand(bool uuidBased);
// Uniform in [lower, upper); bounds may come in either order; equal bounds give that value.
int RandRange(int lower, int upper);

QString GetMacAddress();
QString getCPUDetails();
// First free path folder/pattern(%1 = counter, counter + 1, ...); counter is left at the
// value used.
QString getFile(const QString &folder, const QString &pattern, int &counter);
void ShowInFolder(const QString &path);
