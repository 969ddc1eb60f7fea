#include "privatefile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ensurePrivateFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // An older file may have been made with wider permissions.
    const bool ok = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    return ok;
}
