#include "singleapplication.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QElapsedTimer>
#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QRandomGenerator>
#include <QSharedMemory>
#include <QThread>

#include <cstddef>
#include <cstring>

namespace {

// The shared block; its layout is shared with other builds of the program, so it is fixed.
struct InstancesInfo
{
    bool primary;
    quint32 secondary;
    qint64 primaryPid;
    quint16 checksum;
};
static_assert(sizeof(InstancesInfo) == 24, "the shared block is 24 bytes");
static_assert(offsetof(InstancesInfo, checksum) == 16, "the checksum follows 16 bytes");

enum ConnectionType : qint8 {
    InvalidConnection = 0,
    NewInstance = 1,
    SecondaryInstance = 2,
    Reconnect = 3
};
enum ConnectionStage { StageHeader = 0, StageBody = 1, StageConnected = 2 };

struct ConnectionInfo
{
    quint64 msgLen = 0;
    quint32 instanceId = 0;
    ConnectionStage stage = StageHeader;
};

// Stream version 17, so that every build reads every other build's announcement.
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_5_6;
constexpr qint64 kInconsistentLimitMs = 5000;
// An announcement is some 60 bytes; anything far larger is not one.
constexpr quint64 kMaxBodyBytes = 64 * 1024;

} // namespace

class SingleApplicationPrivate : public QObject
{
    Q_OBJECT

public:
    SingleApplicationPrivate(SingleApplication *q, SingleApplication::Options options, int timeout)
        : QObject(q)
        , q(q)
        , options(options)
        , timeout(timeout)
    { }
    ~SingleApplicationPrivate() override;

    void genBlockServerName();
    InstancesInfo *info() const { return static_cast<InstancesInfo *>(memory->data()); }
    quint16 blockChecksum() const
    {
        return qChecksum(static_cast<const char *>(memory->constData()),
                         offsetof(InstancesInfo, checksum));
    }
    void initializeMemoryBlock()
    {
        std::memset(memory->data(), 0, sizeof(InstancesInfo));
        info()->primaryPid = -1;
        info()->checksum = blockChecksum();
    }
    void start(bool allowSecondary);
    void startPrimary();
    bool connectToPrimary();
    bool announce(ConnectionType type);
    void newConnections();
    void readyRead(QLocalSocket *sock);
    void readHeader(QLocalSocket *sock);
    void readBody(QLocalSocket *sock);

    SingleApplication *q;
    QSharedMemory *memory = nullptr;
    QLocalSocket *socket = nullptr;
    QLocalServer *server = nullptr;
    QString blockServerName;
    QString socketPath;
    SingleApplication::Options options;
    int timeout;
    quint32 instanceNumber = 0;
    int exitCode = -1;
    bool primary = false;
    bool secondary = false;
    QHash<QLocalSocket *, ConnectionInfo> connectionMap;
};

SingleApplicationPrivate::~SingleApplicationPrivate()
{
    delete socket;
    if (!memory || !memory->isAttached())
        return;
    memory->lock();
    if (primary) {
        delete server;
        server = nullptr;
        // A successor that took over from us owns the block now.
        if (info()->primaryPid == QCoreApplication::applicationPid()) {
            info()->primary = false;
            info()->primaryPid = -1;
            info()->checksum = blockChecksum();
        }
    }
    memory->unlock();
    memory->detach();
}

void SingleApplicationPrivate::genBlockServerName()
{
    QCryptographicHash appData(QCryptographicHash::Sha256);
    appData.addData("SingleApplication", 17);
    appData.addData(QCoreApplication::applicationName().toUtf8());
    appData.addData(QCoreApplication::organizationName().toUtf8());
    appData.addData(QCoreApplication::organizationDomain().toUtf8());
    if (!options.testFlag(SingleApplication::ExcludeAppVersion))
        appData.addData(QCoreApplication::applicationVersion().toUtf8());
    if (!options.testFlag(SingleApplication::ExcludeAppPath))
        appData.addData(QCoreApplication::applicationFilePath().toLower().toUtf8());
    if (options.testFlag(SingleApplication::User))
        appData.addData(SingleApplicationOs::userName());
    blockServerName = QString::fromLatin1(appData.result().toBase64().replace('/', '_'));
    socketPath = SingleApplicationOs::socketPath(blockServerName);
}

