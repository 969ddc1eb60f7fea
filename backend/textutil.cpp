#include "textutil.h"

#include <arpa/inet.h>
#include <cctype>
#include <cstring>

namespace backend {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string formDecode(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0
                   && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

// Length of the valid UTF-8 sequence at text[i], or 0 when the byte does not start one.
size_t utf8SequenceLength(const std::string &text, size_t i)
{
    const auto byte = [&](size_t k) {
        return static_cast<unsigned char>(text[k]);
    };
    const unsigned char b0 = byte(i);
    size_t length = 0;
    uint32_t code = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        code = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        code = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        code = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF
        || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

void appendUtf8(std::string &out, uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Just enough JSON for documents that tests and the demo write by hand.
class JsonReader
{
public:
    explicit JsonReader(const std::string &text)
        : m_text(text)
    { }

    // Skips white space first.
    size_t pos()
    {
        while (m_pos < m_text.size()
               && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r'
                   || m_text[m_pos] == '\n'))
            ++m_pos;
        return m_pos;
    }
    bool take(char c)
    {
        if (pos() < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool peek(char c) { return pos() < m_text.size() && m_text[m_pos] == c; }
    size_t end() const { return m_pos; } // without the white space after a value

    std::optional<std::string> string()
    {
        if (!take('"'))
            return std::nullopt;
        std::string out;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size())
                return std::nullopt;
            const char e = m_text[m_pos++];
            const char *const simple = "\"\"\\\\//b\bf\fn\nr\rt\t";
            bool found = false;
            for (const char *p = simple; *p && !found; p += 2) {
                if (*p == e) {
                    out += p[1];
                    found = true;
                }
            }
            if (found)
                continue;
            std::optional<uint32_t> code = e == 'u' ? hex4() : std::nullopt;
            if (code && *code >= 0xD800 && *code < 0xDC00) {
                const bool escape = m_text.compare(m_pos, 2, "\\u") == 0;
                m_pos += escape ? 2 : 0;
                const std::optional<uint32_t> low = escape ? hex4() : std::nullopt;
                code = low && *low >= 0xDC00 && *low < 0xE000
                    ? std::optional<uint32_t>(0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00))
                    : std::nullopt;
            }
            if (!code || (*code >= 0xDC00 && *code < 0xE000))
                return std::nullopt;
            appendUtf8(out, *code);
        }
        return std::nullopt;
    }

    bool skipValue(int depth = 0)
    {
        if (depth > 32 || pos() >= m_text.size())
            return false;
        const bool object = take('{');
        if (object || take('[')) {
            const char close = object ? '}' : ']';
            if (take(close))
                return true;
            do {
                if (object && (!string() || !take(':')))
                    return false;
                if (!skipValue(depth + 1))
                    return false;
            } while (take(','));
            return take(close);
        }
        if (peek('"'))
            return string().has_value();
        for (const char *word : {"true", "false", "null"}) {
            if (m_text.compare(m_pos, std::strlen(word), word) == 0) {
                m_pos += std::strlen(word);
                return true;
            }
        }
        return number();
    }

private:
    std::optional<uint32_t> hex4()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = m_pos < m_text.size() ? hexValue(m_text[m_pos++]) : -1;
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<uint32_t>(digit);
        }
        return value;
    }
    size_t digits()
    {
        const size_t start = m_pos;
        while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
        return m_pos - start;
    }
    bool number()
    {
        if (m_pos < m_text.size() && m_text[m_pos] == '-')
            ++m_pos;
        if (!digits())
            return false;
        if (m_pos < m_text.size() && m_text[m_pos] == '.' && (++m_pos, !digits()))
            return false;
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            return digits() > 0;
        }
        return true;
    }

    const std::string &m_text;
    size_t m_pos = 0;
};

} // namespace

std::string trim(const std::string &text)
{
    const char *space = " \t\r\n\f\v";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(space);
    return text.substr(first, last - first + 1);
}

std::string toLower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::optional<std::string> percentDecode(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> parseFormText(const std::string &text)
{
    std::vector<std::pair<std::string, std::string>> out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('&', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(start, end - start);
        if (!part.empty()) {
            const size_t eq = part.find('=');
            if (eq == std::string::npos)
                out.emplace_back(formDecode(part), std::string());
            else
                out.emplace_back(formDecode(part.substr(0, eq)), formDecode(part.substr(eq + 1)));
        }
        start = end + 1;
    }
    return out;
}

std::string utcText(std::time_t when)
{
    std::tm parts{};
    gmtime_r(&when, &parts);
    char buffer[32];
    const size_t n = std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &parts);
    return std::string(buffer, n);
}

std::string utcNowText()
{
    return utcText(std::time(nullptr));
}

std::string jsonString(const std::string &text)
{
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '\r') {
            out += "\\r";
            ++i;
        } else if (c == '\t') {
            out += "\\t";
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (const size_t length = utf8SequenceLength(text, i)) {
            out.append(text, i, length);
            i += length;
        } else {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
            ++i;
        }
    }
    out += '"';
    return out;
}

std::optional<std::vector<JsonMembers>> jsonObjectArray(const std::string &document,
                                                        const std::string &arrayName)
{
    JsonReader in(document);
    std::optional<std::vector<JsonMembers>> result;
    if (!in.take('{'))
        return std::nullopt;
    if (!in.take('}')) {
        do {
            const std::optional<std::string> name = in.string();
            if (!name || !in.take(':'))
                return std::nullopt;
            if (*name != arrayName || !in.peek('[')) {
                if (!in.skipValue())
                    return std::nullopt;
                continue;
            }
            in.take('[');
            result.emplace();
            if (in.take(']'))
                continue;
            do {
                JsonMembers &members = result->emplace_back();
                if (!in.take('{'))
                    return std::nullopt;
                if (in.take('}'))
                    continue;
                do {
                    JsonMember member;
                    const std::optional<std::string> memberName = in.string();
                    if (!memberName || !in.take(':'))
                        return std::nullopt;
                    member.name = *memberName;
                    const size_t start = in.pos();
                    if (in.peek('"') ? !(member.text = in.string()) : !in.skipValue(1))
                        return std::nullopt;
                    member.raw = document.substr(start, in.end() - start);
                    members.push_back(std::move(member));
                } while (in.take(','));
                if (!in.take('}'))
                    return std::nullopt;
            } while (in.take(','));
            if (!in.take(']'))
                return std::nullopt;
        } while (in.take(','));
        if (!in.take('}'))
            return std::nullopt;
    }
    return in.pos() == document.size() ? result : std::nullopt;
}

std::string htmlEscape(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<std::string> plainIpv4(const std::string &address)
{
    std::string candidate = address;
    const std::string mapped = "::ffff:";
    if (toLower(candidate.substr(0, mapped.size())) == mapped)
        candidate = candidate.substr(mapped.size());
    in_addr parsed{};
    if (inet_pton(AF_INET, candidate.c_str(), &parsed) != 1)
        return std::nullopt;
    char buffer[INET_ADDRSTRLEN];
    if (!inet_ntop(AF_INET, &parsed, buffer, sizeof buffer))
        return std::nullopt;
    return std::string(buffer);
}

} // namespace backend
