// filterConfig() on arbitrary text: what it accepts, filtered again, comes back unchanged,
// and holds only directives the filter itself allows.
#include "configfilter.h"
#include "fuzzsupport.h"

using namespace tunnelkit;

namespace {

// Every line of a rebuilt body names an allowed directive; inline blocks are closed.
void checkBody(const std::string &body)
{
    std::string tag;
    size_t start = 0;
    while (start < body.size()) {
        size_t end = body.find('\n', start);
        FUZZ_CHECK(end != std::string::npos);
        const std::string line = body.substr(start, end - start);
        start = end + 1;
        if (!tag.empty()) {
            if (line == "</" + tag + ">")
                tag.clear();
            continue;
        }
        std::vector<std::string> tokens;
        std::string reason;
        FUZZ_CHECK(tokenizeLine(line, &tokens, &reason));
        if (tokens.empty())
            continue;
        const std::string &name = tokens[0];
        if (tokens.size() == 1 && name.size() > 2 && name.front() == '<' && name.back() == '>') {
            tag = name.substr(1, name.size() - 2);
            FUZZ_CHECK(isAllowedDirective(tag, true));
            continue;
        }
        FUZZ_CHECK(
            isAllowedDirective(name.compare(0, 2, "--") == 0 ? name.substr(2) : name, false));
    }
    FUZZ_CHECK(tag.empty());
}

void check(const std::string &text, const std::string &fallback)
{
    const FilteredConfig first = filterConfig(text, fallback);
    if (!first.ok) {
        FUZZ_CHECK(!first.error.empty());
        return;
    }
    FUZZ_CHECK(isPlausibleHost(first.remote.host) && first.remote.port != 0);
    checkBody(first.body);
    const FilteredConfig again = filterConfig(first.body, first.remote.host);
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.body == first.body);
    FUZZ_CHECK(again.remote.host == first.remote.host);
    FUZZ_CHECK(again.verb == first.verb);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text = fuzz::text(data, size);
    check(text, std::string());
    check(text, "198.51.100.7");
    return 0;
}