void SingleApplicationPrivate::start(bool allowSecondary)
{
    memory = new QSharedMemory(blockServerName, this);
    if (memory->create(sizeof(InstancesInfo))) {
        memory->lock();
        initializeMemoryBlock();
        memory->unlock();
    } else if (!memory->attach() || memory->size() < int(sizeof(InstancesInfo))) {
        qCritical() << "SingleApplication: Unable to attach to shared memory block."
                    << memory->errorString();
        exitCode = 1;
        return;
    }

    memory->lock();
    QElapsedTimer waited;
    waited.start();
    // A block just created by another process is zero until its creator fills it.
    while (info()->checksum != blockChecksum()) {
        if (waited.elapsed() > kInconsistentLimitMs) {
            qWarning() << "SingleApplication: Shared memory block has been in an inconsistent "
                          "state from more than 5s. Assuming primary instance failure.";
            initializeMemoryBlock();
            break;
        }
        memory->unlock();
        QThread::msleep(50 + QRandomGenerator::global()->bounded(100));
        memory->lock();
    }

    InstancesInfo *inst = info();
    if (inst->primary && !SingleApplicationOs::processAlive(inst->primaryPid)) {
        qWarning() << "SingleApplication: the primary instance" << inst->primaryPid
                   << "is gone; taking over.";
        inst->primary = false;
    } else if (inst->primary && !connectToPrimary()) {
        qWarning() << "SingleApplication: the primary instance" << inst->primaryPid
                   << "does not answer; taking over.";
        inst->primary = false;
    }
    if (!inst->primary) {
        startPrimary();
    } else if (!allowSecondary) {
        announce(NewInstance);
        exitCode = 0;
    } else {
        inst->secondary += 1;
        inst->checksum = blockChecksum();
        instanceNumber = inst->secondary;
        secondary = true;
        if (options.testFlag(SingleApplication::SecondaryNotification))
            announce(SecondaryInstance);
    }
    memory->unlock();
}

void SingleApplicationPrivate::startPrimary()
{
    // A crashed primary leaves its socket file behind.
    QLocalServer::removeServer(socketPath);
    server = new QLocalServer(this);
    const bool userOnly = options.testFlag(SingleApplication::User);
    server->setSocketOptions(userOnly ? QLocalServer::UserAccessOption
                                      : QLocalServer::WorldAccessOption);
    if (!server->listen(socketPath)) {
        qWarning() << "SingleApplication: cannot listen:" << server->errorString();
    } else if (userOnly && !SingleApplicationOs::restrictToOwner(server->fullServerName())) {
        qWarning() << "SingleApplication: cannot make" << server->fullServerName()
                   << "private; not listening.";
        server->close();
    }
    connect(server, &QLocalServer::newConnection, this, &SingleApplicationPrivate::newConnections);
    info()->primary = true;
    info()->primaryPid = QCoreApplication::applicationPid();
    info()->checksum = blockChecksum();
    instanceNumber = 0;
    primary = true;
}

bool SingleApplicationPrivate::connectToPrimary()
{
    if (!socket)
        socket = new QLocalSocket(this);
    if (socket->state() == QLocalSocket::UnconnectedState
        || socket->state() == QLocalSocket::ClosingState)
        socket->connectToServer(socketPath);
    if (socket->state() == QLocalSocket::ConnectingState)
        socket->waitForConnected(timeout);
    return socket->state() == QLocalSocket::ConnectedState;
}

bool SingleApplicationPrivate::announce(ConnectionType type)
{
    if (!connectToPrimary())
        return false;
    QByteArray body;
    QDataStream writeStream(&body, QIODevice::WriteOnly);
    writeStream.setVersion(kStreamVersion);
    writeStream << blockServerName.toLatin1() << qint8(type) << qint32(instanceNumber);
    writeStream << qChecksum(body.constData(), uint(body.length()));

    QByteArray header;
    QDataStream headerStream(&header, QIODevice::WriteOnly);
    headerStream.setVersion(kStreamVersion);
    headerStream << quint64(body.length());

    socket->write(header);
    socket->write(body);
    socket->flush();
    return socket->bytesToWrite() == 0 || socket->waitForBytesWritten(timeout);
}

