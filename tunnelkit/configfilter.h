#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tunnelkit {

enum class Transport { Udp, Tcp };

// The one server openvpn is sent to: the host as written (name or numeric address).
struct RemoteSpec
{
    std::string host;
    uint16_t port = 1194;
    Transport transport = Transport::Udp;
    int family = 0; // 0 either, 4 or 6 when the protocol names one
};

struct FilteredConfig
{
    bool ok = false;
    std::string error; // why the text was refused, naming the line and directive
    std::string body; // the rebuilt configuration, without the engine's trailer
    RemoteSpec remote;
    std::vector<std::string> notes; // directives accepted but left out, for the log
    int verb = -1; // the configuration's verb, -1 when it sets none
};

// Limits of what is read at all; openvpn's own line and parameter sizes.
constexpr size_t kMaxConfigBytes = 256 * 1024;
constexpr size_t kMaxLineBytes = 255;
constexpr size_t kMaxTokens = 16;

// Reads untrusted configuration text the way openvpn tokenises it and rebuilds it from the
// allowed directives only, so openvpn never parses the server's bytes. fallbackHost (the
// server address given to setconfig) is the remote when the text names none.
FilteredConfig filterConfig(const std::string &text, const std::string &fallbackHost);

// What the engine appends after the filtered body; it overrides anything before it.
struct TrailerParams
{
    std::string device; // tunnel interface name
    std::string address; // numeric server address
    uint16_t port = 0;
    Transport transport = Transport::Udp;
    std::string socketPath; // the engine's management socket, which openvpn connects to
    std::string user; // the only user openvpn talks management with; empty: any
    uint32_t mark = 0;
    int verb = -1; // the configuration's; the trailer raises it to at least 3
};
std::string configTrailer(const TrailerParams &params);

// Splits one configuration line as openvpn does; false (with reason) on malformed input.
bool tokenizeLine(const std::string &line, std::vector<std::string> *tokens, std::string *reason);

// Whether a filtered body may hold the directive: on a line of its own (not those the filter
// consumes into the endpoint, unwraps, replaces or drops), or as an inline <name> block.
bool isAllowedDirective(const std::string &name, bool asInlineBlock);

// A host name or numeric address that may be handed to a resolver and to openvpn.
bool isPlausibleHost(const std::string &host);

} // namespace tunnelkit
