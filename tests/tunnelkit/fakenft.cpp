// Stands in for nft in the engine's tests: takes `-f -`, appends the script it was given to
// the file "record" in TUNNELKIT_FAKE_DIR and fails when the script contains the text of the
// file "nft-fail-on" there.
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().mid(1) != QStringList{QStringLiteral("-f"), QStringLiteral("-")})
        return 2;
    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    const QByteArray script = in.readAll();
    const QDir dir(qEnvironmentVariable("TUNNELKIT_FAKE_DIR"));
    QFile record(dir.filePath(QStringLiteral("record")));
    if (record.open(QIODevice::Append))
        record.write("nft-begin\n" + script + "nft-end\n");
    QFile failOn(dir.filePath(QStringLiteral("nft-fail-on")));
    if (failOn.open(QIODevice::ReadOnly) && script.contains(failOn.readAll())) {
        std::fprintf(stderr, "Error: fake nft refuses this script\n");
        return 1;
    }
    return 0;
}