void SingleApplicationPrivate::newConnections()
{
    while (QLocalSocket *sock = server->nextPendingConnection()) {
        connectionMap.insert(sock, ConnectionInfo());
        connect(sock, &QLocalSocket::readyRead, this, [this, sock] { readyRead(sock); });
        connect(sock, &QLocalSocket::aboutToClose, this, [this, sock] {
            const auto it = connectionMap.constFind(sock);
            if (it != connectionMap.constEnd() && it->stage == StageConnected
                && sock->bytesAvailable() > 0)
                emit q->receivedMessage(it->instanceId, sock->readAll());
        });
        connect(sock, &QLocalSocket::disconnected, sock, &QObject::deleteLater);
        connect(sock, &QObject::destroyed, this, [this, sock] { connectionMap.remove(sock); });
    }
}

void SingleApplicationPrivate::readyRead(QLocalSocket *sock)
{
    const auto it = connectionMap.constFind(sock);
    if (it == connectionMap.constEnd())
        return;
    switch (it->stage) {
    case StageHeader:
        readHeader(sock);
        break;
    case StageBody:
        readBody(sock);
        break;
    case StageConnected:
        emit q->receivedMessage(it->instanceId, sock->readAll());
        break;
    }
}

void SingleApplicationPrivate::readHeader(QLocalSocket *sock)
{
    if (sock->bytesAvailable() < qint64(sizeof(quint64)))
        return;
    QDataStream headerStream(sock);
    headerStream.setVersion(kStreamVersion);
    quint64 msgLen = 0;
    headerStream >> msgLen;
    if (msgLen < sizeof(quint16) || msgLen > kMaxBodyBytes) {
        sock->close();
        return;
    }
    ConnectionInfo &info = connectionMap[sock];
    info.msgLen = msgLen;
    info.stage = StageBody;
    if (sock->bytesAvailable() >= qint64(msgLen))
        readBody(sock);
}

void SingleApplicationPrivate::readBody(QLocalSocket *sock)
{
    const quint64 msgLen = connectionMap.value(sock).msgLen;
    if (sock->bytesAvailable() < qint64(msgLen))
        return;
    const QByteArray msgBytes = sock->read(qint64(msgLen));
    QDataStream readStream(msgBytes);
    readStream.setVersion(kStreamVersion);
    QByteArray latin1Name;
    qint8 type = InvalidConnection;
    qint32 instanceId = 0;
    quint16 msgChecksum = 0;
    readStream >> latin1Name >> type >> instanceId >> msgChecksum;
    const quint16 actualChecksum
        = qChecksum(msgBytes.constData(), uint(msgBytes.length() - int(sizeof(quint16))));
    if (readStream.status() != QDataStream::Ok
        || QString::fromLatin1(latin1Name.constData()) != blockServerName
        || msgChecksum != actualChecksum) {
        sock->close();
        return;
    }
    ConnectionInfo &info = connectionMap[sock];
    info.instanceId = quint32(instanceId);
    info.stage = StageConnected;

    QPointer<QLocalSocket> guard(sock);
    if (type == NewInstance
        || (type == SecondaryInstance
            && options.testFlag(SingleApplication::SecondaryNotification)))
        emit q->instanceStarted();
    if (guard && sock->bytesAvailable() > 0)
        emit q->receivedMessage(quint32(instanceId), sock->readAll());
}

SingleApplication::SingleApplication(bool allowSecondary, Options options, int timeoutMs,
                                     QObject *parent)
    : QObject(parent)
    , d(new SingleApplicationPrivate(this, options, timeoutMs))
{
    d->genBlockServerName();
    d->start(allowSecondary);
}

SingleApplication::~SingleApplication()
{
    delete d;
}

bool SingleApplication::isPrimary() const
{
    return d->primary;
}

bool SingleApplication::isSecondary() const
{
    return d->secondary;
}

quint32 SingleApplication::instanceId() const
{
    return d->instanceNumber;
}

int SingleApplication::exitCode() const
{
    return d->exitCode;
}

QString SingleApplication::blockName() const
{
    return d->blockServerName;
}

QString SingleApplication::serverPath() const
{
    return d->server ? d->server->fullServerName() : QString();
}

#include "singleapplication.moc"
