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

// A member of a JSON object: the value exactly as written and, for a string, its text.
struct JsonMember
{
    std::string name;
    std::string raw;
    std::optional<std::string> text;
};
using JsonMembers = std::vector<JsonMember>;

// The objects of the array `arrayName` in a document's top-level object, members in document
// order; nullopt unless the document is valid JSON of that shape.
std::optional<std::vector<JsonMembers>> jsonObjectArray(const std::string &document,
                                                        const std::string &arrayName);

std::string htmlEscape(const std::string &text);

// Four dotted decimal parts; also accepts the IPv4-mapped IPv6 form and returns it bare.
std::optional<std::string> plainIpv4(const std::string &address);

} // namespace backend
