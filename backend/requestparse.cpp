#include "requestparse.h"

#include "textutil.h"

#include <algorithm>
#include <cstdlib>
#include <strings.h>

namespace backend {

const char kRenamedRange[] = "Quellnet-Wire-Range";

namespace {

std::optional<uint64_t> decimal(const std::string &text)
{
    if (text.empty() || text.size() > 18
        || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::strtoull(text.c_str(), nullptr, 10);
}

} // namespace

void parseHead(const std::string &head, std::string &requestLine, NameValues &headers)
{
    size_t start = 0;
    bool first = true;
    while (start < head.size()) {
        size_t end = head.find('\n', start);
        if (end == std::string::npos)
            end = head.size();
        std::string line = head.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first) {
            requestLine = line;
            first = false;
            continue;
        }
        if (line.empty())
            break;
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            headers.emplace_back(line, std::string());
        else
            headers.emplace_back(line.substr(0, colon), trim(line.substr(colon + 1)));
    }
}

std::optional<std::string> headerValue(const NameValues &headers, const std::string &name)
{
    const std::string wanted = toLower(name);
    for (const auto &[key, value] : headers) {
        if (toLower(key) == wanted)
            return value;
    }
    return std::nullopt;
}

size_t headEnd(const std::string &buffer, size_t from)
{
    for (size_t i = buffer.find('\n', from); i != std::string::npos; i = buffer.find('\n', i + 1)) {
        if (i + 1 < buffer.size() && buffer[i + 1] == '\n')
            return i + 2;
        if (i + 2 < buffer.size() && buffer[i + 1] == '\r' && buffer[i + 2] == '\n')
            return i + 3;
    }
    return std::string::npos;
}

std::string withRangeRenamed(const std::string &head)
{
    std::string out;
    size_t start = 0;
    while (start < head.size()) {
        size_t end = head.find('\n', start);
        end = end == std::string::npos ? head.size() : end + 1;
        std::string line = head.substr(start, end - start);
        if (start > 0 && line.size() > 6 && line[5] == ':'
            && strncasecmp(line.c_str(), "range", 5) == 0)
            line.replace(0, 5, kRenamedRange);
        out += line;
        start = end;
    }
    return out;
}

ByteRange byteRange(const std::string &header, uint64_t size)
{
    const size_t eq = header.find('=');
    if (eq == std::string::npos || toLower(trim(header.substr(0, eq))) != "bytes")
        return {};
    const std::string spec = trim(header.substr(eq + 1));
    const size_t dash = spec.find('-');
    if (dash == std::string::npos)
        return {};
    const std::optional<uint64_t> from = decimal(spec.substr(0, dash));
    const std::optional<uint64_t> to = decimal(spec.substr(dash + 1));
    if (!from) {
        if (dash != 0 || !to)
            return {};
        if (*to == 0 || size == 0)
            return {ByteRange::Unsatisfiable};
        return {ByteRange::Part, size - std::min(*to, size), size - 1};
    }
    if (dash + 1 < spec.size() && (!to || *to < *from))
        return {};
    if (*from >= size)
        return {ByteRange::Unsatisfiable};
    return {ByteRange::Part, *from, to ? std::min(*to, size - 1) : size - 1};
}

} // namespace backend
