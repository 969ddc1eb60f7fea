#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// The fakes run below quellnet-helper, whose environment is fixed when the test starts it:
// a test steers them through KEY=VALUE lines in the file TUNNELKIT_FAKE_ENV instead.
inline void loadFakeEnvironment()
{
    const char *path = std::getenv("TUNNELKIT_FAKE_ENV");
    FILE *f = path ? std::fopen(path, "r") : nullptr;
    if (!f)
        return;
    char line[512];
    while (std::fgets(line, sizeof line, f)) {
        std::string s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
            s.pop_back();
        const size_t eq = s.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        setenv(s.substr(0, eq).c_str(), s.substr(eq + 1).c_str(), 1);
    }
    std::fclose(f);
}
