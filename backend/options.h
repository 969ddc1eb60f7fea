#pragma once

#include <string>
#include <vector>

namespace backend {

struct Options
{
    std::string listen = "127.0.0.1";
    int port = 8443;
    int serverListPort = 4430;
    int collectPort = 0; // plain-HTTP analytics collector; 0: off
    std::string cert;
    std::string key;
    std::string db;
    std::string ovpnDir;
    std::string filesDir;
    bool demo = false;
    std::string demoPassword = "quellnet-demo";
    bool debugEndpoints = false;
    // Tests choose what getip/ answers: the trimmed text of this file, read per request.
    std::string getIpReplyFile;
    std::string hostListFile;
    // A JSON file whose "update_data" replaces the stored update entries; read per request.
    std::string updatesFile;
    std::string updateKey; // Ed25519 private key (PEM) that signs update entries
    // Tests of the client's downloader: "ignore-ranges", "wrong-range" or "stall".
    std::string downloadQuirk;
    // Each account attempt costs a password hash: bounded per client address and per account.
    int attemptLimit = 30; // logins, registrations and recoveries per address and window
    int failedLoginLimit = 5; // failed logins per account e-mail and window
    int attemptWindowSeconds = 60;
    int recordLimit = 10000; // rows kept in each of the request and hit logs
};

struct ParsedCommandLine
{
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    Options options;
    std::string error;
};

// `args` excludes the program name. Accepts "--name value" and "--name=value".
ParsedCommandLine parseCommandLine(const std::vector<std::string> &args);
std::string usageText(const std::string &program);

} // namespace backend
