#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

// The few operating-system facts the engine needs (system_linux.cpp).
namespace tunnelkit::os {

bool runningAsRoot();
// Name of the effective user; empty when it has none.
QString userName();
qint64 processId();
uint effectiveUserId();
// True while a process with that id exists (also one we may not signal).
bool processAlive(qint64 pid);

// Ends the process pid (SIGTERM, then SIGKILL after 2 s) if it is an openvpn; true if it ran.
bool endStrayOpenvpn(qint64 pid);

// The interface the kernel would send a packet to this address on; false if it has no route.
bool routeInterface(const QHostAddress &address, QString *interface);

// Process and user at the other end of a connected Unix socket, as the kernel recorded them
// when it connected; false when they cannot be had.
bool peerCredentials(qintptr socket, qint64 *pid, uint *uid);

// Opens the tun device (/dev/net/tun) read/write and closes it again; false with the reason.
// *missing: the failure is one that loading the tun module can cure (no node, no driver).
bool tunDeviceUsable(QString *why, bool *missing);
// Runs `modprobe tun` (fixed arguments, at most 10 s); false with the reason.
bool loadTunModule(QString *why);
// Interfaces in this network namespace named like the engine's tunnels ("qnet" and digits).
QStringList tunnelInterfaces();
// Deletes a tun interface no process holds open (one left persistent); *busy when a process
// still holds it (then it is left alone).
bool removeTunInterface(const QString &name, bool *busy, QString *why);

// A non-blocking pipe that wakes the engine thread: fds[0] is read, fds[1] written.
bool openWakePipe(int fds[2]);
void wake(int writeFd);
// Reads everything written so far.
void drainWake(int readFd);
void closeWakePipe(int fds[2]);

} // namespace tunnelkit::os
