#pragma once

#include <QByteArray>
#include <QString>

// Deployment values: compiled in from CMake cache variables. The hosts, the collector URL
// and an extra CA file may be overridden at run time through the environment (tests and
// private deployments); this is the only place that reads those variables.
namespace Deploy {

QString backendHost(); // QUELLNET_BACKEND_HOST
QString serverListHost(); // QUELLNET_SERVERLIST_HOST
QString webHost(); // QUELLNET_WEB_HOST
QString collectUrl(); // QUELLNET_COLLECT_URL
QString collectUrlPlain();
QString caFile(); // QUELLNET_CA_FILE, empty when unset

QString webUrl(); // "https://" + webHost() + "/"
QString helpDeskUrl();
QString supportEmail();
QString gaProperty();
QString gaSiblingProperty();
QByteArray identity();
QByteArray secretKey(); // 16 bytes
QByteArray ovpnKey(); // 15 characters
// The update document's id for this build, used while the appId setting is empty.
QString appId();
// Ed25519 key (32 bytes) that signs update packages; compiled in only, never overridden.
QByteArray updatePublicKey();

} // namespace Deploy
