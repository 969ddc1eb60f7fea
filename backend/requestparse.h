#pragma once

#include "store.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Reading of raw request heads, as they came over the wire: no sockets, no HTTP library.
namespace backend {

// Splits a raw request head into its request line and header lines, in wire order.
void parseHead(const std::string &head, std::string &requestLine, NameValues &headers);

// The value of the first header of that name, the name in any case.
std::optional<std::string> headerValue(const NameValues &headers, const std::string &name);

// Just past the empty line that ends a head starting at `from`; npos while none has come.
size_t headEnd(const std::string &buffer, size_t from);

// What the HTTP library is given in place of a Range header line (see CapturingServer).
extern const char kRenamedRange[];
// The head with every Range header line (not the request line) renamed to kRenamedRange.
std::string withRangeRenamed(const std::string &head);

struct ByteRange
{
    enum Kind { Whole, Part, Unsatisfiable } kind = Whole;
    uint64_t first = 0;
    uint64_t last = 0;
};

// One range, "bytes=a-b", "bytes=a-" or "bytes=-n", the unit in any case, of a file of `size`
// bytes. Anything else (several ranges, garbage) asks for the whole file.
ByteRange byteRange(const std::string &header, uint64_t size);

} // namespace backend
