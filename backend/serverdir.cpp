#include "serverdir.h"

#include "backendcrypto.h"
#include "textutil.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace backend {

namespace {

bool readSmallFile(const fs::path &path, std::string &out, std::string &error)
{
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    if (size > kMaxConfigBytes) {
        error = "larger than " + std::to_string(kMaxConfigBytes) + " bytes";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open";
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        error = "read error";
        return false;
    }
    out = buffer.str();
    if (out.size() > kMaxConfigBytes) {
        error = "larger than " + std::to_string(kMaxConfigBytes) + " bytes";
        return false;
    }
    return true;
}

void applySidecar(const std::string &text, ServerEntry &entry)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = toLower(trim(line.substr(0, eq)));
        const std::string value = trim(line.substr(eq + 1));
        if (key == "name")
            entry.name = value;
        else if (key == "country")
            entry.country = value;
        else if (key == "ip")
            entry.ip = value;
    }
}

std::vector<std::string> tokens(const std::string &line)
{
    std::vector<std::string> out;
    std::string current;
    bool inToken = false;
    char quote = 0;
    for (const char c : line) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                current += c;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            inToken = true;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            if (inToken)
                out.push_back(current);
            current.clear();
            inToken = false;
        } else {
            current += c;
            inToken = true;
        }
    }
    if (inToken)
        out.push_back(current);
    return out;
}

} // namespace

void nameFromFileBase(const std::string &base, std::string &name, std::string &country)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t dash = base.find('-', start);
        const std::string part
            = base.substr(start, dash == std::string::npos ? dash : dash - start);
        if (!part.empty())
            parts.push_back(part);
        if (dash == std::string::npos)
            break;
        start = dash + 1;
    }
    const auto isCountry = [](const std::string &part) {
        return part.size() == 2 && std::isalpha(static_cast<unsigned char>(part[0]))
            && std::isalpha(static_cast<unsigned char>(part[1]));
    };
    if (parts.size() < 2 || !isCountry(parts.front())) {
        country.clear();
        name = base;
        return;
    }
    country = parts.front();
    for (char &c : country)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    name.clear();
    for (size_t i = 1; i < parts.size(); ++i) {
        std::string word = parts[i];
        word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
        if (!name.empty())
            name += ' ';
        name += word;
    }
}

std::string remoteHost(const std::string &config)
{
    std::istringstream lines(config);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> words = tokens(line);
        if (words.empty() || words[0][0] == '#' || words[0][0] == ';')
            continue;
        std::string directive = words[0];
        if (directive.rfind("--", 0) == 0)
            directive = directive.substr(2);
        // A byte-order mark may sit in front of the first directive.
        if (directive.rfind("\xEF\xBB\xBF", 0) == 0)
            directive = directive.substr(3);
        if (directive == "remote" && words.size() >= 2)
            return words[1];
    }
    return {};
}

bool loadServerFolder(const std::string &folder, std::vector<ServerEntry> &entries,
                      std::vector<std::string> &warnings)
{
    entries.clear();
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        warnings.push_back(folder + ": " + ec.message());
        return false;
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry &item : it) {
        if (item.path().extension() == ".ovpn" && item.is_regular_file(ec))
            files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());

    for (const fs::path &path : files) {
        ServerEntry entry;
        entry.file = path.filename().string();
        std::string error;
        if (!readSmallFile(path, entry.config, error)) {
            warnings.push_back(entry.file + ": " + error + ", skipped");
            continue;
        }
        nameFromFileBase(path.stem().string(), entry.name, entry.country);
        entry.ip = remoteHost(entry.config);

        fs::path sidecar = path;
        sidecar.replace_extension(".info");
        if (fs::is_regular_file(sidecar, ec)) {
            std::string text;
            if (readSmallFile(sidecar, text, error))
                applySidecar(text, entry);
            else
                warnings.push_back(sidecar.filename().string() + ": " + error + ", ignored");
        }
        if (entry.ip.empty()) {
            warnings.push_back(entry.file
                               + ": no \"remote\" line and no ip= in a sidecar, skipped");
            continue;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

std::string serverListJson(const std::vector<ServerEntry> &entries, const std::string &keyText)
{
    std::string out = "{\"Servers\":[";
    bool first = true;
    for (const ServerEntry &entry : entries) {
        if (!first)
            out += ',';
        first = false;
        out += "{\"Ip\":" + jsonString(entry.ip) + ",\"Name\":" + jsonString(entry.name)
            + ",\"Country\":" + jsonString(entry.country)
            + ",\"Ovpn\":" + jsonString(base64Encode(encryptConfig(entry.config, keyText))) + '}';
    }
    out += "]}";
    return out;
}

} // namespace backend
