#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace backend {

std::string trim(const std::string &text);
std::string toLower(std::string text);

// Strict percent-decoding: "%" must be followed by two hex digits; "+" stays "+".
std::optional<std::string> percentDecode(const std::string &text);

// application/x-www-form-urlencoded, in the order given; "+" is a space; malformed escapes
// are kept as they stand rather than dropping the parameter.
std::vector<std::pair<std::string, std::string>> parseFormText(const std::string &text);

// "yyyy-MM-dd HH:mm:ss" in UTC.
std::string utcText(std::time_t when);
std::string utcNowText();

// A JSON string literal. Invalid UTF-8 bytes are written as \u00XX (their Latin-1 reading)
// so that the document stays valid whatever bytes a client sent.
std::string jsonString(const std::string &text);

std::string htmlEscape(const std::string &text);

// Four dotted decimal parts; also accepts the IPv4-mapped IPv6 form and returns it bare.
std::optional<std::string> plainIpv4(const std::string &address);

} // namespace backend
