#pragma once

#include "configfilter.h"

#include <QHostAddress>
#include <QString>

namespace tunnelkit {

// openvpn's own packets carry this mark (its `mark` option, which needs CAP_NET_ADMIN): the
// kill switch lets only them reach the VPN server outside the tunnel.
constexpr quint32 kOpenvpnMark = 0x716e6574;

enum class FirewallState { Blocked, Connecting, Connected };

// What the kill switch lets through; turned into rules by killSwitchRuleset().
struct FirewallPolicy
{
    FirewallState state = FirewallState::Blocked;
    bool allowLan = false;
    QHostAddress serverAddress; // Connecting and Connected
    quint16 serverPort = 0;
    Transport transport = Transport::Udp;
    QString tunnelInterface; // Connected
};

// nft script replacing table inet quellnet in one transaction. Empty when the policy cannot
// be written safely (bad address, port or interface name): the caller keeps what is in place.
QString killSwitchRuleset(const FirewallPolicy &policy);
// nft script taking the table installed for the Connecting state of a policy to its Connected
// state: it only adds the tunnel's rules. Replacing the table would make the kernel wait for
// the deleted rules' readers (about 10 ms, right before CONNECTED). Empty for a bad interface.
QString killSwitchTunnelRules(const FirewallPolicy &policy);
// nft script deleting table inet quellnet; harmless when the table does not exist.
QString killSwitchRemoval();
bool isValidInterfaceName(const QString &name);

} // namespace tunnelkit
