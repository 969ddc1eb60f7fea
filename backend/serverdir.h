#pragma once

#include <string>
#include <vector>

namespace backend {

// One *.ovpn file of the server folder.
struct ServerEntry
{
    std::string file; // file name without folder
    std::string ip; // from the first "remote" directive, or "ip=" of the sidecar
    std::string name;
    std::string country;
    std::string config; // the file's bytes, unchanged
};

// Files larger than this are skipped: a tunnel configuration is a few kilobytes.
constexpr size_t kMaxConfigBytes = 1024 * 1024;

// Reads every *.ovpn of `folder`, sorted by file name. A sidecar "<base>.info" with
// "name=", "country=" and "ip=" lines overrides what the file name and the configuration
// give. Files that cannot be used are skipped with a line in `warnings`. Returns false only
// when the folder itself cannot be read.
bool loadServerFolder(const std::string &folder, std::vector<ServerEntry> &entries,
                      std::vector<std::string> &warnings);

// "jp-tokyo-1" gives country "JP" and name "Tokyo 1"; without a two-letter prefix the
// country stays empty and the whole base is the name.
void nameFromFileBase(const std::string &base, std::string &name, std::string &country);

// The host of the first "remote" directive (openvpn's "--remote" form included), or empty.
std::string remoteHost(const std::string &config);

// {"Servers":[{"Ip":..,"Name":..,"Country":..,"Ovpn":base64(AES(config))},...]}
std::string serverListJson(const std::vector<ServerEntry> &entries, const std::string &keyText);

} // namespace backend
