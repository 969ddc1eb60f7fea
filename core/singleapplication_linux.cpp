#include "singleapplication.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

QByteArray SingleApplicationOs::userName()
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    struct passwd entry;
    struct passwd *found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found
        && found->pw_name)
        return QByteArray(found->pw_name);
    // Without a password-database entry (some containers) the login variable is all there is.
    return qgetenv("USER");
}

bool SingleApplicationOs::processAlive(qint64 pid)
{
    // 0 and negative values would address process groups.
    if (pid <= 0 || pid == qint64(::getpid()) || pid != qint64(pid_t(pid)))
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

bool SingleApplicationOs::restrictToOwner(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::lstat(native.constData(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) == 0)
        return true;
    return ::chmod(native.constData(), S_IRUSR | S_IWUSR) == 0;
}

QString SingleApplicationOs::socketPath(const QString &name)
{
    const auto fits = [](const QString &path) {
        return size_t(QFile::encodeName(path).size()) < sizeof(sockaddr_un::sun_path);
    };
    QStringList folders;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo runtimeInfo(runtime);
    if (!runtime.isEmpty() && runtimeInfo.isDir() && runtimeInfo.ownerId() == ::getuid())
        folders << runtime;
    folders << QDir::tempPath() << QStringLiteral("/tmp");
    for (const QString &folder : folders) {
        const QString path = folder + QLatin1Char('/') + name;
        if (fits(path))
            return path;
    }
    return folders.last() + QLatin1Char('/') + name;
}
