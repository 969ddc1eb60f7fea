#pragma once

#include <QString>

// The operating-system facts and actions the portable code needs. One implementation file
// per platform (mplatform_linux.cpp); callers never test the platform themselves.
namespace Platform {

// The processor's identifier and name, as "CPU ID:<id> ,CPU Name:<name>".
QString cpuDetails();
int processorCount();
// Processor type, level (family) and revision, as one line for the start-up report.
QString processorType();
quint64 physicalMemoryMB();
int memoryLoadPercent();
QString osProductType();
QString osProductVersion();
// Opens the file manager on path; selects the file when isFile. Detached; never blocks.
void showInFileManager(const QString &canonicalPath, bool isFile);

} // namespace Platform
