// The backend's reading of raw requests: the head splits the same way written out again, the
// Range renaming changes nothing but those names, a byte range stays inside the file and reads
// back the same, and decoded form, header and JSON values survive the backend's own encoders.
#include "fuzzsupport.h"
#include "requestparse.h"
#include "textutil.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace backend;

namespace {

struct Head
{
    std::string requestLine;
    NameValues headers;
    bool operator==(const Head &o) const
    {
        return requestLine == o.requestLine && headers == o.headers;
    }
};

Head parsed(const std::string &text)
{
    Head head;
    parseHead(text, head.requestLine, head.headers);
    return head;
}

std::string percentEncoded(const std::string &s)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s)
        out += std::string("%") + hex[c >> 4] + hex[c & 15];
    return out;
}

void checkForm(const std::string &text)
{
    const NameValues pairs = parseFormText(text);
    std::string again;
    for (const auto &[name, value] : pairs)
        again += (again.empty() ? "" : "&") + percentEncoded(name) + '=' + percentEncoded(value);
    FUZZ_CHECK(parseFormText(again) == pairs);
}

// One JSON value as the only member of the only object of an array named "a".
std::optional<JsonMember> member(const std::string &raw)
{
    const auto doc = jsonObjectArray("{\"a\":[{\"m\":" + raw + "}]}", "a");
    if (!doc || doc->size() != 1 || (*doc)[0].size() != 1)
        return std::nullopt;
    return (*doc)[0][0];
}

// jsonString() writes any bytes as a string that the backend and QJsonDocument read back with
// every UTF-8 sequence as its character and any other byte as the Latin-1 one.
void checkJsonString(const std::string &text)
{
    const QByteArray bytes = QByteArray::fromStdString(text);
    QString want;
    for (int i = 0, length = 1; i < bytes.size(); i += length) {
        length = 1;
        for (int n = 2; n <= 4 && length == 1 && uchar(bytes[i]) >= 0x80; ++n) {
            const QString c = QString::fromUtf8(bytes.constData() + i, qMin(n, bytes.size() - i));
            length = c.toUcs4().size() == 1 && c.toUtf8() == bytes.mid(i, n) ? n : 1;
        }
        want += length > 1 ? QString::fromUtf8(bytes.constData() + i, length)
                           : QString(QChar(uchar(bytes[i])));
    }
    const std::string json = jsonString(text);
    FUZZ_CHECK(QJsonDocument::fromJson("[" + QByteArray::fromStdString(json) + "]").array().at(0)
               == want);
    const std::optional<JsonMember> m = member(json);
    FUZZ_CHECK(m && m->text && QString::fromStdString(*m->text) == want);
}

void checkJson(const std::string &body)
{
    const auto doc = jsonObjectArray(body, "update_data");
    if (!doc)
        return;
    for (const JsonMembers &entry : *doc) {
        for (const JsonMember &m : entry) {
            const std::optional<JsonMember> again = member(m.raw);
            FUZZ_CHECK(again && again->raw == m.raw && again->text == m.text);
            checkJsonString(m.name);
            if (m.text)
                checkJsonString(*m.text);
        }
    }
}

void checkRange(const std::string &header)
{
    for (uint64_t size : {uint64_t(0), uint64_t(1), uint64_t(1000), uint64_t(1) << 40}) {
        const ByteRange r = byteRange(header, size);
        if (r.kind != ByteRange::Part)
            continue;
        FUZZ_CHECK(r.first <= r.last && r.last < size);
        const ByteRange again
            = byteRange("bytes=" + std::to_string(r.first) + '-' + std::to_string(r.last), size);
        FUZZ_CHECK(again.kind == r.kind && again.first == r.first && again.last == r.last);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string input = fuzz::text(data, size);
    const size_t end = headEnd(input, 0);
    const std::string head = end == std::string::npos ? input : input.substr(0, end);
    const Head h = parsed(head);

    // Written out again, the head splits the same; the capture holds all the parser reads.
    std::string written = h.requestLine + "\r\n";
    for (const auto &[name, value] : h.headers)
        written += name + ": " + value + "\r\n";
    FUZZ_CHECK(parsed(written + "\r\n") == h);
    if (end != std::string::npos) {
        FUZZ_CHECK(parsed(input) == h);
        // A Range line without a colon may keep its name; no other name changes.
        const Head renamed = parsed(withRangeRenamed(head));
        FUZZ_CHECK(renamed.requestLine == h.requestLine
                   && renamed.headers.size() == h.headers.size());
        for (size_t i = 0; i < h.headers.size(); ++i) {
            const bool range = toLower(h.headers[i].first) == "range";
            FUZZ_CHECK(renamed.headers[i].second == h.headers[i].second);
            FUZZ_CHECK(renamed.headers[i].first == h.headers[i].first
                       || (range && renamed.headers[i].first == kRenamedRange));
            FUZZ_CHECK(!range || h.headers[i].second.empty()
                       || renamed.headers[i].first == kRenamedRange);
        }
    }

    for (const auto &[name, value] : h.headers) {
        FUZZ_CHECK(headerValue(h.headers, name).has_value());
        checkJsonString(value);
        if (const std::optional<std::string> decoded = percentDecode(value)) {
            FUZZ_CHECK(percentDecode(percentEncoded(*decoded)) == decoded);
            FUZZ_CHECK(value.find('%') != std::string::npos || *decoded == value);
        }
        if (const std::optional<std::string> ip = plainIpv4(value))
            FUZZ_CHECK(plainIpv4(*ip) == ip);
    }
    checkRange(headerValue(h.headers, "range").value_or(std::string()));
    const size_t question = h.requestLine.find('?');
    if (question != std::string::npos)
        checkForm(h.requestLine.substr(question + 1));
    if (end != std::string::npos) {
        checkForm(input.substr(end));
        checkJson(input.substr(end));
    }
    return 0;
}
