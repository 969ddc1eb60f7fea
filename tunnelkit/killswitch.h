#pragma once

#include "configfilter.h"

#include <QHostAddress>
#include <QList>
#include <QString>

namespace tunnelkit {

// openvpn's own packets carry this mark (its `mark` option, which needs CAP_NET_ADMIN): the
// kill switch lets only them reach the VPN server outside the tunnel.
constexpr quint32 kOpenvpnMark = 0x716e6574;

enum class FirewallState { Blocked, Connecting, Connected };

// What the table lets through; turned into rules by killSwitchRuleset().
//
// killSwitch true (level 3): every chain drops what no rule accepts. killSwitch false: the
// chains accept by default and only the leak protection below drops; that table exists only
// while a tunnel is up or coming up (state Connecting or Connected).
//
// Leak protection, in both modes: DNS (udp/tcp 53, tcp 853) leaves only through the tunnel or
// to loopback, the local-network allowance never covers it; IPv6 leaves only through the
// tunnel, link-local or as neighbour discovery (plus, with the kill switch, the local IPv6
// ranges when allowLan); packets to a tunnel address arriving on an interface other than the
// tunnel or loopback are dropped; forwarded traffic obeys the same rules as the host's own.
struct FirewallPolicy
{
    FirewallState state = FirewallState::Blocked;
    bool killSwitch = true;
    bool allowLan = false;
    QHostAddress serverAddress; // Connecting and Connected
    quint16 serverPort = 0;
    Transport transport = Transport::Udp;
    // The session's tunnel interface: known from Connecting on (the engine names it before
    // openvpn starts), required for Connecting and Connected.
    QString tunnelInterface;
    // The tunnel's own addresses (Connected; may be empty until openvpn reported them).
    QList<QHostAddress> tunnelAddresses;
};

// nft script replacing table inet quellnet in one transaction; killSwitchRemoval() for Blocked
// without the kill switch. Empty when the policy cannot be written safely (bad address, port or
// interface name): the caller keeps what is in place.
QString killSwitchRuleset(const FirewallPolicy &policy);
// nft script taking the table installed for the Connecting state of a policy to its Connected
// state: it only adds rules, the drops for the tunnel's addresses arriving elsewhere (the
// tunnel's accepts are there from Connecting on). Replacing the table would make the kernel
// wait for the deleted rules' readers (about 10 ms, right before CONNECTED). "# nothing to
// add\n" when there is none; empty for a bad interface or address.
QString killSwitchTunnelRules(const FirewallPolicy &policy);
// nft script deleting table inet quellnet; harmless when the table does not exist.
QString killSwitchRemoval();
bool isValidInterfaceName(const QString &name);

} // namespace tunnelkit
